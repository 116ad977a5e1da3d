#include "platform/KesDlgSelectorList.h"

void KesDlgSelectorList::SetLine(const KesUnicodeString& text, int position, int /*flags*/) {
    const int row = (position < 0 || position > GetLineCount()) ? GetLineCount() : position;
    lines_.insert(lines_.begin() + row, Line{text, false});
    Changed(KesDlgProperty::Lines);
}

void KesDlgSelectorList::ClearLine() {
    lines_.clear();
    Changed(KesDlgProperty::Lines);
}

KesUnicodeString KesDlgSelectorList::GetLine(int row) const {
    if (row < 0 || row >= GetLineCount()) {
        return KesUnicodeString();
    }
    return lines_[static_cast<size_t>(row)].text;
}

void KesDlgSelectorList::SetSelect(const int* rows, int count, int notify) {
    if (rows != nullptr) {
        for (int i = 0; i < count; ++i) {
            if (rows[i] >= 0 && rows[i] < GetLineCount()) {
                lines_[static_cast<size_t>(rows[i])].selected = true;
            }
        }
    }
    Changed(KesDlgProperty::Selection);
    if (notify == 1) {
        Raise(select_);
    }
}

void KesDlgSelectorList::ClearSelect() {
    for (Line& line : lines_) {
        line.selected = false;
    }
    Changed(KesDlgProperty::Selection);
}

int KesDlgSelectorList::GetSelectCount() const {
    int count = 0;
    for (const Line& line : lines_) {
        count += line.selected ? 1 : 0;
    }
    return count;
}

int KesDlgSelectorList::GetSelect(int* rows, int capacity) const {
    if (rows == nullptr) {
        return 0;
    }
    int written = 0;
    for (int row = 0; row < GetLineCount() && written < capacity; ++row) {
        if (lines_[static_cast<size_t>(row)].selected) {
            rows[written++] = row;
        }
    }
    return written;
}

std::vector<int> KesDlgSelectorList::GetSelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < GetLineCount(); ++row) {
        if (lines_[static_cast<size_t>(row)].selected) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool KesDlgSelectorList::IsSelected(int row) const {
    return row >= 0 && row < GetLineCount() && lines_[static_cast<size_t>(row)].selected;
}

bool KesDlgSelectorList::UserSelect(const int* rows, int count) {
    if (!AcceptsUserInput() || count < 0 || (count > 0 && rows == nullptr)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (rows[i] < 0 || rows[i] >= GetLineCount()) {
            return false;
        }
    }
    for (Line& line : lines_) {
        line.selected = false;
    }
    for (int i = 0; i < count; ++i) {
        lines_[static_cast<size_t>(rows[i])].selected = true;
    }
    Changed(KesDlgProperty::Selection);
    Raise(select_);
    return true;
}
