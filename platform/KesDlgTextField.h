// The common part of the widgets that show text in a field (editors, spinners, combos and
// selector lists): the visible width and height in characters, and the precision and display
// format with which editors and spinners show reals.
#pragma once

#include "platform/KesDialog.h"

#include <string>

class KesDlgTextField : public KesDialog {
public:
    void SetVisibleTextWidth(int characters) {
        visibleTextWidth_ = characters;
        Changed(KesDlgProperty::VisibleTextWidth);
    }
    int GetVisibleTextWidth() const { return visibleTextWidth_; }
    void SetVisibleTextHeight(int lines) {
        visibleTextHeight_ = lines;
        Changed(KesDlgProperty::VisibleTextHeight);
    }
    int GetVisibleTextHeight() const { return visibleTextHeight_; }
    void SetPrecision(int digits) {
        precision_ = digits;
        Changed(KesDlgProperty::Precision);
    }
    int GetPrecision() const { return precision_; }
    // A null format is ignored.
    void SetDisplayFormat(const char* format) {
        if (format != nullptr) {
            displayFormat_ = format;
            Changed(KesDlgProperty::DisplayFormat);
        }
    }
    const std::string& GetDisplayFormat() const { return displayFormat_; }

protected:
    using KesDialog::KesDialog;

private:
    int visibleTextWidth_ = 0; // 0: the toolkit's own width
    int visibleTextHeight_ = 0;
    int precision_ = 0;
    std::string displayFormat_;
};
