#include "platform/KesDlgCombo.h"

void KesDlgCombo::SetLine(const KesUnicodeString& text, int position, int flags) {
    const int row = (position < 0 || position > GetLineCount()) ? GetLineCount() : position;
    lines_.insert(lines_.begin() + row, Line{text, flags});
    if (selection_ >= row) {
        ++selection_; // the selected line moved down
    }
    Changed(KesDlgProperty::Lines);
}

void KesDlgCombo::ClearLine() {
    lines_.clear();
    Changed(KesDlgProperty::Lines);
    if (selection_ != -1) {
        selection_ = -1;
        Changed(KesDlgProperty::Selection);
    }
}

void KesDlgCombo::ClearField() {
    SetField(KesUnicodeString());
}

void KesDlgCombo::ClearSelect() {
    selection_ = -1;
    Changed(KesDlgProperty::Selection);
}

void KesDlgCombo::Select(int row) {
    selection_ = row;
    Changed(KesDlgProperty::Selection);
    SetField(lines_[static_cast<size_t>(row)].text);
}

int KesDlgCombo::SetSelect(int row, int notify) {
    if (row < 0 || row >= GetLineCount()) {
        return -1;
    }
    Select(row);
    if (notify == 1) {
        Raise(comboSelect_);
    }
    return row;
}

int KesDlgCombo::SetSelect(const KesUnicodeString& text, int notify) {
    for (int row = 0; row < GetLineCount(); ++row) {
        if (lines_[static_cast<size_t>(row)].text == text) {
            return SetSelect(row, notify);
        }
    }
    return -1;
}

void KesDlgCombo::SetField(const KesUnicodeString& text) {
    field_ = text;
    Changed(KesDlgProperty::Field);
}

KesUnicodeString KesDlgCombo::GetLine(int row) const {
    if (row < 0 || row >= GetLineCount()) {
        return KesUnicodeString();
    }
    return lines_[static_cast<size_t>(row)].text;
}

bool KesDlgCombo::UserSelect(int row) {
    if (!AcceptsUserInput() || row < 0 || row >= GetLineCount()) {
        return false;
    }
    Select(row);
    Raise(comboSelect_);
    return true;
}

bool KesDlgCombo::UserType(const KesUnicodeString& text) {
    if (!AcceptsUserInput() || !IsEditable()) {
        return false;
    }
    SetField(text);
    Raise(comboModify_);
    return true;
}

bool KesDlgCombo::UserDrop() {
    if (!AcceptsUserInput()) {
        return false;
    }
    Raise(comboDrop_);
    return true;
}
