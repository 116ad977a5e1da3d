// KesMfgValueList: the mechanics shared by the multi-value attributes that show their list in a
// scrolled window of value fields (integers, reals, texts, booleans). Written once here; each
// attribute class holds one and forwards its typed interface to it.
//
// Index (after the declarations)
//   Display                label, value frame with context menu and fields, scroll bar, layout
//   Window refresh         every field from the current values; scrolling
//   Edits                  reading the shown fields back; the scroll position line
//   Adding and removing    at the end of the list
//   Defined flags          which values are given while the value is to be defined
//   Value exchange         SetAttValue, Output, GetAttValue, help
//
// The attribute class (`Attribute`, which befriends its list) gives:
//   static constexpr KesMfgValueListRules kListRules;       what differs between the classes
//   KesMfgFieldKind DisplayedFieldKind() const;             which fields Display builds
//   KesDialog* BuildField(KesDlgFrame* valueFrame, const Value* reference);
//       builds one value field in the value frame, showing `reference` (null: beyond the
//       reference values), and binds the field's modify notification; the list hides it
//   void ShowValue(KesDialog* field, const Value& value, bool defined, int notify);
//       shows a value (an empty field for a value not yet given), notify flag as given
//   KesMfgFieldSample<Value> ReadField(const KesDialog* field) const;
//   Value FillerValue() const;                              what Add appends, hidden fields carry
//   Value ToShown(const Value&) const, Value ToCaller(const Value&) const
//       only with kListRules.convertsUnits: the caller's unit to the shown unit and back
// and the public callbacks AttributeModified, AddValue, RemoveValue and ScrollModified.
//
// Costs: scrolling, an edit, adding and removing cost O(visible fields) whatever the length of
// the list (a value is replaced in place, the to-be-defined state keeps a count of the values not
// yet given); SetAttValue and Output are linear.
//
// Reentrancy: every notification to the parent frame is the last thing an operation does, so a
// parent that reacts by changing or deleting the attribute is safe. Refreshes of check buttons
// set their states with notification; the edits those notifications cause are held back until
// every field of the window has been refreshed, so that no button is read before it shows its
// new value.
#pragma once

#include "multi/KesMfgValueWindow.h"
#include "platform/KesDlgContextualMenu.h"
#include "platform/KesDlgFrame.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesListPtrKesDialog.h"
#include "platform/KesListValKesUnicodeString.h"
#include "platform/KesRawColldouble.h"
#include "platform/KesRawCollint.h"

#include <iostream>
#include <memory>
#include <type_traits>

// The value fields Display builds, fixed for the life of the attribute.
enum class KesMfgFieldKind {
    None,          // before Display
    FreeEditor,    // editors without limits (and the text editors)
    BoundedEditor, // editors with limits: limits given, displayed while to be defined
    Spinner,
    CheckButton,
};

inline bool KesMfgIsEditorKind(KesMfgFieldKind kind) {
    return kind == KesMfgFieldKind::FreeEditor || kind == KesMfgFieldKind::BoundedEditor;
}

// What a value field holds: its value, and whether the user has given it (an editor left empty
// has not).
template <class Value> struct KesMfgFieldSample {
    Value value;
    bool defined;
};

// What differs between the windowed multi-value attributes.
struct KesMfgValueListRules {
    int typeCode;            // type code of the value record
    bool addRemoveDefine;    // adding and removing end the to-be-defined state
    bool keepsDefinedFlags;  // one defined flag per value while to be defined; else Display ends
                             // the to-be-defined state
    bool laysOut;            // Display attaches label, value frame and scroll bar in rows
    bool refreshesNotifying; // refreshes after scrolling, adding and removing set the fields
                             // with notification, and adding and removing refresh only while
                             // the value is defined
    bool convertsUnits;      // values cross the interface in the caller's unit
};

