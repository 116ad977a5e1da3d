// KesMfgAttChar: one line of text in a text editor limited to 72 characters. Every edit sends a
// KesMfgAttNotifyModif to the parent frame; SetAttValue sends one on request.
//
// Texts are compared trimmed (without their surrounding blanks) and leave the attribute padded
// with blanks, or cut, to exactly 72 characters. Lengths, padding and cutting count characters,
// never bytes, and never split a character.
//
// Value record: type code 3, one text of 72 characters. Output reports the text when its
// trimmed form differs from the trimmed reference value (the constructor's text; Output keeps
// it trimmed from its first call on).
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgEditor.h"

class KesMfgAttChar : public KesMfgAttribute {
public:
    // The number of characters of a text in a value record, and the most the editor holds.
    static constexpr int kTextLength = 72;

    KesMfgAttChar(KesUnicodeString name, KesUnicodeString label, KesUnicodeString value,
                  KesUnicodeString secondaryText, KesDlgFrame* parent, int group);
    ~KesMfgAttChar() override = default;

    // Builds the editor. Its visible width comes from the visible text width w: w = -1 gives
    // the length of the trimmed value, at least 10 and at most 34; another w below 1 gives 34;
    // w above 72 gives 72 (and the visible text width becomes 72); otherwise w.
    void Display() override;
    // Appends the padded text when its trimmed form differs from the trimmed reference value
    // (or the option state changed, or output is forced). Nothing before Display.
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) override;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override;
    // Shows the single text of `texts` as given (the editor cuts it to 72 characters; other
    // sizes are ignored); the value is defined from now on. notify 1 sends a
    // KesMfgAttNotifyModif to the parent frame, 0 sends nothing. The reference value does not
    // change.
    void SetAttValue(KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts, int notify) override;
    // One help text and one short help text go to the editor (and the option check button);
    // lists of another size are ignored.
    void SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) override;

    // The text shown, trimmed and padded to 72 characters; the empty text while to be defined.
    virtual KesUnicodeString GetAttValue();
    // Callback of the editor and the option check button: the value is defined from now on;
    // notifies the parent frame. The text is not checked.
    virtual void AttributeModified(KesCommand* sender, KesNotification* notification, void** data);

    const KesUnicodeString& GetReferenceValue() const { return value_; }
    const KesUnicodeString& GetSecondaryText() const { return secondaryText_; }
    KesDlgEditor* GetEditorWidget() const { return editor_; }

private:
    KesUnicodeString CurrentValue() const;
    int VisibleWidth();

    KesUnicodeString value_;         // reference value
    KesUnicodeString secondaryText_; // kept for the caller, never read
    KesDlgEditor* editor_ = nullptr;
};
