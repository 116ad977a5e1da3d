// KesPanelChecks: the invariants of any panel, checked attribute by attribute.
//
// Index:
//   Classes and helpers    recognising the class of an attribute, texts for the messages
//   Records                Output and GetAttValue: groups, form, values, agreement
//   Widgets                windows and scroll bars, selections, combos, the option button
//   Sensitivity            read-only and unchecked attributes
//   Entry points
#include "tools/KesPanelChecks.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgRealText.h"
#include "framework/KesMfgValueRecords.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <sstream>

std::string KesPanelFault::Text() const {
    std::string text = attribute.empty() ? invariant : attribute + ": " + invariant;
    return detail.empty() ? text : text + " (" + detail + ")";
}

// ---------------------------------------------------------------------------------------------
// Classes and helpers
// ---------------------------------------------------------------------------------------------
namespace {

enum class Kind {
    Other,
    Int,
    Double,
    Char,
    Logic,
    Link,
    IntList,
    CharList,
    MVInt,
    MVDouble,
    MVChar,
    MVCharList,
    MVLogic,
    DoubleParam,
};

Kind KindOf(const KesMfgAttribute& attribute) {
    const KesMfgAttribute* a = &attribute;
    if (dynamic_cast<const KesMfgAttInt*>(a))
        return Kind::Int;
    if (dynamic_cast<const KesMfgAttDouble*>(a))
        return Kind::Double;
    if (dynamic_cast<const KesMfgAttChar*>(a))
        return Kind::Char;
    if (dynamic_cast<const KesMfgAttLogic*>(a))
        return Kind::Logic;
    if (dynamic_cast<const KesMfgAttLink*>(a))
        return Kind::Link;
    if (dynamic_cast<const KesMfgAttIntList*>(a))
        return Kind::IntList;
    if (dynamic_cast<const KesMfgAttCharList*>(a))
        return Kind::CharList;
    if (dynamic_cast<const KesMfgAttMVInt*>(a))
        return Kind::MVInt;
    if (dynamic_cast<const KesMfgAttMVDouble*>(a))
        return Kind::MVDouble;
    if (dynamic_cast<const KesMfgAttMVChar*>(a))
        return Kind::MVChar;
    if (dynamic_cast<const KesMfgAttMVCharList*>(a))
        return Kind::MVCharList;
    if (dynamic_cast<const KesMfgAttMVLogic*>(a))
        return Kind::MVLogic;
    if (dynamic_cast<const KesMfgAttDoubleParam*>(a))
        return Kind::DoubleParam;
    return Kind::Other;
}

// The type code of each class's value record; -1 when any is fine (the link relays what it was
// given, a class the checks do not know).
int TypeCodeOf(Kind kind) {
    switch (kind) {
    case Kind::Logic:
    case Kind::MVLogic:
        return KesMfgAttribute::kBooleanType;
    case Kind::Int:
    case Kind::IntList:
    case Kind::MVInt:
        return KesMfgAttribute::kIntegerType;
    case Kind::Double:
    case Kind::MVDouble:
    case Kind::DoubleParam:
        return KesMfgAttribute::kRealType;
    case Kind::Char:
    case Kind::CharList:
    case Kind::MVChar:
    case Kind::MVCharList:
        return KesMfgAttribute::kTextType;
    default:
        return -1;
    }
}

bool IsMultiValue(Kind kind) {
    return kind == Kind::MVInt || kind == Kind::MVDouble || kind == Kind::MVChar ||
           kind == Kind::MVCharList || kind == Kind::MVLogic;
}

KesPanelFault Fault(std::string invariant, std::string detail = std::string()) {
    return KesPanelFault{std::string(), std::move(invariant), std::move(detail)};
}

std::string Number(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

std::string Quoted(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (unsigned char c : text.substr(0, 40)) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out << "\\x" << kHex[c >> 4] << kHex[c & 15];
        } else {
            out << c;
        }
    }
    out << (text.size() > 40 ? "\"...(" + std::to_string(text.size()) + " bytes)" : "\"");
    return out.str();
}

