// KesPanelToolkitHands: the gestures as the toolkit's User... actions, and the text typed and
// not confirmed, which the toolkit never sees until the person leaves the field.
#include "tools/KesPanelHands.h"

#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesDlgStateButton.h"

#include <algorithm>
#include <string_view>

// The field typed into and its text as it would show. Dropped as a window drops it: the field
// destroyed, another text shown in it by the program, the field no longer taking input.
class KesPanelToolkitHands::Pending final : public KesDlgObserver {
public:
    Pending() { KesDialog::AddObserver(this); }
    ~Pending() override { KesDialog::RemoveObserver(this); }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;

    void WidgetChanged(KesDialog& widget, KesDlgProperty property) override {
        if (field == nullptr) {
            return;
        }
        switch (property) {
        case KesDlgProperty::Destroyed:
            if (&widget == field) {
                Drop();
            }
            break;
        case KesDlgProperty::Text:
        case KesDlgProperty::MaxCharacterWidth:
        case KesDlgProperty::Field:
        case KesDlgProperty::Selection:
        case KesDlgProperty::Lines:
        case KesDlgProperty::Value: // a spinner's number shown again (the window's field too)
        case KesDlgProperty::Range:
        case KesDlgProperty::Format:
        case KesDlgProperty::Precision:
        case KesDlgProperty::DisplayFormat:
            if (&widget == field) {
                Drop();
            }
            break;
        case KesDlgProperty::Sensitivity:
        case KesDlgProperty::Visibility:
            if (!field->AcceptsUserInput()) {
                Drop();
            }
            break;
        default:
            break;
        }
    }
    void Drop() {
        field = nullptr;
        text.clear();
    }

    KesDialog* field = nullptr;
    std::string text;
};

namespace {

// What a field shows: an editor's text, an editable combo's field or a spinner's number.
bool Shown(KesDialog& field, std::string& text) {
    if (auto* editor = dynamic_cast<KesDlgEditor*>(&field)) {
        text = editor->GetText().Str();
        return true;
    }
    if (auto* spinner = dynamic_cast<KesDlgSpinner*>(&field)) {
        text = spinner->GetText().Str();
        return true;
    }
    if (auto* combo = dynamic_cast<KesDlgCombo*>(&field); combo != nullptr && combo->IsEditable()) {
        text = combo->GetField().Str();
        return true;
    }
    return false;
}

// What a number field (an integer or real editor) holds once `keys` are typed at the end of
// `held`, as the window's field takes them: a key that would leave a character no number is
// written with is not taken (digits, signs and blanks; in a real also a point and an exponent
// letter), and a comma typed into a real is its decimal point. Any other editor takes every key.
std::string NumberFieldKeys(const KesDlgEditor& editor, std::string held, const std::string& keys) {
    const bool real = editor.IsRealEditor();
    if (!real && !editor.IsIntegerEditor()) {
        return held + keys;
    }
    const std::string_view allowed = real ? "+-.eE " : "+- ";
    const auto number = [&](const std::string& text) {
        return std::all_of(text.begin(), text.end(), [&](char c) {
            return (c >= '0' && c <= '9') || allowed.find(c) != std::string_view::npos;
        });
    };
    for (const char key : keys) {
        if (static_cast<unsigned char>(key) >= 0x80) {
            continue; // a byte of a character beyond ASCII (or of no character): no number's
        }
        std::string typed = held + key;
        if (real) {
            std::replace(typed.begin(), typed.end(), ',', '.');
        }
        if (number(typed)) {
            held = std::move(typed);
        }
    }
    return held;
}

bool Commit(KesDialog& field, const std::string& text) {
    if (auto* editor = dynamic_cast<KesDlgEditor*>(&field)) {
        return editor->UserType(text);
    }
    if (auto* combo = dynamic_cast<KesDlgCombo*>(&field)) {
        return combo->UserType(text);
    }
    if (auto* spinner = dynamic_cast<KesDlgSpinner*>(&field)) {
        return spinner->UserType(text);
    }
    return false;
}

} // namespace

KesPanelToolkitHands::KesPanelToolkitHands() : pending_(std::make_unique<Pending>()) {}
KesPanelToolkitHands::~KesPanelToolkitHands() = default;

bool KesPanelToolkitHands::Type(KesDialog& field, const std::string& text) {
    if (pending_->field == &field) {
        pending_->Drop(); // the typed text replaces what was pending
    }
    if (auto* editor = dynamic_cast<KesDlgEditor*>(&field)) {
        // Typed over the whole text: when no key is taken, the field still shows its text.
        const std::string typed = NumberFieldKeys(*editor, std::string(), text);
        return Commit(field, typed.empty() && !text.empty() ? editor->GetText().Str() : typed);
    }
    return Commit(field, text);
}

bool KesPanelToolkitHands::Keys(KesDialog& field, const std::string& text) {
    std::string shown;
    if (!field.AcceptsUserInput() || !Shown(field, shown)) {
        return false;
    }
    if (pending_->field != &field) {
        FinishTyping();
        pending_->field = &field;
        pending_->text = shown;
    }
    if (auto* editor = dynamic_cast<KesDlgEditor*>(&field)) {
        pending_->text = NumberFieldKeys(*editor, pending_->text, text);
    } else {
        pending_->text += text;
    }
    return true;
}

void KesPanelToolkitHands::FinishTyping() {
    KesDialog* field = pending_->field;
    const std::string text = pending_->text;
    pending_->Drop();
    if (field != nullptr) {
        Commit(*field, text);
    }
}

bool KesPanelToolkitHands::Focus(KesDialog& widget) {
    return widget.AcceptsUserInput();
}

bool KesPanelToolkitHands::SetValue(KesDlgSpinner& spinner, double value) {
    return spinner.UserSetValue(value);
}

bool KesPanelToolkitHands::Step(KesDlgSpinner& spinner, int clicks) {
    return spinner.UserStep(clicks);
}

bool KesPanelToolkitHands::SelectRow(KesDlgCombo& combo, int row) {
    return combo.UserSelect(row);
}

bool KesPanelToolkitHands::Drop(KesDlgCombo& combo) {
    return combo.UserDrop();
}

bool KesPanelToolkitHands::Click(KesDlgStateButton& button) {
    if (auto* radio = dynamic_cast<KesDlgRadioButton*>(&button)) {
        return radio->UserClick();
    }
    return static_cast<KesDlgCheckButton&>(button).UserClick();
}

bool KesPanelToolkitHands::Press(KesDlgPushButton& button) {
    return button.UserPress();
}

bool KesPanelToolkitHands::Scroll(KesDlgScrollBar& bar, int position) {
    return bar.UserScroll(position);
}

bool KesPanelToolkitHands::Drag(KesDlgScrollBar& bar, int position) {
    return bar.UserDrag(position);
}

bool KesPanelToolkitHands::SelectRows(KesDlgSelectorList& list, const std::vector<int>& rows) {
    return list.UserSelect(rows.data(), static_cast<int>(rows.size()));
}

bool KesPanelToolkitHands::Activate(KesDlgPushItem& item) {
    return item.UserActivate();
}

bool KesPanelToolkitHands::Close(KesDlgDialog& dialog, bool ok) {
    return ok ? dialog.UserOK() : dialog.UserCancel();
}
