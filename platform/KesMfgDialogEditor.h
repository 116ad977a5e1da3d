// KesMfgDialogEditor: a small dialog window that asks the user for one or more texts, with OK
// and Cancel (a KesDlgDialog: it starts hidden, SetVisibility(2) shows it, UserCancel hides it
// and then raises Cancel, UserOK only raises OK).
//
// The dialog holds `fieldCount` text editors, children of the dialog in order: the first is
// identified by `fieldName`, the next ones by `fieldName` followed by their number from 2
// ("ParameterName", "ParameterName2", ...). Each field shows `fieldWidth` characters and keeps
// at most `maxCharacters` of what is typed (0 or less: no limit); the parameter dialog shows 16
// and keeps as many as a model parameter's name may have (72).
//
// GetEditorTexts() hands the caller a new list, which the caller deletes, of the texts typed
// into the fields, first field first; a field that is empty or holds only blanks gives no text,
// so a dialog confirmed without a typed name answers the empty list. The texts are returned as
// typed, blanks included.
//
// The owner may delete the dialog from inside its own OK and Cancel callbacks: the toolkit's
// delivery stops at the deleted dialog.
#pragma once

#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesListValKesUnicodeString.h"

#include <vector>

class KesMfgDialogEditor : public KesDlgDialog {
public:
    static constexpr int kMaxFieldCount = 16;
    static constexpr int kNoOptions = 0; // the only value of the reserved `options` word

    // `fieldCount` is brought into 1..kMaxFieldCount; `fieldStyle` is the editors' style word
    // (0 for text); `options` is reserved (0).
    KesMfgDialogEditor(KesDialog* parent, const KesString& name, unsigned long style,
                       int fieldWidth, int maxCharacters, int fieldCount, unsigned long fieldStyle,
                       const KesString& fieldName, int options);
    ~KesMfgDialogEditor() override = default;

    // A new list of the typed texts (see above); never null; the caller deletes it.
    virtual KesListValKesUnicodeString* GetEditorTexts();

    int GetFieldCount() const { return static_cast<int>(fields_.size()); }
    // The field at 0-based `number`, or null.
    KesDlgEditor* GetField(int number) const;

private:
    std::vector<KesDlgEditor*> fields_; // children of the dialog, owned by the widget tree
};
