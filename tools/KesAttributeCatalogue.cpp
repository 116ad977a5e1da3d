// KesAttributeCatalogue: the rows of every family joined and checked once; the keys and the
// helpers the rows share; names close to a misspelled one.
//
//   1. Arguments of an attribute
//   2. Keys every class shares
//   3. Helpers of the invariant checks
//   4. Helpers of the checks of meaning
//   5. The catalogue
//   6. Names close to a word
#include "tools/KesCatalogueParts.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <set>

// -------------------------------------------------------------------------------------------
// 1. Arguments of an attribute
// -------------------------------------------------------------------------------------------

KesUnicodeString KesPanelArguments::Text(const char* key) const {
    return KesUnicodeString(Get<std::string>(key, {}));
}

KesRawCollint KesPanelArguments::Integers(const char* key) const {
    KesRawCollint list;
    for (int value : Get<std::vector<int>>(key, {})) {
        list.Append(value);
    }
    return list;
}

KesRawColldouble KesPanelArguments::Reals(const char* key) const {
    KesRawColldouble list;
    for (double value : Get<std::vector<double>>(key, {})) {
        list.Append(value);
    }
    return list;
}

KesListValKesUnicodeString KesPanelArguments::Texts(const char* key) const {
    KesListValKesUnicodeString list;
    for (const std::string& text : Get<std::vector<std::string>>(key, {})) {
        list.Append(KesUnicodeString(text));
    }
    return list;
}

const KesCatalogueKey* KesCatalogueRow::Key(const std::string& key) const {
    for (const KesCatalogueKey& entry : keys) {
        if (key == entry.key) {
            return &entry;
        }
    }
    return nullptr;
}

