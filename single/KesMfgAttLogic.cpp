// KesMfgAttLogic: display, value records, value pushes, impacts, icons and help.
#include "single/KesMfgAttLogic.h"

#include "framework/KesMfgChoiceButtons.h"
#include "platform/KesDlgRadioButton.h"

KesMfgAttLogic::KesMfgAttLogic(KesUnicodeString name, KesUnicodeString label, int value,
                               int reserved, KesDlgFrame* parent, int group, int presentation,
                               KesListValKesUnicodeString* titles)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group),
      presentation_(presentation), value_(value), reserved_(reserved), titles_(titles),
      impacts_(this, [this] { return std::optional<int>(TrueState() == kes::kOn ? 1 : 0); }) {}

// ---------------------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------------------
KesDlgStateButton* KesMfgAttLogic::TrueButton() const {
    return static_cast<KesDlgStateButton*>(radioButtons_[1]);
}

KesDlgStateButton* KesMfgAttLogic::FalseButton() const {
    return static_cast<KesDlgStateButton*>(radioButtons_[2]);
}

unsigned long KesMfgAttLogic::TrueState() const {
    if (presentation_ == 1 && radioButtons_.Size() == 2) {
        return TrueButton()->GetState();
    }
    if (presentation_ == 0 && checkButton_ != nullptr) {
        return checkButton_->GetState();
    }
    return value_ == 1 ? kes::kOn : kes::kOff; // no value widget
}

bool KesMfgAttLogic::NeitherRadioButtonOn() const {
    return presentation_ == 1 && radioButtons_.Size() == 2 && !TrueButton()->IsOn() &&
           !FalseButton()->IsOn();
}

// ---------------------------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------------------------
void KesMfgAttLogic::AddRadioButton(int value, const KesUnicodeString* title, unsigned long state) {
    const KesUnicodeString identifier =
        KesUnicodeString("rb") + KesUnicodeString().BuildFromNum(value, "%d");
    auto* button = new KesDlgRadioButton(this, identifier.ToKesString(), kes::kPlainStyle);
    if (title != nullptr) {
        button->SetTitle(*title);
    }
    if (state != 0) {
        button->SetState(state, kes::kNoNotify);
    }
    radioButtons_.Append(button);
    AddAnalyseNotificationCB(button, button->GetRadBModifyNotification(),
                             &KesMfgAttLogic::AttributeModified, nullptr);
}

void KesMfgAttLogic::Display() {
    if (!StartDisplay(&KesMfgAttLogic::AttributeModified)) {
        return;
    }
    if (presentation_ == 1 || toBeDefined_ == 1) {
        presentation_ = 1; // a check button cannot show a missing value
        const bool titled = titles_ != nullptr && titles_->Size() == 2;
        const bool initial = toBeDefined_ == 0;
        unsigned long trueState = 0;
        unsigned long falseState = 0;
        if (initial && value_ == 1) {
            trueState = kes::kOn;
            falseState = kes::kOff;
        } else if (initial && value_ == 0) {
            trueState = kes::kOff;
            falseState = kes::kOn;
        }
        AddRadioButton(1, titled ? &(*titles_)[2] : nullptr, trueState);
        AddRadioButton(0, titled ? &(*titles_)[1] : nullptr, falseState);
    } else if (presentation_ == 0) {
        checkButton_ = new KesDlgCheckButton(this, "chkbtnatt", kes::kPlainStyle);
        checkButton_->SetState(value_ == 1 ? kes::kOn : kes::kOff, kes::kNoNotify);
        checkButton_->SetTitle(KesUnicodeString());
        AddAnalyseNotificationCB(checkButton_, checkButton_->GetChkBModifyNotification(),
                                 &KesMfgAttLogic::AttributeModified, nullptr);
    }
    titles_ = nullptr; // the caller's list need not outlive Display
    FinishDisplay();
}

// ---------------------------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------------------------
void KesMfgAttLogic::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                            KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble*,
                            KesListValKesUnicodeString*) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const unsigned long state = TrueState();
    const bool changed = (value_ == 1 && state == kes::kOff) || (value_ == 0 && state == kes::kOn);
    if (!RecordDue(changed)) {
        return;
    }
    KesRawCollint values; // empty for a radio pair with neither button on
    if (state == kes::kOn) {
        values.Append(1);
    } else if (!NeitherRadioButtonOn()) {
        values.Append(0);
    }
    AppendListRecord(names, typeCodes, counts, kBooleanType, ints, values);
}

