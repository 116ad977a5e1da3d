// A combo: a field above a drop-down list of lines. Style 0x40000 is read-only (the field shows
// the selected line), 0x140000 editable (the person may also type into the field).
//
// Rows are numbered from 0. Selecting a row also puts its text into the field. The field and
// the selection are separate states: SetField changes only the field, ClearSelect only the
// selection.
#pragma once

#include "platform/KesDlgTextField.h"

#include <vector>

class KesDlgCombo : public KesDlgTextField {
public:
    static constexpr unsigned long kEditableStyle =
        kes::kEditableComboStyle & ~kes::kReadOnlyComboStyle;

    KesDlgCombo(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgTextField(parent, name, style, KesDlgKind::Combo) {}

    // The static form reads a style word (for observers of a widget still being created).
    static bool IsEditableStyle(unsigned long style) { return (style & kEditableStyle) != 0; }
    bool IsEditable() const { return IsEditableStyle(GetStyle()); }

    // Inserts a line before row `position`; -1 (or any position past the end) appends. The
    // flags are kept with the line.
    void SetLine(const KesUnicodeString& text, int position, int flags);
    // Removes every line; the selection goes with them, the field stays.
    void ClearLine();
    void ClearField();
    void ClearSelect();

    // Selects `row`; returns it, or -1 (nothing changes) when there is no such row. notify 1
    // raises the select notification, also when the row was selected already.
    int SetSelect(int row, int notify);
    // Selects the first line equal to `text`; returns its row, or -1 (nothing changes) when no
    // line matches.
    int SetSelect(const KesUnicodeString& text, int notify);
    int GetSelect() const { return selection_; }

    void SetField(const KesUnicodeString& text);
    const KesUnicodeString& GetField() const { return field_; }

    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    // The text of `row`, or the empty text when there is no such row.
    KesUnicodeString GetLine(int row) const;

    KesNotification* GetComboSelectNotification() { return &comboSelect_; }
    KesNotification* GetComboModifyNotification() { return &comboModify_; }
    KesNotification* GetComboDropNotification() { return &comboDrop_; }

    // The user picks `row` from the list: false when there is no such row.
    bool UserSelect(int row);
    // The user types a text into the field of an editable combo and confirms it (false for a
    // read-only combo). The selection is left as it is; the modify notification is raised.
    bool UserType(const KesUnicodeString& text);
    // The user opens the list: the drop notification is raised (its receiver may refill the
    // lines before they are shown).
    bool UserDrop();

private:
    struct Line {
        KesUnicodeString text;
        int flags;
    };
    void Select(int row);

    std::vector<Line> lines_;
    int selection_ = -1;
    KesUnicodeString field_;
    KesDlgNotification comboSelect_{"KesDlgComboSelectNotification"};
    KesDlgNotification comboModify_{"KesDlgComboModifyNotification"};
    KesDlgNotification comboDrop_{"KesDlgComboDropNotification"};
};
