// A frame: a widget that holds other widgets and lays them out in rows or columns.
#pragma once

#include "platform/KesDialog.h"

#include <initializer_list>
#include <vector>

class KesDlgFrame : public KesDialog {
public:
    // A frame without a parent is a top-level frame, owned by whoever created it.
    KesDlgFrame(KesDialog* parent, const KesString& name, unsigned long style = 0)
        : KesDialog(parent, name, style, KesDlgKind::Frame) {}

    // 0: children one under the other (a column, the default); 1: children side by side (a
    // row).
    void SetDefaultOrientation(int orientation) {
        orientation_ = orientation;
        Changed(KesDlgProperty::Orientation);
    }
    int GetDefaultOrientation() const { return orientation_; }

    // Attaches a row of widgets horizontally on a tabulation line. The row ends at its first
    // null pointer (or at its end).
    struct Attachment {
        int tabulation;
        int attachment;
        std::vector<KesDialog*> row;
    };
    void SetHorizontalAttachment(int tabulation, int attachment,
                                 std::initializer_list<KesDialog*> row) {
        Attachment added{tabulation, attachment, {}};
        for (KesDialog* widget : row) {
            if (widget == nullptr) {
                break;
            }
            added.row.push_back(widget);
        }
        attachments_.push_back(std::move(added));
        Changed(KesDlgProperty::Attachment);
    }
    const std::vector<Attachment>& GetHorizontalAttachments() const { return attachments_; }

private:
    int orientation_ = 0;
    std::vector<Attachment> attachments_;
};
