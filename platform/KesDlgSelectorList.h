// A selector list: lines of which the person selects any number. Rows are numbered from 0;
// the selected rows are always reported in ascending order.
#pragma once

#include "platform/KesDlgTextField.h"

#include <vector>

class KesDlgSelectorList : public KesDlgTextField {
public:
    KesDlgSelectorList(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDlgTextField(parent, name, style, KesDlgKind::SelectorList) {}

    // Inserts a line before row `position`; -1 (or past the end) appends.
    void SetLine(const KesUnicodeString& text, int position, int flags);
    void ClearLine();
    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    KesUnicodeString GetLine(int row) const;

    // Adds the given rows to the selection; rows that do not exist are ignored, and so is a
    // null array. notify 1 raises the select notification.
    void SetSelect(const int* rows, int count, int notify);
    void ClearSelect();
    int GetSelectCount() const;
    // Writes up to `capacity` selected rows, ascending, into `rows`; returns how many it wrote.
    int GetSelect(int* rows, int capacity) const;
    std::vector<int> GetSelectedRows() const;
    bool IsSelected(int row) const;

    KesNotification* GetListSelectNotification() { return &select_; }

    // The user makes exactly these rows the selection (an empty set deselects every line).
    // False, and nothing changes, when a row does not exist.
    bool UserSelect(const int* rows, int count);

private:
    struct Line {
        KesUnicodeString text;
        bool selected;
    };
    std::vector<Line> lines_;
    KesDlgNotification select_{"KesDlgListSelectNotification"};
};