namespace kes_catalogue {

// -------------------------------------------------------------------------------------------
// 2. Keys every class shares
// -------------------------------------------------------------------------------------------

Keys Head() {
    return {{"name", Kind::Text, true, "\"Name\"",
             "The name of the value records, unique in the panel; the commands of kes-panel "
             "name the attribute by it."},
            {"label", Kind::Text, true, "\"Label\"", "The label shown before the value."},
            {"group", Kind::Integer, true, "1",
             "The group number: Output reports the attribute for this group."}};
}

Keys Settings() {
    return {{"optionMode", Kind::Integer, false, "null",
             "SetOptionMode(mode, initialState) before Display: 1 the attribute is optional, "
             "with the option check button before its label; 0 not optional, no option check "
             "button. Not called when left out with initialState (not optional).",
             0, 1},
            {"initialState", Kind::Integer, false, "1",
             "SetOptionMode's initial state: 1 checked, 0 unchecked (the value widgets "
             "insensitive until the user checks it). Without optionMode, 0 only makes Output "
             "report the attribute on every call.",
             0, 1},
            {"toBeDefined", Kind::Flag, false, "false",
             "true calls SetAttToBeDefined() before Display: no value shown and none reported "
             "until an edit or SetAttValue."},
            {"editMode", Kind::Integer, false, "null",
             "SetEditMode after Display: 0 read-only (every widget but the label insensitive, "
             "the option check button too), 1 editable. Not called when left out (1).",
             0, 1},
            {"contextAccess", Kind::Integer, false, "null",
             "SetContextAccess after Display, for an editable attribute: 0 makes the whole "
             "attribute insensitive, 1 sensitive again. Not called when left out (1).",
             0, 1},
            {"visibleTextWidth", Kind::Integer, false, "null",
             "SetVisibleTextWidth before Display: the width of text fields in characters, -1 "
             "the class's own. Not called when left out.",
             -1},
            {"help", Kind::Texts, false, "null", "SetHelp's help texts, after Display."},
            {"shortHelp", Kind::Texts, false, "null", "SetHelp's short help texts."}};
}

Keys Units() {
    return {{"firstUnitCode", Kind::Integer, false, "0",
             "The first unit code. Codes 0, 0, -1 show the value divided by 360, codes 0, 0, 1 "
             "with unitFlag 1 multiplied by 60; any other codes are labels only."},
            {"secondUnitCode", Kind::Integer, false, "0", "The second unit code."},
            {"thirdUnitCode", Kind::Integer, false, "0", "The third unit code."},
            {"unitFlag", Kind::Integer, false, "0",
             "The unit flag: 1 with unit codes 0, 0, 1 shows the value multiplied by 60; 0, or "
             "other codes, converts nothing."}};
}

Keys Range(Kind kind) {
    Keys keys = {{"minimum", kind, false, "0",
                  "The lower limit (in the caller's unit); minimum and maximum both 0: no "
                  "limits."},
                 {"maximum", kind, false, "0", "The upper limit."}};
    if (kind == Kind::Real) {
        keys.push_back({"stepHint", Kind::Real, false, "0",
                        "Kept for the caller: the spinner's step follows from the limits."});
    }
    return keys;
}

Keys Icons() {
    return {
        {"icons", Kind::Texts, false, "null", "SetIconNames after Display: one icon per value."},
        {"secondIcons", Kind::Texts, false, "null", "SetIconNames's second icons."}};
}

Keys Window(bool visibleOnly) {
    Keys keys = {{"nbVisibleVals", Kind::Integer, false, "null",
                  "SetNbVisibleVals before Display: the fields shown at once. Not called when "
                  "left out (5).",
                  1, KesPanelDescription::kMaxVisibleValues}};
    if (!visibleOnly) {
        keys.push_back({"nbValModifMode", Kind::Integer, false, "null",
                        "SetNbValModifMode before Display: 0 the context menu offers Add and "
                        "Remove, so the user may change the number of values; 1 no context menu: "
                        "the number of values is fixed (only SetAttValue changes it). Not called "
                        "when left out (0).",
                        0, 1});
    }
    return keys;
}

KesCatalogueKey Value(Kind kind, const char* sample, const char* meaning, int minimum,
                      int maximum) {
    return {"value", kind, true, sample, meaning, minimum, maximum};
}

// -------------------------------------------------------------------------------------------
// 3. Helpers of the invariant checks
// -------------------------------------------------------------------------------------------

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

KesPanelFault CheckReal(double recorded, double shown, bool limited, double minimum,
                        double maximum) {
    if (!std::isfinite(recorded)) {
        return Fault("a real that is not finite", Number(recorded));
    }
    if (limited && !WithinLimits(shown, minimum, maximum)) {
        return Fault("a real outside its limits",
                     Number(shown) + " not in " + Number(minimum) + ".." + Number(maximum));
    }
    return KesPanelFault();
}

KesPanelFault CheckListRecord(int count, int size, bool same) {
    if (count != size) {
        return Fault("a list's record counts other than its values",
                     std::to_string(size) + " values, count " + std::to_string(count));
    }
    return same ? KesPanelFault() : Fault("a list's record holds other values than the list");
}

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

// -------------------------------------------------------------------------------------------
// 4. Helpers of the checks of meaning
// -------------------------------------------------------------------------------------------

size_t CharacterCount(const std::string& text) {
    size_t characters = 0;
    for (unsigned char byte : text) {
        characters += (byte & 0xC0) != 0x80;
    }
    return characters;
}

std::string Written(const KesPanelValue& value) {
    if (const int* integer = std::get_if<int>(&value)) {
        return std::to_string(*integer);
    }
    if (const double* real = std::get_if<double>(&value)) {
        std::ostringstream out;
        out << *real;
        return out.str();
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        return "'" + *text + "'";
    }
    return "?";
}

namespace {

// The numbers of `key` (one or a list), as reals.
std::vector<double> NumbersOf(const KesPanelAttributeDescription& attribute, const char* key) {
    const KesPanelValue* value = attribute.Find(key);
    if (value == nullptr) {
        return {};
    }
    if (const int* integer = std::get_if<int>(value)) {
        return {static_cast<double>(*integer)};
    }
    if (const double* real = std::get_if<double>(value)) {
        return {*real};
    }
    if (const auto* integers = std::get_if<std::vector<int>>(value)) {
        return {integers->begin(), integers->end()};
    }
    if (const auto* reals = std::get_if<std::vector<double>>(value)) {
        return *reals;
    }
    return {};
}

std::string Shortest(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

const std::vector<std::string>* TextsOf(const KesPanelAttributeDescription& attribute,
                                        const char* key) {
    const KesPanelValue* value = attribute.Find(key);
    return value == nullptr ? nullptr : std::get_if<std::vector<std::string>>(value);
}

} // namespace

void CheckLimits(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context,
                 const char* values) {
    const std::vector<double> minimum = NumbersOf(attribute, "minimum");
    const std::vector<double> maximum = NumbersOf(attribute, "maximum");
    const double low = minimum.empty() ? 0.0 : minimum.front();
    const double high = maximum.empty() ? 0.0 : maximum.front();
    if (low == 0.0 && high == 0.0) {
        return; // no limits
    }
    if (low > high) {
        context.Warning("minimum", "the minimum " + Shortest(low) + " is above the maximum " +
                                       Shortest(high) + ": the limits are taken the other way");
    }
    const bool list = attribute.Find(values) != nullptr &&
                      (std::holds_alternative<std::vector<int>>(*attribute.Find(values)) ||
                       std::holds_alternative<std::vector<double>>(*attribute.Find(values)));
    const std::vector<double> numbers = NumbersOf(attribute, values);
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] < std::min(low, high) || numbers[i] > std::max(low, high)) {
            context.Warning(values,
                            "the value " + Shortest(numbers[i]) + " is outside the limits " +
                                Shortest(std::min(low, high)) + ".." +
                                Shortest(std::max(low, high)) + ": it is brought back to them",
                            list ? static_cast<int>(i) : -1);
            return;
        }
    }
}