template <class Attribute, class Value, class Values> class KesMfgValueList {
public:
    KesMfgValueList(Attribute& owner, const Values& values)
        : owner_(owner), reference_(values), current_(values) {}
    KesMfgValueList(const KesMfgValueList&) = delete;
    KesMfgValueList& operator=(const KesMfgValueList&) = delete;

    // Configuration, before Display; ignored afterwards (the fields are built).
    void SetVisibleFieldCount(int count) {
        if (!owner_.IsDisplayed()) {
            visibleFieldCount_ = count;
        }
    }
    void SetCountModificationMode(int mode) {
        if (!owner_.IsDisplayed()) {
            countModificationMode_ = mode;
        }
    }

    void Display();
    // Scrolling: the fields that show a value follow the scroll position.
    void Scroll();
    // Stores every shown field at its value's position and ends the to-be-defined state once
    // every value has been given.
    void StoreShownFields(int position);
    // The scroll position, with its line "SCROLL POS :" p on standard output, whatever the
    // trace switch.
    int WriteScrollPosition() const;
    // An edit as most classes make it: the scroll position line, the shown fields stored, the
    // parent frame notified.
    void RecordEdit();
    // While a refresh is setting check buttons, an edit they raise is held back (true: the
    // caller returns at once); it runs when the refresh ends.
    bool HoldBackDuringRefresh();
    void Add();
    void Remove();
    void SetValues(KesRawCollint* ints, KesRawColldouble* reals, KesListValKesUnicodeString* texts,
                   int notify);
    void Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                KesListValKesUnicodeString* texts) const;
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) const;
    void SetHelp(const KesListValKesUnicodeString& help,
                 const KesListValKesUnicodeString& shortHelp);

    // The value field that sent a notification, or null when the sender is none of them.
    KesDialog* FindField(const KesCommand* sender) const;
    // The scroll position, within the range of the current values.
    int ScrollPosition() const;

    // State, for the attribute, callers and tests.
    const Values& GetReferenceValues() const { return reference_; }
    const Values& GetCurrentValues() const { return current_; }
    int GetVisibleFieldCount() const { return visibleFieldCount_; }
    int GetCountModificationMode() const { return countModificationMode_; }
    KesMfgFieldKind GetFieldKind() const { return kind_; }
    // The value fields in window order: editors, spinners or check buttons (GetFieldKind).
    const KesListPtrKesDialog& GetValueFields() const { return fields_; }
    KesDlgFrame* GetValueFrame() const { return valueFrame_; }
    KesDlgScrollBar* GetValueScrollBar() const { return scrollBar_; }
    KesDlgPushItem* GetAddItem() const { return addItem_; }
    KesDlgPushItem* GetRemoveItem() const { return removeItem_; }
    // The values not given yet, while the to-be-defined state lasts.
    int GetUndefinedCount() const { return undefinedCount_; }

private:
    static Values* OwnVector(KesRawCollint* ints, KesRawColldouble* reals,
                             KesListValKesUnicodeString* texts);
    void AppendRecord(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                      KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                      KesListValKesUnicodeString* texts) const;
    // Sets the scroll bar for the current values, keeping `position` as far as the range allows;
    // returns the position.
    int SettleScrollBar(int position);
    // Shows the window at `position`. The whole window: every field, hidden ones with the filler;
    // otherwise only the fields that show a value, visibility untouched. Returns false when the
    // attribute was deleted meanwhile (by a parent reacting to a held-back edit).
    bool ShowWindow(int position, int notify, bool wholeWindow);
    int RefreshNotify() const { return Attribute::kListRules.refreshesNotifying ? 1 : 0; }
    bool RefreshesOnAddRemove() const {
        return !Attribute::kListRules.refreshesNotifying || owner_.toBeDefined_ == 0;
    }

    // Defined flags: flags_[k] for value k while to be defined. A value beyond the flags counts
    // as given (the flags are emptied when the to-be-defined state ends).
    bool KeepsFlags() const {
        return Attribute::kListRules.keepsDefinedFlags && owner_.toBeDefined_ == 1;
    }
    bool IsDefined(int index) const;
    void SetDefined(int index, bool defined);
    void TruncateFlags(int count);
    void EndToBeDefined();

    Attribute& owner_;
    Values reference_; // the list as the caller gave it; never changed
    Values current_;   // the list being edited
    KesRawCollint flags_;
    int undefinedCount_ = 0; // zeros among flags_
    int visibleFieldCount_ = 5;
    int countModificationMode_ = 0; // 0: the context menu with Add and Remove
    KesMfgValueWindow window_;
    KesMfgFieldKind kind_ = KesMfgFieldKind::None;
    KesListPtrKesDialog fields_;
    KesDlgFrame* valueFrame_ = nullptr;
    KesDlgScrollBar* scrollBar_ = nullptr;
    KesDlgPushItem* addItem_ = nullptr;
    KesDlgPushItem* removeItem_ = nullptr;
    int refreshDepth_ = 0;  // refreshes under way
    int heldBackEdits_ = 0; // edits raised by them, to run when they end
};

