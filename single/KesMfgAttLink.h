// KesMfgAttLink: a push button standing for a group of values edited in a sub-dialog.
//
// Pressing the button sends a KesMfgAttNotifyPB to the parent frame, whose owner opens the
// sub-dialog. The owner then hands the edited values over as a complete set of value vectors
// (the seven-argument SetAttValue), which the attribute keeps and relays, whole and unchanged,
// into the caller's vectors on every Output for its group and every GetAttValue: any number of
// value records of any types under one panel entry.
//
// The attribute takes from the base its name, label, group number and parent frame only: no
// option check button, no label widget, no value comparison, no to-be-defined flag. Output and
// GetAttValue do not need Display.
//
// Ownership: the six link vectors are created by the seven-argument SetAttValue, replaced
// whole by the next one and deleted with the attribute; either all six exist or none does.
//
// Trace: while GetDebug("KesMfgAttLink") returns exactly 1 (asked at every use), Display writes
// "iconname:" followed by the icon name and ":end", and a press or a modification writes a
// framed block naming the attribute.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgLabel.h"
#include "platform/KesDlgPushButton.h"

#include <memory>

class KesMfgAttLink : public KesMfgAttribute {
public:
    // An empty icon name: the push button shows no icon.
    KesMfgAttLink(KesUnicodeString name, KesUnicodeString label, KesDlgFrame* parent,
                  KesString iconName, int group);
    // Deletes the link vectors that exist.
    ~KesMfgAttLink() override;

    // Builds the push button "pb" (with the icon, if any; no title, the attribute's label as
    // its caption) and the link label "label", once.
    void Display() override;
    // For its group and once values have been handed over: appends the whole of each link
    // vector to the argument of the same kind. Nothing when a vector the link vectors need
    // (names, type codes and counts, and each value vector that holds values) is null.
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    // Writes the group number (when `group` is not null) and relays the link vectors as Output
    // does; before any values were handed over, appends the placeholder record: the name,
    // type code 1 and the count 0.
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Ignored: the link takes its values through the seven-argument SetAttValue.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // After Display: one help text and one short help text (the first of each non-empty list)
    // go to the push button.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;
    // After Display: an icon name for the link label; the empty name clears its title. The
    // push button keeps its icon.
    void SetIconName(KesString name) override;

    // Replaces the link vectors by copies of the given ones. Mind the order: the value counts
    // come before the type codes, the reverse of Output. A null vector leaves its link vector
    // empty; vectors of unequal lengths are kept as given. `flag` is not used; nothing is sent
    // and no widget changes.
    virtual void SetAttValue(KesListValKesUnicodeString* names, KesRawCollint* counts,
                             KesRawCollint* typeCodes, KesRawCollint* ints, KesRawColldouble* reals,
                             KesListValKesUnicodeString* texts, int flag);
    // Callback of the push button: sends a KesMfgAttNotifyPB to the parent frame.
    virtual void AttributeActivated(KesCommand* sender, KesNotification* notification, void** data);
    // Sends a KesMfgAttNotifyModif to the parent frame; bound to no widget, for callers.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    bool HasLinkValues() const { return names_ != nullptr; }
    const KesString& GetButtonIconName() const { return iconName_; }
    KesDlgPushButton* GetPushButtonWidget() const { return pushButton_; }
    KesDlgLabel* GetLinkLabel() const { return linkLabel_; }

private:
    void DeleteLinkVectors();
    // Appends the link vectors to the caller's vectors (all or nothing).
    void Relay(KesListValKesUnicodeString* names, KesRawCollint* typeCodes, KesRawCollint* counts,
               KesRawCollint* ints, KesRawColldouble* reals,
               KesListValKesUnicodeString* texts) const;
    // Sends `notification` to the parent frame, then writes the trace block.
    void Announce(KesNotification* notification, const char* what);

    KesDlgPushButton* pushButton_ = nullptr; // "pb"
    KesDlgLabel* linkLabel_ = nullptr;       // "label", carries the icon of SetIconName
    KesString iconName_;                     // icon of the push button; empty: none
    // The link vectors, owned; all six or none.
    std::unique_ptr<KesListValKesUnicodeString> names_;
    std::unique_ptr<KesRawCollint> counts_;
    std::unique_ptr<KesRawCollint> typeCodes_;
    std::unique_ptr<KesRawCollint> ints_;
    std::unique_ptr<KesRawColldouble> reals_;
    std::unique_ptr<KesListValKesUnicodeString> texts_;
};
