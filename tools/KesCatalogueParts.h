// KesCatalogueParts: what the rows of the attribute catalogue share (tools only): the keys every
// class takes, the helpers of the invariant checks (faults, values shown, windows, combos) and of
// the checks of meaning (limits, units, choices), and the rows of each family.
#pragma once

#include "tools/KesAttributeCatalogue.h"

#include "framework/KesMfgRealText.h"
#include "framework/KesMfgUnitConversion.h"
#include "platform/KesDlgCheckButton.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSpinner.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kes_catalogue {

// -------------------------------------------------------------------------------------------
// The rows of each family, in the order of the documentation (KesAttributeCatalogue::Rows
// checks their count against kClassCount when first used)
// -------------------------------------------------------------------------------------------

std::vector<KesCatalogueRow> SingleRows();
std::vector<KesCatalogueRow> ChoiceRows();
std::vector<KesCatalogueRow> MultiRows();
std::vector<KesCatalogueRow> ParamRows();

// A row's isA: the attribute is of class `Class` (or derives from it).
template <class Class> bool IsA(const KesMfgAttribute& attribute) {
    return dynamic_cast<const Class*>(&attribute) != nullptr;
}

// The callback AttributeModified of class `Class`, called with null arguments.
template <class Class> KesCatalogueCallback Modified() {
    return {"AttributeModified", [](KesMfgAttribute& a) {
                static_cast<Class&>(a).AttributeModified(nullptr, nullptr, nullptr);
            }};
}

// -------------------------------------------------------------------------------------------
// Keys
// -------------------------------------------------------------------------------------------

using Kind = KesPanelValueKind;
using Keys = std::vector<KesCatalogueKey>;

inline Keys Join(std::initializer_list<Keys> parts) {
    Keys joined;
    for (const Keys& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

// name, label, group: every class.
Keys Head();
// The base setters every attribute but the link takes.
Keys Settings();
// Unit codes and flag of the reals.
Keys Units();
// minimum, maximum (of `kind`, Integer or Real) and, for reals, stepHint.
Keys Range(Kind kind);
// SetIconNames: the boolean and the choice lists.
Keys Icons();
// SetNbVisibleVals and, unless `visibleOnly`, SetNbValModifMode: the lists.
Keys Window(bool visibleOnly = false);

// `key`, a boolean held as 0 and 1, which a file may write true and false.
inline KesCatalogueKey Truth(KesCatalogueKey key) {
    key.truth = true;
    return key;
}

// The key a class calls `value` (required), of `kind`, with the catalogue test's `sample`.
KesCatalogueKey Value(Kind kind, const char* sample, const char* meaning, int minimum = INT_MIN,
                      int maximum = INT_MAX);

// -------------------------------------------------------------------------------------------
// Helpers of the invariant checks
// -------------------------------------------------------------------------------------------

inline KesPanelFault Fault(std::string invariant, std::string detail = std::string()) {
    return KesPanelFault{std::string(), std::move(invariant), std::move(detail)};
}
std::string Number(double value);
// A text for a message: at most 40 bytes, other bytes than printable ASCII escaped.
std::string Quoted(const std::string& text);
inline KesPanelFault NoFault(KesMfgAttribute&) {
    return KesPanelFault();
}

// Within the limits (in either order) as a real field shows them: a value brought back to a
// limit is written with six significant digits, so it may lie beyond the limit by that rounding.
inline bool WithinLimits(double value, double minimum, double maximum) {
    const double low = std::min(minimum, maximum);
    const double high = std::max(minimum, maximum);
    return value >= low - std::fabs(low) * 1e-5 && value <= high + std::fabs(high) * 1e-5;
}

// A real value record with count 1: finite, and shown within the limits.
KesPanelFault CheckReal(double recorded, double shown, bool limited, double minimum,
                        double maximum);

// A list's record: its count is the number of values, and it holds them (`same`).
KesPanelFault CheckListRecord(int count, int size, bool same);

// What a value field shows, for the messages.
std::string Shown(const KesDialog* field);
inline std::string ValueText(int value) {
    return std::to_string(value);
}
inline std::string ValueText(double value) {
    return Number(value);
}
inline std::string ValueText(const KesUnicodeString& value) {
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
                             std::to_string(position + i) + " is " +
                             ValueText(values[position + i]) + ", scroll position " +
                             std::to_string(position));
        }
    }
    return KesPanelFault();
}

// A read-only combo shows the selected line in its field.
KesPanelFault CheckCombo(const KesDlgCombo* combo);

// -------------------------------------------------------------------------------------------
// Helpers of the checks of meaning
// -------------------------------------------------------------------------------------------

// Limits given in reverse, and values outside limits that are not both 0: warnings, the
// library mends them. `values` is the key of the value or the list of values.
void CheckLimits(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context,
                 const char* values);
// Unit codes and flag that select no conversion although they ask for one: a warning.
void CheckUnits(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context);
// A list whose length must be that of another: "displayTexts" with "values".
void CheckSameLength(const KesPanelAttributeDescription& attribute,
                     const KesCatalogueContext& context, const char* key, const char* other);
// Each text of `key` among the texts of `choices`.
void CheckAmong(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context,
                const char* key, const char* choices);
// A text value longer than a text record's 72 characters would be cut.
void CheckTextLength(const KesPanelAttributeDescription& attribute,
                     const KesCatalogueContext& context, const char* key);
inline void NoMeaning(const KesPanelAttributeDescription&, const KesCatalogueContext&) {}

// The number of characters of UTF-8 text.
size_t CharacterCount(const std::string& text);
// A value for a message: 7, 1.5, "text".
std::string Written(const KesPanelValue& value);

} // namespace kes_catalogue