// ---------------------------------------------------------------------------------------------
// Display
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::Display() {
    Attribute& owner = owner_;
    if (!owner.StartDisplay(&Attribute::AttributeModified)) {
        return;
    }
    window_ = KesMfgValueWindow(visibleFieldCount_);
    const int referenceCount = reference_.Size();

    valueFrame_ = new KesDlgFrame(&owner, "FrameValues", kes::kFrameStyle);
    valueFrame_->SetDefaultOrientation(kes::kColumn);
    if (countModificationMode_ == 0) {
        auto* menu = new KesDlgContextualMenu(valueFrame_, "ContextMenu", kes::kPlainStyle);
        addItem_ = new KesDlgPushItem(menu, "Add", kes::kPlainStyle);
        owner.AddAnalyseNotificationCB(addItem_, addItem_->GetMenuIActivateNotification(),
                                       &Attribute::AddValue, nullptr);
        removeItem_ = new KesDlgPushItem(menu, "Remove", kes::kPlainStyle);
        owner.AddAnalyseNotificationCB(removeItem_, removeItem_->GetMenuIActivateNotification(),
                                       &Attribute::RemoveValue, nullptr);
        if (current_.Size() == 1) {
            removeItem_->SetVisibility(kes::kHidden);
        }
    }

    kind_ = owner.DisplayedFieldKind();
    for (int i = 1; i <= window_.FieldCount(); ++i) {
        const bool hasReference = i <= referenceCount;
        KesDialog* field = owner.BuildField(valueFrame_, hasReference ? &reference_[i] : nullptr);
        if (!hasReference) {
            field->SetVisibility(kes::kHidden);
        }
        fields_.Append(field);
    }

    scrollBar_ = new KesDlgScrollBar(&owner, "Scrol", kes::kScrollBarStyle);
    SettleScrollBar(0);
    owner.AddAnalyseNotificationCB(scrollBar_, scrollBar_->GetScrollBarModifyNotification(),
                                   &Attribute::ScrollModified, nullptr);
    owner.AddAnalyseNotificationCB(scrollBar_, scrollBar_->GetScrollBarDragNotification(),
                                   &Attribute::ScrollModified, nullptr);

    if (Attribute::kListRules.laysOut) {
        if (owner.optionCheck_ != nullptr) {
            owner.SetHorizontalAttachment(
                1, 1, {owner.optionCheck_, owner.labelWidget_, valueFrame_, scrollBar_, nullptr});
        } else {
            owner.SetHorizontalAttachment(1, 1,
                                          {owner.labelWidget_, valueFrame_, scrollBar_, nullptr});
        }
        owner.SetHorizontalAttachment(2, 3, {valueFrame_, scrollBar_, nullptr});
    }
    owner.FinishDisplay();

    if (Attribute::kListRules.keepsDefinedFlags) {
        if (owner.toBeDefined_ == 1) {
            flags_.Size(referenceCount, 0);
            undefinedCount_ = referenceCount;
        }
    } else {
        owner.toBeDefined_ = 0; // the fields show the values anyway
    }
}

