#include "multi/KesMfgAttMVCharList.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr const char* kIncoherentAtDisplay = " val et dicovals pas coherents !!! ";
constexpr const char* kIncoherentLater = " StrList et dicovals pas coherents !!! ";

} // namespace

KesMfgAttMVCharList::KesMfgAttMVCharList(KesUnicodeString name, KesUnicodeString label,
                                         KesListValKesUnicodeString values,
                                         KesListValKesUnicodeString allowedValues,
                                         KesListValKesUnicodeString displayTexts,
                                         KesUnicodeString secondary, KesDlgFrame* parent, int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group), reference_(values),
      displayTexts_(std::move(displayTexts)), allowedValues_(std::move(allowedValues)),
      current_(std::move(values)), secondary_(std::move(secondary)) {
    for (int i = 1; i <= allowedValues_.Size(); ++i) {
        firstPosition_.emplace(allowedValues_[i].Str(), i - 1); // keeps the first of equal values
    }
}

// ---------------------------------------------------------------------------------------------
// Lines
// ---------------------------------------------------------------------------------------------
int KesMfgAttMVCharList::RowOf(const KesUnicodeString& value) const {
    const auto found = firstPosition_.find(value.Str());
    if (found == firstPosition_.end() || found->second >= displayTexts_.Size()) {
        return -1;
    }
    return found->second;
}

void KesMfgAttMVCharList::SelectCurrentValues(const char* message) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(current_.Size()));
    for (int i = 1; i <= current_.Size(); ++i) {
        const int row = RowOf(current_[i]);
        if (row < 0) {
            std::cout << message << std::endl;
        } else {
            rows.push_back(row);
        }
    }
    selectorList_->SetSelect(rows.data(), static_cast<int>(rows.size()), kes::kNoNotify);
}

// ---------------------------------------------------------------------------------------------
// Display and callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVCharList::SetNbVisibleVals(const int count) {
    visibleLineCount_ = count;
}

void KesMfgAttMVCharList::Display() {
    if (!StartDisplay(&KesMfgAttMVCharList::AttributeModified)) {
        return;
    }
    selectorList_ = new KesDlgSelectorList(this, "SelList", kes::kSelectorListStyle);
    selectorList_->SetVisibleTextHeight(visibleLineCount_);
    int width = 0;
    for (int i = 1; i <= displayTexts_.Size(); ++i) {
        selectorList_->SetLine(displayTexts_[i], kes::kAppendLine, kes::kChoiceLineFlags);
        width = std::max(width, displayTexts_[i].GetLengthInChar());
    }
    selectorList_->SetVisibleTextWidth(std::clamp(width, 5, 32));
    if (toBeDefined_ == 0) {
        SelectCurrentValues(kIncoherentAtDisplay); // the current values are the reference values
    }
    AddAnalyseNotificationCB(selectorList_, selectorList_->GetListSelectNotification(),
                             &KesMfgAttMVCharList::AttributeModified, nullptr);
    FinishDisplay();
}

void KesMfgAttMVCharList::AttributeModified(KesCommand*, KesNotification*, void**) {
    if (!IsDisplayed()) {
        return;
    }
    toBeDefined_ = 0;
    const int count = selectorList_->GetSelectCount();
    std::vector<int> rows(static_cast<size_t>(count));
    const int read = selectorList_->GetSelect(rows.data(), count);
    KesListValKesUnicodeString selected;
    for (int i = 0; i < read; ++i) {
        const int position = rows[static_cast<size_t>(i)] + 1;
        if (allowedValues_.IsValidPosition(position)) { // a line beyond them stands for nothing
            selected.Append(allowedValues_[position]);
        }
    }
    if (selected.Size() == 0) {
        // The list never stays without a value: the previous selection comes back.
        if (read > 0) {
            selectorList_->ClearSelect();
        }
        SelectCurrentValues(kIncoherentLater);
        return;
    }
    current_ = std::move(selected);
    SendModification();
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
void KesMfgAttMVCharList::Output(int group, KesListValKesUnicodeString* names,
                                 KesRawCollint* typeCodes, KesRawCollint* counts, KesRawCollint*,
                                 KesRawColldouble*, KesListValKesUnicodeString* texts) {
    if (!IsDisplayed() || !OutputConcerns(group) || !RecordDue(current_ != reference_)) {
        return;
    }
    AppendListRecord(names, typeCodes, counts, kTextType, texts, current_);
}

void KesMfgAttMVCharList::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                      KesRawCollint* typeCodes, KesRawCollint* counts,
                                      KesRawCollint*, KesRawColldouble*,
                                      KesListValKesUnicodeString* texts) {
    if (group != nullptr) {
        *group = group_;
    }
    if (!IsDisplayed() || toBeDefined_ != 0) {
        return;
    }
    AppendListRecord(names, typeCodes, counts, kTextType, texts, current_);
}

void KesMfgAttMVCharList::SetAttValue(KesRawCollint*, KesRawColldouble*,
                                      KesListValKesUnicodeString* texts, int notify) {
    if (!IsDisplayed()) {
        return;
    }
    const bool showedNoValue = toBeDefined_ != 0;
    toBeDefined_ = 0;
    if (texts == nullptr || texts->Size() == 0) {
        if (showedNoValue) {
            SelectCurrentValues(kIncoherentLater); // the values reported from now on show
        }
        return;
    }
    current_ = *texts;
    selectorList_->ClearSelect();
    SelectCurrentValues(kIncoherentLater);
    if (notify == 1) {
        SendModification();
    }
}

void KesMfgAttMVCharList::SetHelp(KesListValKesUnicodeString help,
                                  KesListValKesUnicodeString shortHelp) {
    if (!IsDisplayed()) {
        return;
    }
    if (help.Size() == 1) {
        selectorList_->SetHelp(help[1]); // the option check button gets no long help
    }
    if (shortHelp.Size() == 1) {
        selectorList_->SetShortHelp(shortHelp[1]);
        if (optionMode_ == 1 && optionCheck_ != nullptr) {
            optionCheck_->SetShortHelp(shortHelp[1]);
        }
    }
}
