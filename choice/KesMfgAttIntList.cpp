// KesMfgAttIntList: display, value records, selection, the list restriction and the impacts.
#include "choice/KesMfgAttIntList.h"

#include "framework/KesMfgChoiceButtons.h"
#include "platform/KesDebug.h"

#include <iostream>

namespace {

KesUnicodeString FormatInt(int value) {
    return KesUnicodeString().BuildFromNum(value, "%d");
}

} // namespace

KesMfgAttIntList::KesMfgAttIntList(KesUnicodeString name, KesUnicodeString label, int value,
                                   KesRawCollint values, KesListValKesUnicodeString displayTexts,
                                   int reserved, KesDlgFrame* parent, int group, int presentation)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group),
      presentation_(presentation), value_(value),
      choices_(this, std::move(values), std::move(displayTexts)), reserved_(reserved),
      impacts_(this, [this] { return CurrentValue(); }) {
    if (TraceOn()) {
        std::cout << "AttIntList " << name_.Str() << " construction values :";
        for (const int allowed : choices_.GetConstructionValues().Items()) {
            std::cout << ' ' << allowed;
        }
        std::cout << std::endl;
    }
}

bool KesMfgAttIntList::TraceOn() {
    return GetDebug("AttIntList") == 1;
}

std::optional<int> KesMfgAttIntList::CurrentValue() const {
    if (toBeDefined_ != 0) {
        return std::nullopt;
    }
    return choices_.SelectedValue();
}

// ---------------------------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------------------------
void KesMfgAttIntList::Display() {
    if (!StartDisplay(&KesMfgAttIntList::AttributeModified)) {
        return;
    }
    const bool trace = TraceOn();
    if (presentation_ != 0) {
        choices_.BuildRadioButtons(
            this, &KesMfgAttIntList::AttributeModified,
            [](int allowed) { return (KesUnicodeString("rb") + FormatInt(allowed)).ToKesString(); },
            value_, toBeDefined_ == 0);
    } else {
        choices_.BuildCombo(this, &KesMfgAttIntList::AttributeModified, kes::kReadOnlyComboStyle,
                            value_, toBeDefined_ != 0, std::min(choices_.Count(), 10),
                            visibleTextWidth_);
    }
    if (trace) {
        const int position = choices_.SelectedPosition();
        std::cout << "AttIntList " << name_.Str() << " Display reference " << value_;
        if (position == 0) {
            std::cout << " : no position selected" << std::endl;
        } else {
            std::cout << " : position " << position << " selected" << std::endl;
        }
    }
    FinishDisplay();
}

// ---------------------------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------------------------
void KesMfgAttIntList::Output(int group, KesListValKesUnicodeString* names,
                              KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint* ints,
                              KesRawColldouble*, KesListValKesUnicodeString*) {
    if (!IsDisplayed() || !OutputConcerns(group)) {
        return;
    }
    const std::optional<int> selected = CurrentValue();
    if (!selected && optionState_ != 0) {
        return; // nothing selected: no value to report
    }
    if (RecordDue(selected && *selected != value_)) {
        AppendSingleRecord(names, typeCodes, counts, kIntegerType, ints, selected.value_or(0));
    }
}

void KesMfgAttIntList::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                   KesRawCollint* typeCodes, KesRawCollint* counts,
                                   KesRawCollint* ints, KesRawColldouble*,
                                   KesListValKesUnicodeString*) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    const std::optional<int> selected = CurrentValue();
    if (!selected && optionState_ != 0) {
        return;
    }
    AppendSingleRecord(names, typeCodes, counts, kIntegerType, ints, selected.value_or(0));
}

int KesMfgAttIntList::GetAttValue() {
    return CurrentValue().value_or(0);
}

void KesMfgAttIntList::SetAttValue(KesRawCollint* ints, KesRawColldouble*,
                                   KesListValKesUnicodeString*, int notify) {
    if (ints == nullptr || ints->Size() != 1 || !IsDisplayed()) {
        return;
    }
    const int value = (*ints)[1];
    if (!choices_.Contains(value)) {
        return;
    }
    toBeDefined_ = 0;
    choices_.SelectValue(value, notify);
}

// ---------------------------------------------------------------------------------------------
// User selection and impacts
// ---------------------------------------------------------------------------------------------
void KesMfgAttIntList::AttributeModified(KesCommand* sender, KesNotification*, void**) {
    if (presentation_ != 0 && KesMfgChoiceButtons::IsSwitchedOff(sender)) {
        return;
    }
    toBeDefined_ = 0;
    const std::shared_ptr<const bool> alive = GetAliveToken();
    SendModification();
    if (*alive && impacts_.HasImpactedAttributes()) {
        ImpactAttributes();
    }
}

void KesMfgAttIntList::AddImpactedAttributes(KesListPtrKesMfgAttribute attributes,
                                             KesRawCollint reserved, KesRawCollint impactValues,
                                             KesRawCollint sensitivities) {
    impacts_.Assign(attributes, reserved, impactValues, sensitivities);
}

void KesMfgAttIntList::ImpactAttributes() {
    impacts_.ImpactAttributes();
}

// ---------------------------------------------------------------------------------------------
// List restriction
// ---------------------------------------------------------------------------------------------
void KesMfgAttIntList::ModifyValueList(KesRawCollint, KesListValKesUnicodeString newValues,
                                       int selection) {
    const bool trace = TraceOn();
    KesRawCollint numbers;
    for (const KesUnicodeString& text : newValues.Items()) {
        int number = 0;
        text.ConvertToNum(&number, "%d"); // a text that does not read as a number gives 0
        numbers.Append(number);
        if (trace) {
            std::cout << "AttIntList " << name_.Str() << " ModifyValueList reads " << number
                      << std::endl;
        }
    }
    if (numbers.Size() == 0 || presentation_ != 0) {
        return;
    }
    choices_.Replace(selection, 0, [&] {
        for (const int number : numbers.Items()) {
            if (!choices_.AppendFromConstruction(number)) {
                if (TraceOn()) {
                    std::cout << "VALEUR NON TROUVEE DANS LA LISTE EXISTANTE!! " << std::endl;
                    std::cout << "VALEUR :" << number << std::endl;
                }
                return;
            }
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Icons and help
// ---------------------------------------------------------------------------------------------
void KesMfgAttIntList::SetIconNames(KesListValKesUnicodeString* icons,
                                    KesListValKesUnicodeString* secondIcons) {
    choices_.GiveIcons(presentation_, icons, secondIcons);
}

void KesMfgAttIntList::SetHelp(KesListValKesUnicodeString help,
                               KesListValKesUnicodeString shortHelp) {
    choices_.GiveHelp(presentation_, help, shortHelp, optionMode_ == 1 ? optionCheck_ : nullptr);
}