// ---------------------------------------------------------------------------------------------
// Window refresh
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
int KesMfgValueList<Attribute, Value, Values>::SettleScrollBar(int position) {
    const KesMfgValueWindow::Scroll scroll = window_.Settle(position, current_.Size());
    scrollBar_->SetScrollRange(0, scroll.rangeMaximum);
    scrollBar_->SetScrollBoxSize(scroll.boxSize);
    scrollBar_->SetScrollPos(scroll.position, kes::kNoNotify);
    return scroll.position;
}

template <class Attribute, class Value, class Values>
int KesMfgValueList<Attribute, Value, Values>::ScrollPosition() const {
    return scrollBar_ != nullptr
               ? window_.ClampPosition(scrollBar_->GetScrollPos(), current_.Size())
               : 0;
}

template <class Attribute, class Value, class Values>
bool KesMfgValueList<Attribute, Value, Values>::ShowWindow(int position, int notify,
                                                           bool wholeWindow) {
    const int count = current_.Size();
    ++refreshDepth_;
    for (int i = 1; i <= fields_.Size(); ++i) {
        KesDialog* field = fields_[i];
        const int index = window_.ValueIndex(position, i, count);
        if (index != 0) {
            owner_.ShowValue(field, current_[index], IsDefined(index), notify);
            if (wholeWindow) {
                field->SetVisibility(kes::kShown);
            }
        } else if (wholeWindow) {
            owner_.ShowValue(field, owner_.FillerValue(), true, notify);
            field->SetVisibility(kes::kHidden);
        } else {
            break; // the fields beyond show no value and keep what they carry
        }
    }
    --refreshDepth_;
    if (refreshDepth_ > 0) {
        return true;
    }
    // The edits the refresh raised, now that every field shows its new value.
    const std::shared_ptr<const bool> alive = owner_.GetAliveToken();
    while (heldBackEdits_ > 0) {
        --heldBackEdits_;
        owner_.AttributeModified(nullptr, nullptr, nullptr);
        if (!*alive) {
            return false;
        }
    }
    return true;
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::Scroll() {
    if (!owner_.IsDisplayed()) {
        return;
    }
    ShowWindow(ScrollPosition(), RefreshNotify(), false);
}

template <class Attribute, class Value, class Values>
bool KesMfgValueList<Attribute, Value, Values>::HoldBackDuringRefresh() {
    if (refreshDepth_ == 0) {
        return false;
    }
    ++heldBackEdits_;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Edits
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
KesDialog* KesMfgValueList<Attribute, Value, Values>::FindField(const KesCommand* sender) const {
    if (sender == nullptr) {
        return nullptr;
    }
    for (int i = 1; i <= fields_.Size(); ++i) {
        if (fields_[i] == sender) {
            return fields_[i];
        }
    }
    return nullptr;
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::StoreShownFields(int position) {
    const int count = current_.Size();
    const bool editors = KesMfgIsEditorKind(kind_);
    for (int i = 1; i <= fields_.Size(); ++i) {
        const KesDialog* field = fields_[i];
        const int index = window_.ValueIndex(position, i, count);
        if (field->GetVisibility() != kes::kShown || index == 0) {
            continue;
        }
        const KesMfgFieldSample<Value> sample = owner_.ReadField(field);
        if (editors && KeepsFlags()) {
            SetDefined(index, sample.defined);
        }
        current_[index] = sample.value; // in place: the rest of the list does not move
    }
    if (editors && KeepsFlags() && undefinedCount_ == 0) {
        EndToBeDefined();
    }
}

template <class Attribute, class Value, class Values>
int KesMfgValueList<Attribute, Value, Values>::WriteScrollPosition() const {
    const int position = ScrollPosition();
    std::cout << "SCROLL POS :" << position << std::endl;
    return position;
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::RecordEdit() {
    if (!owner_.IsDisplayed()) {
        return;
    }
    StoreShownFields(WriteScrollPosition());
    owner_.SendModification();
}

// ---------------------------------------------------------------------------------------------
// Adding and removing
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::Add() {
    if (!owner_.IsDisplayed()) {
        return;
    }
    current_.Append(owner_.FillerValue()); // always at the end, whatever field the menu was on
    if (Attribute::kListRules.addRemoveDefine) {
        EndToBeDefined(); // before the refresh, so that it shows every value as given
    }
    if (KeepsFlags() && flags_.Size() == current_.Size() - 1) {
        flags_.Append(1);
    }
    const int position = SettleScrollBar(ScrollPosition());
    if (RefreshesOnAddRemove() && !ShowWindow(position, RefreshNotify(), true)) {
        return;
    }
    if (removeItem_ != nullptr) {
        // Shown, save at exactly one value (an empty list given one): the user cannot remove
        // the last value.
        removeItem_->SetVisibility(current_.Size() == 1 ? kes::kHidden : kes::kShown);
    }
    owner_.SendModification();
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::Remove() {
    if (!owner_.IsDisplayed() || current_.Size() == 0) {
        return; // an empty list stays empty: nothing to drop, nothing to report
    }
    const int count = current_.Size() - 1;
    current_.Size(count); // the last value, whatever field the menu was on
    if (Attribute::kListRules.addRemoveDefine) {
        EndToBeDefined(); // before the refresh, so that it shows every value as given
    }
    if (KeepsFlags()) {
        TruncateFlags(count);
    }
    // A full window that showed the dropped value moves up by one (the settled position).
    const int position = SettleScrollBar(ScrollPosition());
    if (RefreshesOnAddRemove() && !ShowWindow(position, RefreshNotify(), true)) {
        return;
    }
    if (count == 1 && removeItem_ != nullptr) {
        removeItem_->SetVisibility(kes::kHidden); // the user cannot remove the last value
    }
    owner_.SendModification();
}

// ---------------------------------------------------------------------------------------------
// Defined flags
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
bool KesMfgValueList<Attribute, Value, Values>::IsDefined(int index) const {
    return !KeepsFlags() || !flags_.IsValidPosition(index) || flags_[index] != 0;
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::SetDefined(int index, bool defined) {
    if (!flags_.IsValidPosition(index)) {
        if (defined) {
            return; // beyond the flags every value counts as given
        }
        flags_.Size(index, 1);
    }
    const int flag = defined ? 1 : 0;
    if (flags_[index] != flag) {
        undefinedCount_ += defined ? -1 : 1;
        flags_[index] = flag;
    }
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::TruncateFlags(int count) {
    while (flags_.Size() > count) {
        undefinedCount_ -= flags_[flags_.Size()] == 0 ? 1 : 0;
        flags_.Size(flags_.Size() - 1);
    }
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::EndToBeDefined() {
    owner_.toBeDefined_ = 0;
    flags_.RemoveAll(); // no longer consulted
    undefinedCount_ = 0;
}

// ---------------------------------------------------------------------------------------------
// Value exchange
// ---------------------------------------------------------------------------------------------
template <class Attribute, class Value, class Values>
Values* KesMfgValueList<Attribute, Value, Values>::OwnVector(KesRawCollint* ints,
                                                             KesRawColldouble* reals,
                                                             KesListValKesUnicodeString* texts) {
    if constexpr (std::is_same_v<Values, KesRawCollint>) {
        return ints;
    } else if constexpr (std::is_same_v<Values, KesRawColldouble>) {
        return reals;
    } else {
        static_assert(std::is_same_v<Values, KesListValKesUnicodeString>, "a value vector");
        return texts;
    }
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::SetValues(KesRawCollint* ints,
                                                          KesRawColldouble* reals,
                                                          KesListValKesUnicodeString* texts,
                                                          int notify) {
    if (!owner_.IsDisplayed()) {
        return;
    }
    const bool showedValuesNotGiven = KeepsFlags();
    EndToBeDefined();
    const Values* given = OwnVector(ints, reals, texts);
    if (given == nullptr || given->Size() == 0) {
        if (showedValuesNotGiven) {
            ShowWindow(ScrollPosition(), 0, false); // the values reported from now on show
        }
        return; // the list stays as it is
    }
    if constexpr (Attribute::kListRules.convertsUnits) {
        Values shown;
        for (int i = 1; i <= given->Size(); ++i) {
            shown.Append(owner_.ToShown((*given)[i]));
        }
        current_ = std::move(shown);
    } else {
        current_ = *given;
    }
    if (!ShowWindow(SettleScrollBar(0), 0, true)) {
        return;
    }
    if (removeItem_ != nullptr) {
        // As Display shows it: the user cannot remove the last value, and can remove any other.
        removeItem_->SetVisibility(current_.Size() == 1 ? kes::kHidden : kes::kShown);
    }
    if (notify == 1) {
        owner_.SendModification();
    }
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::AppendRecord(
    KesListValKesUnicodeString* names, KesRawCollint* typeCodes, KesRawCollint* counts,
    KesRawCollint* ints, KesRawColldouble* reals, KesListValKesUnicodeString* texts) const {
    Values* out = OwnVector(ints, reals, texts);
    if constexpr (Attribute::kListRules.convertsUnits) {
        Values outgoing;
        for (int i = 1; i <= current_.Size(); ++i) {
            outgoing.Append(owner_.ToCaller(current_[i]));
        }
        owner_.AppendListRecord(names, typeCodes, counts, Attribute::kListRules.typeCode, out,
                                outgoing);
    } else {
        owner_.AppendListRecord(names, typeCodes, counts, Attribute::kListRules.typeCode, out,
                                current_);
    }
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::Output(int group, KesListValKesUnicodeString* names,
                                                       KesRawCollint* typeCodes,
                                                       KesRawCollint* counts, KesRawCollint* ints,
                                                       KesRawColldouble* reals,
                                                       KesListValKesUnicodeString* texts) const {
    if (!owner_.IsDisplayed() || !owner_.OutputConcerns(group) ||
        !owner_.RecordDue(current_ != reference_)) {
        return;
    }
    AppendRecord(names, typeCodes, counts, ints, reals, texts);
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::GetAttValue(
    int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes, KesRawCollint* counts,
    KesRawCollint* ints, KesRawColldouble* reals, KesListValKesUnicodeString* texts) const {
    if (group != nullptr) {
        *group = owner_.group_;
    }
    if (!owner_.IsDisplayed() || owner_.toBeDefined_ != 0) {
        return;
    }
    AppendRecord(names, typeCodes, counts, ints, reals, texts);
}

template <class Attribute, class Value, class Values>
void KesMfgValueList<Attribute, Value, Values>::SetHelp(
    const KesListValKesUnicodeString& help, const KesListValKesUnicodeString& shortHelp) {
    if (!owner_.IsDisplayed()) {
        return;
    }
    KesDialog* optionCheck = owner_.optionMode_ == 1 ? owner_.optionCheck_ : nullptr;
    if (help.Size() == 1) {
        valueFrame_->SetHelp(help[1]);
        if (optionCheck != nullptr) {
            optionCheck->SetHelp(help[1]);
        }
    }
    if (shortHelp.Size() == 1) {
        for (int i = 1; i <= fields_.Size(); ++i) {
            fields_[i]->SetShortHelp(shortHelp[1]);
        }
        if (optionCheck != nullptr) {
            optionCheck->SetShortHelp(shortHelp[1]);
        }
    }
}