std::string Table(const KesMfgValueRecords& records) {
    std::string table = records.FormatTable();
    std::replace(table.begin(), table.end(), '\n', ';');
    return table;
}

bool SameReal(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool SameRecords(const KesMfgValueRecords& a, const KesMfgValueRecords& b) {
    return a.names == b.names && a.typeCodes == b.typeCodes && a.counts == b.counts &&
           a.ints == b.ints && a.texts == b.texts && a.reals.Size() == b.reals.Size() &&
           std::equal(a.reals.Items().begin(), a.reals.Items().end(), b.reals.Items().begin(),
                      SameReal);
}

// Within the limits (in either order) as a real field shows them: a value brought back to a
// limit is written with six significant digits, so it may lie beyond the limit by that rounding.
bool WithinLimits(double value, double minimum, double maximum) {
    const double low = std::min(minimum, maximum);
    const double high = std::max(minimum, maximum);
    return value >= low - std::fabs(low) * 1e-5 && value <= high + std::fabs(high) * 1e-5;
}

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------
KesPanelFault CheckListRecord(KesMfgAttribute& attribute, Kind kind,
                              const KesMfgValueRecords::Record& record) {
    int size = 0;
    bool same = true;
    switch (kind) {
    case Kind::MVInt: {
        const auto& values =
            static_cast<const KesMfgAttMVInt&>(attribute).GetValueList().GetCurrentValues();
        size = values.Size();
        same = record.ints == values.Items();
        break;
    }
    case Kind::MVLogic: {
        const auto& values =
            static_cast<const KesMfgAttMVLogic&>(attribute).GetValueList().GetCurrentValues();
        size = values.Size();
        same = record.ints == values.Items();
        break;
    }
    case Kind::MVDouble:
        size = static_cast<const KesMfgAttMVDouble&>(attribute)
                   .GetValueList()
                   .GetCurrentValues()
                   .Size();
        break;
    case Kind::MVChar: {
        const auto& values =
            static_cast<const KesMfgAttMVChar&>(attribute).GetValueList().GetCurrentValues();
        size = values.Size();
        same = record.texts == values.Items();
        break;
    }
    default: {
        const auto& values = static_cast<const KesMfgAttMVCharList&>(attribute).GetCurrentValues();
        size = values.Size();
        same = record.texts == values.Items();
    }
    }
    if (record.count != size) {
        return Fault("a list's record counts other than its values",
                     std::to_string(size) + " values, count " + std::to_string(record.count));
    }
    return same ? KesPanelFault() : Fault("a list's record holds other values than the list");
}

KesPanelFault CheckSingleValue(KesMfgAttribute& attribute, Kind kind,
                               const KesMfgValueRecords::Record& record) {
    switch (kind) {
    case Kind::Int: {
        const auto& integer = static_cast<const KesMfgAttInt&>(attribute);
        const int value = record.ints.front();
        if (integer.HasLimits() && integer.GetSpinnerWidget() != nullptr &&
            (value < std::min(integer.GetMinimum(), integer.GetMaximum()) ||
             value > std::max(integer.GetMinimum(), integer.GetMaximum()))) {
            return Fault("an integer outside its limits", std::to_string(value));
        }
        break;
    }
    case Kind::Double:
    case Kind::DoubleParam: {
        if (!std::isfinite(record.reals.front())) {
            return Fault("a real that is not finite", Number(record.reals.front()));
        }
        double shown = 0.0, minimum = 0.0, maximum = 0.0;
        bool limited = false;
        if (kind == Kind::Double) {
            auto& real = static_cast<KesMfgAttDouble&>(attribute);
            shown = real.GetAttValue();
            limited = real.HasLimits();
            minimum = real.GetMinimum();
            maximum = real.GetMaximum();
        } else {
            auto& param = static_cast<KesMfgAttDoubleParam&>(attribute);
            shown = param.GetShownValue();
            limited = param.HasLimits();
            minimum = param.GetMinimum();
            maximum = param.GetMaximum();
        }
        if (limited && !WithinLimits(shown, minimum, maximum)) {
            return Fault("a real outside its limits",
                         Number(shown) + " not in " + Number(minimum) + ".." + Number(maximum));
        }
        break;
    }
    case Kind::Char:
        if (record.texts.front().GetLengthInChar() != KesMfgAttChar::kTextLength) {
            return Fault("a text that is not of 72 characters");
        }
        break;
    case Kind::Logic:
        if (record.ints.front() != 0 && record.ints.front() != 1) {
            return Fault("a boolean other than 0 and 1", std::to_string(record.ints.front()));
        }
        break;
    case Kind::IntList:
        if (static_cast<const KesMfgAttIntList&>(attribute).GetAllowedValues().Locate(
                record.ints.front()) == 0) {
            return Fault("a value that is not allowed", std::to_string(record.ints.front()));
        }
        break;
    case Kind::CharList: {
        const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
        if (list.GetPresentationMode() != KesMfgAttCharList::kEditableComboMode &&
            list.GetAllowedValues().Locate(record.texts.front()) == 0) {
            return Fault("a value that is not allowed", Quoted(record.texts.front().Str()));
        }
        break;
    }
    default:
        break;
    }
    return KesPanelFault();
}

KesPanelFault CheckRecord(KesMfgAttribute& attribute, Kind kind,
                          const KesMfgValueRecords::Record& record, bool fromOutput) {
    if (!(record.name == attribute.GetRecordName())) {
        return Fault("the record carries another name", Quoted(record.name.Str()));
    }
    if (TypeCodeOf(kind) >= 0 && record.typeCode != TypeCodeOf(kind)) {
        return Fault("the record carries another type code", std::to_string(record.typeCode));
    }
    if (record.count == -1) {
        if (kind != Kind::DoubleParam) {
            return Fault("a count of -1 from a class that binds no parameter");
        }
        if (record.texts.size() != 1 || record.texts.front().GetLengthInChar() != 72) {
            return Fault("a bound value's parameter name is not one text of 72 characters");
        }
        return KesPanelFault();
    }
    if (attribute.GetOptionState() == 0) {
        return record.count == 0 ? KesPanelFault()
                                 : Fault("an unchecked attribute reported values");
    }
    if (IsMultiValue(kind)) {
        return CheckListRecord(attribute, kind, record);
    }
    if (record.count == 0) {
        // A boolean shown as two radio buttons may have neither on.
        const bool neitherRadio = kind == Kind::Logic && fromOutput;
        return neitherRadio || kind == Kind::Other ? KesPanelFault()
                                                   : Fault("a checked attribute reported no value");
    }
    if (record.count != 1) {
        return Fault("a single value reported several", std::to_string(record.count));
    }
    return CheckSingleValue(attribute, kind, record);
}

KesPanelFault CheckRecords(KesMfgAttribute& attribute, Kind kind) {
    KesMfgValueRecords other;
    other.Output(attribute, attribute.GetGroup() == INT_MAX ? 1 : attribute.GetGroup() + 1);
    other.Output(attribute, attribute.GetGroup() == INT_MIN ? 1 : INT_MIN);
    if (!other.IsEmpty()) {
        return Fault("Output for another group appended a record", Table(other));
    }
    KesMfgValueRecords output;
    output.Output(attribute, attribute.GetGroup());
    KesMfgValueRecords values;
    if (values.GetAttValue(attribute) != attribute.GetGroup()) {
        return Fault("GetAttValue wrote another group number");
    }
    if (kind == Kind::Link) {
        // The link relays what it was handed: Output nothing before, the same as GetAttValue
        // after.
        return output.IsEmpty() || SameRecords(output, values)
                   ? KesPanelFault()
                   : Fault("the link's Output differs from its GetAttValue",
                           Table(output) + " / " + Table(values));
    }
    std::vector<KesMfgValueRecords::Record> outputRecords;
    std::vector<KesMfgValueRecords::Record> valueRecords;
    std::string error;
    if (!output.Split(outputRecords, &error)) {
        return Fault("Output appended malformed records", error);
    }
    if (!values.Split(valueRecords, &error)) {
        return Fault("GetAttValue appended malformed records", error);
    }
    if (outputRecords.size() > 1 || valueRecords.size() > 1) {
        return Fault("more than one record", Table(output) + " / " + Table(values));
    }
    if (attribute.IsToBeDefined() != 0 && (!outputRecords.empty() || !valueRecords.empty())) {
        return Fault("a record while the value is to be defined",
                     Table(output) + " / " + Table(values));
    }
    for (const auto* records : {&outputRecords, &valueRecords}) {
        if (!records->empty()) {
            KesPanelFault fault =
                CheckRecord(attribute, kind, records->front(), records == &outputRecords);
            if (!fault.IsEmpty()) {
                fault.detail += (fault.detail.empty() ? "" : "; ") +
                                Table(records == &outputRecords ? output : values);
                return fault;
            }
        }
    }
    if (!outputRecords.empty() && !valueRecords.empty() &&
        outputRecords.front().count == valueRecords.front().count &&
        (outputRecords.front().ints != valueRecords.front().ints ||
         outputRecords.front().texts != valueRecords.front().texts ||
         outputRecords.front().reals.size() != valueRecords.front().reals.size() ||
         !std::equal(outputRecords.front().reals.begin(), outputRecords.front().reals.end(),
                     valueRecords.front().reals.begin(), SameReal))) {
        return Fault("Output and GetAttValue report different values",
                     Table(output) + " / " + Table(values));
    }
    return KesPanelFault();
}

// ---------------------------------------------------------------------------------------------
// Widgets
// ---------------------------------------------------------------------------------------------
KesUnicodeString Cut(const KesUnicodeString& text) {
    KesUnicodeString cut = text;
    if (cut.GetLengthInChar() > KesMfgAttChar::kTextLength) {
        cut.Resize(KesMfgAttChar::kTextLength, ' ', 1);
    }
    return cut;
}

// What a value field shows, for the messages.
std::string Shown(const KesDialog* field) {
    switch (field->GetKind()) {
    case KesDlgKind::Editor:
        return "text " + Quoted(static_cast<const KesDlgEditor*>(field)->GetText().Str());
    case KesDlgKind::Spinner:
        return "spinner " + Number(static_cast<const KesDlgSpinner*>(field)->GetValue());
    case KesDlgKind::CheckButton:
        return static_cast<const KesDlgCheckButton*>(field)->IsOn() ? "on" : "off";
    default:
        return "?";
    }
}
std::string Value(int value) {
    return std::to_string(value);
}
std::string Value(double value) {
    return Number(value);
}
std::string Value(const KesUnicodeString& value) {
    return Quoted(value.Str());
}

// The window of a list: the scroll bar runs over 0..n with a box of min(V, n) and a position
// within 0..n - box; field i shows value p + i when i <= box and is hidden beyond.
template <class List, class Shows> KesPanelFault CheckWindow(const List& list, Shows shows) {
    const KesDlgScrollBar* bar = list.GetValueScrollBar();
    if (bar == nullptr) {
        return KesPanelFault(); // not displayed
    }
    const auto& values = list.GetCurrentValues();
    const int count = values.Size();
    const int fieldCount = std::max(list.GetVisibleFieldCount(), 0);
    const int box = std::min(fieldCount, count);
    const int position = bar->GetScrollPos();
    if (bar->GetScrollMinimum() != 0 || bar->GetScrollMaximum() != count ||
        bar->GetScrollBoxSize() != box || position < 0 || position > count - box) {
        return Fault("the scroll bar does not fit the list",
                     "range " + std::to_string(bar->GetScrollMinimum()) + ".." +
                         std::to_string(bar->GetScrollMaximum()) + ", box " +
                         std::to_string(bar->GetScrollBoxSize()) + ", position " +
                         std::to_string(position) + " for " + std::to_string(count) +
                         " values in " + std::to_string(fieldCount) + " fields");
    }
    const auto& fields = list.GetValueFields();
    if (fields.Size() != fieldCount) {
        return Fault("the window has another number of fields", std::to_string(fields.Size()));
    }
    for (int i = 1; i <= fieldCount; ++i) {
        const KesDialog* field = fields[i];
        const bool shown = field->GetVisibility() == kes::kShown;
        if (i > box) {
            if (shown) {
                return Fault("a field is shown beyond the values", "field " + std::to_string(i));
            }
            continue;
        }
        if (!shown) {
            return Fault("a field is hidden though it shows a value", "field " + std::to_string(i));
        }
        if (!shows(field, values[position + i])) {
            return Fault("a field does not show its value",
                         "field " + std::to_string(i) + " shows " + Shown(field) + ", value " +
                             std::to_string(position + i) + " is " + Value(values[position + i]) +
                             ", scroll position " + std::to_string(position));
        }
    }
    return KesPanelFault();
}

// Every current value that has a line has its line selected.
KesPanelFault CheckSelection(const KesMfgAttMVCharList& list) {
    const KesDlgSelectorList* selector = list.GetSelectorList();
    if (selector == nullptr || list.IsToBeDefined() != 0) { // nothing shown yet
        return KesPanelFault();
    }
    const KesListValKesUnicodeString& allowed = list.GetAllowedValues();
    for (const KesUnicodeString& value : list.GetCurrentValues().Items()) {
        const int position = allowed.Locate(value);
        if (position != 0 && position <= selector->GetLineCount() &&
            !selector->IsSelected(position - 1)) {
            return Fault("the line of a current value is not selected", Quoted(value.Str()));
        }
    }
    return KesPanelFault();
}

// A read-only combo shows the selected line in its field.
KesPanelFault CheckCombo(const KesDlgCombo* combo) {
    if (combo == nullptr) {
        return KesPanelFault();
    }
    const int row = combo->GetSelect();
    if (row < -1 || row >= combo->GetLineCount()) {
        return Fault("the combo selects a row it does not have", std::to_string(row));
    }
    if (row >= 0 && !(combo->GetField() == combo->GetLine(row))) {
        return Fault("the combo's field is not its selected line");
    }
    return KesPanelFault();
}

KesPanelFault CheckWidgets(KesMfgAttribute& attribute, Kind kind) {
    if (attribute.GetOptionMode() == 1 && attribute.GetOptionCheckButton() != nullptr &&
        attribute.GetOptionState() != (attribute.GetOptionCheckButton()->IsOn() ? 1 : 0)) {
        return Fault("the option state does not follow the option check button");
    }
    const bool toBeDefined = attribute.IsToBeDefined() != 0;
    switch (kind) {
    case Kind::MVInt:
        return CheckWindow(
            static_cast<const KesMfgAttMVInt&>(attribute).GetValueList(),
            [&](const KesDialog* field, int value) {
                if (field->GetKind() == KesDlgKind::Spinner) {
                    const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                    return !spinner->HasRange() ||
                           spinner->GetValue() == std::clamp(static_cast<double>(value),
                                                             spinner->GetMinimum(),
                                                             spinner->GetMaximum());
                }
                const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
                int shown = 0;
                return (text.IsEmpty() && toBeDefined) ||
                       (text.ConvertToNum(&shown, "%d") && shown == value);
            });
    case Kind::MVDouble:
        return CheckWindow(
            static_cast<const KesMfgAttMVDouble&>(attribute).GetValueList(),
            [&](const KesDialog* field, double value) {
                if (field->GetKind() == KesDlgKind::Spinner) {
                    const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                    // A spinner keeps its value when given NaN.
                    return std::isnan(value) || !spinner->HasRange() ||
                           spinner->GetValue() ==
                               std::clamp(value, spinner->GetMinimum(), spinner->GetMaximum());
                }
                const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
                double read = 0.0;
                KesMfgReadRealText(text, &read);
                KesUnicodeString formatted;
                formatted.BuildFromNum(value, "%g");
                return (text.IsEmpty() && toBeDefined) || text == formatted || read == value;
            });
    case Kind::MVChar:
        return CheckWindow(static_cast<const KesMfgAttMVChar&>(attribute).GetValueList(),
                           [&](const KesDialog* field, const KesUnicodeString& value) {
                               const KesUnicodeString& text =
                                   static_cast<const KesDlgEditor*>(field)->GetText();
                               // Display shows the texts without their surrounding blanks, later
                               // refreshes as they are stored.
                               return (text.IsEmpty() && toBeDefined) || text == Cut(value) ||
                                      text == Cut(value.Strip(3, ' '));
                           });
    case Kind::MVLogic:
        return CheckWindow(static_cast<const KesMfgAttMVLogic&>(attribute).GetValueList(),
                           [](const KesDialog* field, int value) {
                               return static_cast<const KesDlgCheckButton*>(field)->IsOn() ==
                                      (value == 1);
                           });
    case Kind::MVCharList:
        return CheckSelection(static_cast<const KesMfgAttMVCharList&>(attribute));
    case Kind::IntList:
        return CheckCombo(static_cast<const KesMfgAttIntList&>(attribute).GetComboWidget());
    case Kind::CharList: {
        const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
        return list.GetPresentationMode() == KesMfgAttCharList::kComboMode
                   ? CheckCombo(list.GetComboWidget())
                   : KesPanelFault();
    }
    default:
        return KesPanelFault();
    }
}

// ---------------------------------------------------------------------------------------------
// Sensitivity
// ---------------------------------------------------------------------------------------------

// A read-only attribute keeps every child but its label (and a trailing scroll bar) insensitive;
// so does an unchecked optional attribute, the option check button apart.
KesPanelFault CheckSensitivity(const KesMfgAttribute& attribute) {
    const bool readOnly = attribute.GetEditMode() == 0;
    const bool unchecked = attribute.GetOptionMode() == 1 && attribute.GetOptionState() == 0 &&
                           attribute.GetOptionCheckButton() != nullptr;
    if (!attribute.IsDisplayed() || (!readOnly && !unchecked)) {
        return KesPanelFault();
    }
    int end = attribute.GetChildCount();
    if (attribute.HasTrailingScrollBar() == 1) {
        --end;
    }
    for (int i = 0; i < end; ++i) {
        const KesDialog* child = attribute.GetChildFromChildNumber(i);
        // A dialog is a window of its own: one opened before the attribute turned read-only or
        // unchecked keeps its own sensitivity.
        if (child == attribute.GetLabelWidget() || child->GetKind() == KesDlgKind::Dialog ||
            (!readOnly && child == attribute.GetOptionCheckButton())) {
            continue;
        }
        if (child->GetSensitivity() != kes::kInsensitive) {
            return Fault(std::string(readOnly ? "a read-only" : "an unchecked") +
                             " attribute has a sensitive child",
                         child->GetName().Str());
        }
    }
    return KesPanelFault();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Entry points
// ---------------------------------------------------------------------------------------------
KesPanelFault KesPanelChecks::CheckAttribute(KesMfgAttribute& attribute) {
    const Kind kind = KindOf(attribute);
    KesPanelFault fault = CheckRecords(attribute, kind);
    if (fault.IsEmpty()) {
        fault = CheckWidgets(attribute, kind);
    }
    if (fault.IsEmpty()) {
        fault = CheckSensitivity(attribute);
    }
    if (!fault.IsEmpty()) {
        fault.attribute = attribute.GetRecordName().Str();
    }
    return fault;
}

KesPanelFault KesPanelChecks::Check(const std::vector<KesMfgAttribute*>& attributes) {
    for (KesMfgAttribute* attribute : attributes) {
        KesPanelFault fault = CheckAttribute(*attribute);
        if (!fault.IsEmpty()) {
            return fault;
        }
    }
    return KesPanelFault();
}
