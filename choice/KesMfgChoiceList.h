// KesMfgChoiceList: the typed part shared by the integer and the text choice lists.
//
// It holds the allowed values beside their display texts (the choices offered now), a second
// copy of both taken at construction (from which a restricted list is picked), and the widgets
// that show the choices: a combo, or one radio button per choice. Positions run from 1 to
// Count(). A choice needs both a value and a text: lists of unequal lengths are cut to the
// shorter one at construction, so that no loop ever reads past the end of either.
//
// An allowed value that occurs more than once is acted on at each of its positions, in order;
// where that selects, the last position wins.
//
// Selections made with notification run the owner's callbacks, which may replace the lists or
// destroy the owner: every loop that notifies stops as soon as either happens.
#pragma once

#include "framework/KesMfgChoiceButtons.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesListPtrKesDialog.h"
#include "platform/KesListValKesUnicodeString.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

template <class ValueList> class KesMfgChoiceList {
public:
    using Value = std::remove_cvref_t<decltype(std::declval<const ValueList&>()[1])>;
    template <class Attribute>
    using Callback = void (Attribute::*)(KesCommand*, KesNotification*, void**);

    // `owner` is the attribute whose widgets these are.
    KesMfgChoiceList(KesCommand* owner, ValueList values, KesListValKesUnicodeString displayTexts)
        : owner_(owner), allowed_(std::move(values)), texts_(std::move(displayTexts)) {
        const int count = std::min(allowed_.Size(), texts_.Size());
        allowed_.Size(count);
        texts_.Size(count);
        constructionValues_ = allowed_;
        constructionTexts_ = texts_;
    }
    KesMfgChoiceList(const KesMfgChoiceList&) = delete;
    KesMfgChoiceList& operator=(const KesMfgChoiceList&) = delete;

    int Count() const { return std::min(allowed_.Size(), texts_.Size()); }
    const ValueList& GetAllowedValues() const { return allowed_; }
    const KesListValKesUnicodeString& GetDisplayTexts() const { return texts_; }
    const ValueList& GetConstructionValues() const { return constructionValues_; }
    const KesListValKesUnicodeString& GetConstructionTexts() const { return constructionTexts_; }
    KesDlgCombo* GetCombo() const { return combo_; }
    const KesListPtrKesDialog& GetRadioButtons() const { return radioButtons_; }

    // ---- Building ------------------------------------------------------------------------

    // One radio button per choice, identified by identifierOf(value) and titled by its display
    // text; the buttons whose value equals `reference` are switched on (without notification)
    // when `selectReference` is set. `callback` is bound to each button's modify notification.
    template <class Attribute, class Identifier>
    void BuildRadioButtons(Attribute* owner, Callback<Attribute> callback, Identifier identifierOf,
                           const Value& reference, bool selectReference) {
        for (int i = 1; i <= Count(); ++i) {
            auto* button =
                new KesDlgRadioButton(owner, identifierOf(allowed_[i]), kes::kPlainStyle);
            button->SetTitle(texts_[i]);
            if (selectReference && allowed_[i] == reference) {
                button->SetState(kes::kOn, kes::kNoNotify);
            }
            radioButtons_.Append(button);
            owner->AddAnalyseNotificationCB(button, button->GetRadBModifyNotification(), callback,
                                            nullptr);
        }
    }

    // The combo "comboatt" with one line per choice. Where the value equals `reference` the
    // line is selected without notification, unless the value is still to be defined, in
    // which case the combo is left with no selection and an empty field. Width: the longest
    // text (at least 1) capped at 32 when `visibleTextWidth` is -1, `visibleTextWidth` when it
    // is above 0, the longest text otherwise. `callback` is bound to the select notification.
    template <class Attribute>
    void BuildCombo(Attribute* owner, Callback<Attribute> callback, unsigned long style,
                    const Value& reference, bool toBeDefined, int height, int visibleTextWidth) {
        combo_ = new KesDlgCombo(owner, "comboatt", style);
        int longest = 1;
        for (int i = 1; i <= Count(); ++i) {
            combo_->SetLine(texts_[i], kes::kAppendLine, kes::kChoiceLineFlags);
            longest = std::max(longest, texts_[i].GetLengthInChar());
            if (!toBeDefined && allowed_[i] == reference) {
                combo_->SetField(texts_[i]);
                combo_->SetSelect(i - 1, kes::kNoNotify);
            }
        }
        if (toBeDefined) {
            combo_->ClearSelect();
            combo_->ClearField();
        }
        combo_->SetVisibleTextHeight(height);
        int width = longest;
        if (visibleTextWidth == -1) {
            width = std::min(longest, 32);
        } else if (visibleTextWidth > 0) {
            width = visibleTextWidth;
        }
        combo_->SetVisibleTextWidth(width);
        owner->AddAnalyseNotificationCB(combo_, combo_->GetComboSelectNotification(), callback,
                                        nullptr);
    }

    // ---- Selection -----------------------------------------------------------------------

    // The combo's selected row plus 1, or the first radio button that is on; 0 when nothing
    // is selected (also before the widgets exist).
    int SelectedPosition() const {
        if (combo_ != nullptr) {
            const int row = combo_->GetSelect();
            return row >= 0 && row < Count() ? row + 1 : 0;
        }
        const int buttons = std::min(radioButtons_.Size(), Count());
        for (int i = 1; i <= buttons; ++i) {
            if (Button(i)->IsOn()) {
                return i;
            }
        }
        return 0;
    }
    std::optional<Value> SelectedValue() const {
        const int position = SelectedPosition();
        if (position == 0) {
            return std::nullopt;
        }
        return allowed_[position];
    }

    bool Contains(const Value& value) const { return allowed_.Locate(value) != 0; }

    // Selects every position whose value equals `value`: the radio button is switched on, or
    // the combo shows the display text and selects the row, each with the notify flag given.
    void SelectValue(const Value& value, int notify) {
        const std::shared_ptr<const bool> alive = owner_->GetAliveToken();
        const unsigned generation = generation_;
        for (int i = 1; i <= Count(); ++i) {
            if (!(allowed_[i] == value)) {
                continue;
            }
            if (combo_ != nullptr) {
                combo_->SetField(texts_[i]);
                combo_->SetSelect(i - 1, notify);
            } else if (i <= radioButtons_.Size()) {
                Button(i)->SetState(kes::kOn, notify);
            }
            if (!*alive || generation != generation_) {
                return;
            }
        }
    }

    // ---- Replacing the choices of the combo -----------------------------------------------

    // Replaces the choices: remembers the selected value, empties both lists, lets `fill`
    // append the new choices (AppendFromConstruction, AppendChoice), then refills the combo.
    // The value to select is the new allowed value at `selection` when that is a position of
    // the new list, otherwise (-1, or a position outside the list) the remembered value. Rows
    // holding it are selected with the notify flag `matchNotify`; when none does, the first
    // row is selected with notification. An empty new list leaves the combo empty, with no
    // selection and an empty field. Does nothing without a combo.
    template <class Fill> void Replace(int selection, int matchNotify, Fill fill) {
        if (combo_ == nullptr) {
            return;
        }
        const std::optional<Value> remembered = SelectedValue();
        allowed_.RemoveAll();
        texts_.RemoveAll();
        ++generation_;
        fill();
        ShowInCombo(selection >= 1 && selection <= Count()
                        ? std::optional<Value>(allowed_[selection])
                        : remembered,
                    matchNotify);
    }

    // Appends the construction choice of the first construction value equal to `value`;
    // false when there is none.
    bool AppendFromConstruction(const Value& value) {
        const int position = constructionValues_.Locate(value);
        if (position == 0 || position > constructionTexts_.Size()) {
            return false;
        }
        AppendChoice(constructionValues_[position], constructionTexts_[position]);
        return true;
    }
    void AppendChoice(const Value& value, const KesUnicodeString& text) {
        allowed_.Append(value);
        texts_.Append(text);
        ++generation_;
    }

    // ---- Icons and help --------------------------------------------------------------------

    // Presentation mode exactly 1: button i gets icons[i] (and secondIcons[i]); see
    // KesMfgChoiceButtons::GiveIcons. The combo has no icons.
    void GiveIcons(int presentation, const KesListValKesUnicodeString* icons,
                   const KesListValKesUnicodeString* secondIcons) const {
        if (presentation == 1) {
            KesMfgChoiceButtons::GiveIcons(radioButtons_, icons, secondIcons);
        }
    }
    // Presentation mode exactly 1: one text per radio button; a combo: the first texts. Any
    // other radio presentation: nothing.
    void GiveHelp(int presentation, const KesListValKesUnicodeString& help,
                  const KesListValKesUnicodeString& shortHelp, KesDialog* optionCheck) const {
        if (presentation == 1) {
            KesMfgChoiceButtons::GiveHelp(radioButtons_, help, shortHelp, optionCheck);
        } else if (combo_ != nullptr) {
            KesMfgChoiceButtons::GiveFirstHelp(combo_, help, shortHelp, optionCheck);
        }
    }

private:
    KesDlgStateButton* Button(int position) const {
        return static_cast<KesDlgStateButton*>(radioButtons_[position]);
    }

    void ShowInCombo(const std::optional<Value>& target, int matchNotify) {
        const std::shared_ptr<const bool> alive = owner_->GetAliveToken();
        const unsigned generation = generation_;
        combo_->ClearLine();
        bool matched = false;
        for (int i = 1; i <= Count(); ++i) {
            combo_->SetLine(texts_[i], kes::kAppendLine, kes::kChoiceLineFlags);
            if (target && allowed_[i] == *target) {
                matched = true;
                combo_->SetField(texts_[i]);
                combo_->SetSelect(i - 1, matchNotify);
                if (!*alive || generation != generation_) {
                    return;
                }
            }
        }
        if (matched) {
            return;
        }
        if (Count() == 0) {
            combo_->ClearField();
            return;
        }
        combo_->SetField(texts_[1]);
        combo_->SetSelect(0, kes::kNotify);
    }

    KesCommand* owner_;
    ValueList allowed_;                            // the values offered now
    KesListValKesUnicodeString texts_;             // their display texts
    ValueList constructionValues_;                 // never changed
    KesListValKesUnicodeString constructionTexts_; // never changed
    KesDlgCombo* combo_ = nullptr;                 // combo presentation
    KesListPtrKesDialog radioButtons_;             // radio presentation, button i shows choice i
    unsigned generation_ = 0;                      // changes whenever the choices change
};