void CheckUnits(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context) {
    const KesPanelArguments a(attribute);
    const int first = a.Integer("firstUnitCode");
    const int second = a.Integer("secondUnitCode");
    const int third = a.Integer("thirdUnitCode");
    const int flag = a.Integer("unitFlag");
    if ((third != 0 || flag != 0) && !KesMfgUnitConversion(first, second, third, flag).Converts()) {
        const char* key = third != 0 ? "thirdUnitCode" : "unitFlag";
        context.Warning(key, "unit codes " + std::to_string(first) + ", " + std::to_string(second) +
                                 ", " + std::to_string(third) + " with unit flag " +
                                 std::to_string(flag) +
                                 " select no conversion: the value is shown in the caller's unit "
                                 "(0, 0, -1 divides by 360; 0, 0, 1 with flag 1 multiplies by 60)");
    }
}

void CheckSameLength(const KesPanelAttributeDescription& attribute,
                     const KesCatalogueContext& context, const char* key, const char* other) {
    const KesPanelValue* first = attribute.Find(other);
    const KesPanelValue* second = attribute.Find(key);
    if (first == nullptr || second == nullptr) {
        return;
    }
    const auto size = [](const KesPanelValue& value) {
        return std::visit(
            [](const auto& v) -> size_t {
                if constexpr (requires { v.front(); } &&
                              !std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                    return v.size();
                } else {
                    return 1;
                }
            },
            value);
    };
    if (size(*first) != size(*second)) {
        context.Error(key, std::to_string(size(*second)) + " texts for " +
                               std::to_string(size(*first)) + " " + other);
    }
}

void CheckAmong(const KesPanelAttributeDescription& attribute, const KesCatalogueContext& context,
                const char* key, const char* choices) {
    const std::vector<std::string>* allowed = TextsOf(attribute, choices);
    if (allowed == nullptr) {
        return;
    }
    const KesPanelValue* value = attribute.Find(key);
    std::vector<std::string> texts;
    if (value != nullptr && std::holds_alternative<std::string>(*value)) {
        texts = {std::get<std::string>(*value)};
    } else if (const std::vector<std::string>* list = TextsOf(attribute, key)) {
        texts = *list;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        if (std::find(allowed->begin(), allowed->end(), texts[i]) == allowed->end()) {
            context.Error(key,
                          "the value '" + texts[i] + "' is not among the " + choices +
                              ": the attribute would show nothing and report no value",
                          value != nullptr && std::holds_alternative<std::string>(*value)
                              ? -1
                              : static_cast<int>(i));
            return;
        }
    }
}

void CheckTextLength(const KesPanelAttributeDescription& attribute,
                     const KesCatalogueContext& context, const char* key) {
    const KesPanelValue* value = attribute.Find(key);
    if (value != nullptr && std::holds_alternative<std::string>(*value) &&
        CharacterCount(std::get<std::string>(*value)) > 72) {
        context.Error(key, "a text of " +
                               std::to_string(CharacterCount(std::get<std::string>(*value))) +
                               " characters: text records hold 72, the rest would be lost");
    }
}

} // namespace kes_catalogue

