// KesPanelHands: a person's gestures on the widgets of a panel, one method per gesture. The
// session driver makes every user command through a pair of hands: the toolkit's own
// (KesPanelToolkitHands, headless: the widgets' User... actions) or a window's, which make the
// same gestures as real events on the widgets that mirror the panel (kes-panel --via-qt).
//
// Each gesture answers whether the widget took it: false when the widget (or a widget above
// it) is hidden or insensitive, as the toolkit refuses a person. The widget may be gone after
// the gesture (a dialog closed by its OK).
//
// Typing without confirming (Keys) puts the text into the field and nothing into the toolkit:
// the text reaches the toolkit, as one typed text, when the person leaves the field
// (FinishTyping, which the driver calls before any other gesture and before the focus moves).
// A pending text is dropped when its field is destroyed, when the program shows another text
// in it, or when the field stops taking input.
#pragma once

#include "platform/KesDialog.h"

#include <memory>
#include <string>
#include <vector>

class KesDlgCombo;
class KesDlgDialog;
class KesDlgPushButton;
class KesDlgPushItem;
class KesDlgScrollBar;
class KesDlgSelectorList;
class KesDlgSpinner;
class KesDlgStateButton;

class KesPanelHands {
public:
    virtual ~KesPanelHands() = default;

    // Types `text` into an editor's, an editable combo's or a spinner's field, replacing what
    // it shows, and confirms it (Return).
    virtual bool Type(KesDialog& field, const std::string& text) = 0;
    // Types `text` at the end of such a field without confirming.
    virtual bool Keys(KesDialog& field, const std::string& text) = 0;
    // Leaves the field typed into with Keys: its text reaches the toolkit. Nothing when no
    // text is pending.
    virtual void FinishTyping() = 0;
    // Moves the keyboard focus to `widget`.
    virtual bool Focus(KesDialog& widget) = 0;

    virtual bool SetValue(KesDlgSpinner& spinner, double value) = 0; // typed and confirmed
    virtual bool Step(KesDlgSpinner& spinner, int clicks) = 0;       // the arrows
    virtual bool SelectRow(KesDlgCombo& combo, int row) = 0;
    virtual bool Drop(KesDlgCombo& combo) = 0; // opens the list
    virtual bool Click(KesDlgStateButton& button) = 0;
    virtual bool Press(KesDlgPushButton& button) = 0;
    virtual bool Scroll(KesDlgScrollBar& bar, int position) = 0;
    virtual bool Drag(KesDlgScrollBar& bar, int position) = 0; // the box, held
    virtual bool SelectRows(KesDlgSelectorList& list, const std::vector<int>& rows) = 0;
    virtual bool Activate(KesDlgPushItem& item) = 0; // a context menu item
    virtual bool Close(KesDlgDialog& dialog, bool ok) = 0;

    // Called after every command: lets the hands bring their window up to date.
    virtual void Settle() {}
};

// The toolkit's own hands: every gesture is the widget's User... action.
class KesPanelToolkitHands final : public KesPanelHands {
public:
    KesPanelToolkitHands();
    ~KesPanelToolkitHands() override;
    KesPanelToolkitHands(const KesPanelToolkitHands&) = delete;
    KesPanelToolkitHands& operator=(const KesPanelToolkitHands&) = delete;

    bool Type(KesDialog& field, const std::string& text) override;
    bool Keys(KesDialog& field, const std::string& text) override;
    void FinishTyping() override;
    bool Focus(KesDialog& widget) override;
    bool SetValue(KesDlgSpinner& spinner, double value) override;
    bool Step(KesDlgSpinner& spinner, int clicks) override;
    bool SelectRow(KesDlgCombo& combo, int row) override;
    bool Drop(KesDlgCombo& combo) override;
    bool Click(KesDlgStateButton& button) override;
    bool Press(KesDlgPushButton& button) override;
    bool Scroll(KesDlgScrollBar& bar, int position) override;
    bool Drag(KesDlgScrollBar& bar, int position) override;
    bool SelectRows(KesDlgSelectorList& list, const std::vector<int>& rows) override;
    bool Activate(KesDlgPushItem& item) override;
    bool Close(KesDlgDialog& dialog, bool ok) override;

private:
    class Pending; // the text typed and not confirmed, watched through the toolkit's observers
    std::unique_ptr<Pending> pending_;
};
