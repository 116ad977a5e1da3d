// KesQtHands: a person's gestures made as real Qt events on the widgets of a Qt view of a panel
// (kes-panel --via-qt), and the check that the view mirrors the panel.
//
// The gestures reach the toolkit only through the view, exactly as a person's do: keys typed
// into a field and Return, a click on a button, Space on a check or radio button, a context
// menu popped up by a secondary click and its item clicked, a dialog's OK or Cancel button
// clicked, a spin box's arrows, a combo's list opened. Where a person picks among lines or
// moves a scroll bar, the hands give the Qt widget the same single signal its own mouse
// handling gives (QComboBox::activated, QListWidget::itemSelectionChanged, the scroll bar's
// action and slider signals), so that one gesture stays one toolkit action on both routes.
// Each gesture answers whether the toolkit widget takes input, as the toolkit's refusal does.
//
// Requirements: a QApplication; the view's top widget shown (offscreen is enough) so that the
// keyboard focus moves as in a window.
#pragma once

#include "tools/KesPanelChecks.h"
#include "tools/KesPanelHands.h"

#include <QtCore/QPointer>

class KesQtPanelView;
class QLineEdit;
class QWidget;

class KesQtHands final : public KesPanelHands {
public:
    // `view` mirrors `root` (the panel's frame); both outlive the hands.
    KesQtHands(KesQtPanelView& view, const KesDialog& root);

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
    // Deletes the Qt objects the view let go and handles what the gestures posted.
    void Settle() override;

    // The first way the window is out of step with the panel, or an empty fault: every
    // toolkit widget under the root has exactly one mirror, which shows its state (text or
    // value, selection, check state, sensitivity, visibility, lines, scroll position, title);
    // no mirror is left for a destroyed widget; the focused Qt widget, if any, mirrors a live
    // toolkit widget.
    KesPanelFault CheckMirrors() const;

private:
    QLineEdit* LineEditOf(const KesDialog& field) const;
    QWidget* KeysReceiver(const KesDialog& field, QLineEdit* edit) const;
    // The focus leaves `edit`: it finishes editing.
    static void Leave(QLineEdit* edit);

    KesQtPanelView& view_;
    const KesDialog& root_;
    QPointer<QLineEdit> typedInto_; // the field typed into with Keys, until left
};