// -------------------------------------------------------------------------------------------
// 5. The catalogue
// -------------------------------------------------------------------------------------------

std::string KesAttributeCatalogue::Fault(const std::vector<KesCatalogueRow>& rows) {
    if (rows.size() != static_cast<size_t>(kClassCount)) {
        return std::to_string(rows.size()) + " rows for " + std::to_string(kClassCount) +
               " classes";
    }
    std::set<std::string> names;
    for (const KesCatalogueRow& row : rows) {
        const std::string name = row.className == nullptr ? "" : row.className;
        if (name.empty() || !names.insert(name).second) {
            return "the class '" + name + "' is not named once";
        }
        if (row.summary == nullptr || row.make == nullptr || row.isA == nullptr ||
            row.checkWidgets == nullptr || row.checkValue == nullptr ||
            row.checkMeaning == nullptr || row.typeCode < -1 || row.typeCode > 3 ||
            row.callbacks.empty() || row.impactKind.has_value() != (row.isChoice != nullptr)) {
            return name + ": the row is not complete";
        }
        std::set<std::string> keys;
        for (const KesCatalogueKey& key : row.keys) {
            if (key.key == nullptr || key.fallback == nullptr || key.meaning == nullptr ||
                !keys.insert(key.key).second || key.minimum > key.maximum) {
                return name + ": a key is not complete or not named once";
            }
        }
        for (const char* head : {"name", "label", "group"}) {
            if (keys.count(head) == 0) {
                return name + ": no key '" + head + "'";
            }
        }
    }
    return "";
}

const std::vector<KesCatalogueRow>& KesAttributeCatalogue::Rows() {
    static const std::vector<KesCatalogueRow> rows = [] {
        std::vector<KesCatalogueRow> joined;
        for (auto family : {kes_catalogue::SingleRows, kes_catalogue::ChoiceRows,
                            kes_catalogue::MultiRows, kes_catalogue::ParamRows}) {
            for (KesCatalogueRow& row : family()) {
                joined.push_back(std::move(row));
            }
        }
        const std::string fault = Fault(joined);
        if (!fault.empty()) {
            std::cerr << "the attribute catalogue is broken: " << fault << std::endl;
            std::abort();
        }
        return joined;
    }();
    return rows;
}

const KesCatalogueRow* KesAttributeCatalogue::Find(const std::string& className) {
    for (const KesCatalogueRow& row : Rows()) {
        if (className == row.className) {
            return &row;
        }
    }
    return nullptr;
}

const KesCatalogueRow* KesAttributeCatalogue::Of(const KesMfgAttribute& attribute) {
    for (const KesCatalogueRow& row : Rows()) {
        if (row.isA(attribute)) {
            return &row;
        }
    }
    return nullptr;
}

const std::vector<KesCatalogueCallback>& KesAttributeCatalogue::BaseCallbacks() {
    static const std::vector<KesCatalogueCallback> callbacks = {
        {"OptionCheckModified",
         [](KesMfgAttribute& a) { a.OptionCheckModified(nullptr, nullptr, nullptr); }}};
    return callbacks;
}

// -------------------------------------------------------------------------------------------
// 6. Names close to a word
// -------------------------------------------------------------------------------------------

namespace {

// Edits (insert, delete, replace, swap two neighbours) from one word to the other, letter case
// aside; stops counting beyond `limit`.
size_t Distance(const std::string& a, const std::string& b, size_t limit) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit) {
        return limit + 1;
    }
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) &&
                lower(a[i - 2]) == lower(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

} // namespace

std::string KesClosestName(const std::string& word, const std::vector<std::string>& candidates) {
    // A third of the word's letters, at least one and at most three; long words are not
    // compared (a file's keys are short).
    if (word.empty() || word.size() > 200) {
        return "";
    }
    const size_t limit = std::clamp<size_t>(word.size() / 3, 1, 3);
    std::string best;
    size_t bestDistance = limit + 1;
    for (const std::string& candidate : candidates) {
        const size_t distance = Distance(word, candidate, limit);
        if (distance < bestDistance && candidate != word) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string KesDidYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string closest = KesClosestName(word, candidates);
    return closest.empty() ? "" : " (did you mean '" + closest + "'?)";
}