void KesMfgAttLogic::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                 KesRawCollint* typeCodes, KesRawCollint* counts,
                                 KesRawCollint* ints, KesRawColldouble*,
                                 KesListValKesUnicodeString*) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kBooleanType, ints,
                       TrueState() == kes::kOff ? 0 : 1);
}

int KesMfgAttLogic::GetAttValue() {
    if (toBeDefined_ != 0) {
        return 0;
    }
    return TrueState() == kes::kOff ? 0 : 1;
}

void KesMfgAttLogic::SetAttValue(KesRawCollint* ints, KesRawColldouble*,
                                 KesListValKesUnicodeString*, int notify) {
    if (ints == nullptr || ints->Size() != 1 || !IsDisplayed()) {
        return;
    }
    const bool on = (*ints)[1] == 1;
    if (presentation_ == 1 && radioButtons_.Size() == 2) {
        toBeDefined_ = 0;
        // The buttons' notifications run callbacks that may replace or destroy this attribute.
        const std::shared_ptr<const bool> alive = GetAliveToken();
        KesDlgStateButton* falseButton = FalseButton();
        const std::shared_ptr<const bool> falseAlive = falseButton->GetAliveToken();
        TrueButton()->SetState(on ? kes::kOn : kes::kOff, notify);
        if (*alive && *falseAlive) {
            falseButton->SetState(on ? kes::kOff : kes::kOn, notify);
        }
    } else if (presentation_ == 0 && checkButton_ != nullptr) {
        toBeDefined_ = 0;
        checkButton_->SetState(on ? kes::kOn : kes::kOff, kes::kNotify);
    }
}

// ---------------------------------------------------------------------------------------------
// Button notifications and impacts
// ---------------------------------------------------------------------------------------------
void KesMfgAttLogic::AttributeModified(KesCommand* sender, KesNotification*, void**) {
    if (!(presentation_ == 1 && KesMfgChoiceButtons::IsSwitchedOff(sender))) {
        toBeDefined_ = 0;
        const std::shared_ptr<const bool> alive = GetAliveToken();
        SendModification();
        if (!*alive) {
            return;
        }
    }
    if (impacts_.HasImpactedAttributes()) {
        ImpactAttributes();
    }
}

void KesMfgAttLogic::AddImpactedAttributes(KesListPtrKesMfgAttribute attributes,
                                           KesRawCollint reserved, KesRawCollint impactValues,
                                           KesRawCollint sensitivities) {
    impacts_.Assign(attributes, reserved, impactValues, sensitivities);
}

void KesMfgAttLogic::ImpactAttributes() {
    impacts_.ImpactAttributes();
}

// ---------------------------------------------------------------------------------------------
// Icons and help
// ---------------------------------------------------------------------------------------------
void KesMfgAttLogic::SetIconNames(KesListValKesUnicodeString* icons,
                                  KesListValKesUnicodeString* secondIcons) {
    if (icons == nullptr || icons->Size() != 2) {
        return;
    }
    if (presentation_ == 1 && radioButtons_.Size() == 2) {
        // Texts and icons come false first, true second.
        const KesListPtrKesDialog falseThenTrue{FalseButton(), TrueButton()};
        KesMfgChoiceButtons::GiveIcons(falseThenTrue, icons, secondIcons);
    } else if (presentation_ == 0 && checkButton_ != nullptr) {
        checkButton_->SetIconName(KesString((*icons)[1].CastToCharPtr()),
                                  KesString((*icons)[2].CastToCharPtr()));
    }
}

void KesMfgAttLogic::SetHelp(KesListValKesUnicodeString help,
                             KesListValKesUnicodeString shortHelp) {
    if (presentation_ != 1 || radioButtons_.Size() != 2) {
        return;
    }
    const KesListPtrKesDialog falseThenTrue{FalseButton(), TrueButton()};
    KesMfgChoiceButtons::GiveHelp(falseThenTrue, help, shortHelp,
                                  optionMode_ == 1 ? optionCheck_ : nullptr);
}
