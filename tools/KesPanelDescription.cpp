// KesPanelDescription: the table of the arguments each attribute class takes, and the checks of
// a description that its types alone cannot make.
//
//   1. Arguments of an attribute
//   2. The class table
//   3. Check
#include "tools/KesPanelDescription.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

// -------------------------------------------------------------------------------------------
// 1. Arguments of an attribute
// -------------------------------------------------------------------------------------------

const KesPanelValue* KesPanelAttributeDescription::Find(const std::string& key) const {
    for (const auto& [name, value] : arguments) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

KesPanelAttributeDescription& KesPanelAttributeDescription::Set(const std::string& key,
                                                                KesPanelValue value) {
    for (auto& [name, current] : arguments) {
        if (name == key) {
            current = std::move(value);
            return *this;
        }
    }
    arguments.emplace_back(key, std::move(value));
    return *this;
}

std::string KesPanelAttributeDescription::Name() const {
    const KesPanelValue* name = Find("name");
    return name != nullptr && std::holds_alternative<std::string>(*name)
               ? std::get<std::string>(*name)
               : std::string();
}

// -------------------------------------------------------------------------------------------
// 2. The class table
// -------------------------------------------------------------------------------------------

namespace {

using Kind = KesPanelValueKind;
using Arguments = std::vector<KesPanelArgument>;

Arguments Join(std::initializer_list<Arguments> parts) {
    Arguments joined;
    for (const Arguments& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

const Arguments kHead = {
    {"name", Kind::Text, true}, {"label", Kind::Text, true}, {"group", Kind::Integer, true}};
// The base setters every attribute but the link takes.
const Arguments kSettings = {{"optionMode", Kind::Integer, false},
                             {"initialState", Kind::Integer, false},
                             {"toBeDefined", Kind::Flag, false},
                             {"editMode", Kind::Integer, false},
                             {"contextAccess", Kind::Integer, false},
                             {"visibleTextWidth", Kind::Integer, false},
                             {"help", Kind::Texts, false},
                             {"shortHelp", Kind::Texts, false}};
const Arguments kUnits = {{"firstUnitCode", Kind::Integer, false},
                          {"secondUnitCode", Kind::Integer, false},
                          {"thirdUnitCode", Kind::Integer, false},
                          {"unitFlag", Kind::Integer, false}};
const Arguments kRealRange = {{"minimum", Kind::Real, false},
                              {"maximum", Kind::Real, false},
                              {"stepHint", Kind::Real, false}};
const Arguments kIcons = {{"icons", Kind::Texts, false}, {"secondIcons", Kind::Texts, false}};
const Arguments kWindow = {{"nbVisibleVals", Kind::Integer, false},
                           {"nbValModifMode", Kind::Integer, false}};

const std::map<std::string, Arguments>& ClassTable() {
    static const std::map<std::string, Arguments> table = {
        {"KesMfgAttInt", Join({kHead,
                               {{"value", Kind::Integer, true},
                                {"minimum", Kind::Integer, false},
                                {"maximum", Kind::Integer, false},
                                {"reserved", Kind::Integer, false}},
                               kSettings})},
        {"KesMfgAttDouble",
         Join({kHead, {{"value", Kind::Real, true}}, kRealRange, kUnits, kSettings})},
        {"KesMfgAttChar", Join({kHead,
                                {{"value", Kind::Text, true}, {"secondaryText", Kind::Text, false}},
                                kSettings})},
        {"KesMfgAttLogic", Join({kHead,
                                 {{"value", Kind::Integer, true},
                                  {"reserved", Kind::Integer, false},
                                  {"presentation", Kind::Integer, false},
                                  {"titles", Kind::Texts, false}},
                                 kSettings,
                                 kIcons})},
        {"KesMfgAttLink", Join({kHead,
                                {{"iconName", Kind::Text, false},
                                 {"labelIconName", Kind::Text, false},
                                 {"help", Kind::Texts, false},
                                 {"shortHelp", Kind::Texts, false}}})},
        {"KesMfgAttCharList", Join({kHead,
                                    {{"value", Kind::Text, true},
                                     {"values", Kind::Texts, true},
                                     {"displayTexts", Kind::Texts, true},
                                     {"secondary", Kind::Text, false},
                                     {"presentation", Kind::Integer, false}},
                                    kSettings,
                                    kIcons})},
        {"KesMfgAttIntList", Join({kHead,
                                   {{"value", Kind::Integer, true},
                                    {"values", Kind::Integers, true},
                                    {"displayTexts", Kind::Texts, true},
                                    {"reserved", Kind::Integer, false},
                                    {"presentation", Kind::Integer, false}},
                                   kSettings,
                                   kIcons})},
        {"KesMfgAttMVDouble",
         Join({kHead, {{"values", Kind::Reals, true}}, kRealRange, kUnits, kWindow, kSettings})},
        {"KesMfgAttMVInt", Join({kHead,
                                 {{"values", Kind::Integers, true},
                                  {"minimum", Kind::Integer, false},
                                  {"maximum", Kind::Integer, false},
                                  {"reserved", Kind::Integer, false}},
                                 kWindow,
                                 kSettings})},
        {"KesMfgAttMVChar",
         Join({kHead,
               {{"values", Kind::Texts, true}, {"newValueText", Kind::Text, false}},
               kWindow,
               kSettings})},
        {"KesMfgAttMVLogic", Join({kHead,
                                   {{"values", Kind::Integers, true},
                                    {"reserved", Kind::Integer, false},
                                    {"presentation", Kind::Integer, false},
                                    {"titles", Kind::Texts, false}},
                                   kWindow,
                                   kSettings})},
        {"KesMfgAttMVCharList", Join({kHead,
                                      {{"values", Kind::Texts, true},
                                       {"allowedValues", Kind::Texts, true},
                                       {"displayTexts", Kind::Texts, true},
                                       {"secondary", Kind::Text, false},
                                       {"nbVisibleVals", Kind::Integer, false}},
                                      kSettings})},
        {"KesMfgAttDoubleParam", Join({kHead,
                                       {{"value", Kind::Real, true}},
                                       kRealRange,
                                       kUnits,
                                       {{"parameterName", Kind::Text, false}},
                                       kSettings})},
    };
    return table;
}

} // namespace

const std::vector<std::string>& KesPanelDescription::ClassNames() {
    static const std::vector<std::string> names = {
        "KesMfgAttInt",        "KesMfgAttDouble",   "KesMfgAttChar",    "KesMfgAttLogic",
        "KesMfgAttLink",       "KesMfgAttCharList", "KesMfgAttIntList", "KesMfgAttMVDouble",
        "KesMfgAttMVInt",      "KesMfgAttMVChar",   "KesMfgAttMVLogic", "KesMfgAttMVCharList",
        "KesMfgAttDoubleParam"};
    return names;
}

const std::vector<KesPanelArgument>*
KesPanelDescription::ArgumentsOf(const std::string& className) {
    const auto found = ClassTable().find(className);
    return found == ClassTable().end() ? nullptr : &found->second;
}

std::optional<KesPanelValueKind> KesPanelDescription::ImpactKindOf(const std::string& className) {
    if (className == "KesMfgAttIntList" || className == "KesMfgAttLogic") {
        return Kind::Integers;
    }
    if (className == "KesMfgAttCharList") {
        return Kind::Texts;
    }
    return std::nullopt;
}

// -------------------------------------------------------------------------------------------
// 3. Check
// -------------------------------------------------------------------------------------------

namespace {

bool AllFinite(const std::vector<double>& reals) {
    return std::all_of(reals.begin(), reals.end(), [](double r) { return std::isfinite(r); });
}

size_t ListSize(const KesPanelValue* value) {
    if (value == nullptr) {
        return 0;
    }
    return std::visit(
        [](const auto& v) -> size_t {
            if constexpr (requires {
                              v.begin();
                              v.size();
                          } &&
                          !std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
                return v.size();
            } else {
                return 1;
            }
        },
        *value);
}

// Names of the model: 1 to 72 characters, no blank, no control character.
std::string ParameterNameFault(const std::string& name) {
    size_t characters = 0;
    for (unsigned char byte : name) {
        characters += (byte & 0xC0) != 0x80;
        if (byte <= 0x20 || byte == 0x7F) {
            return "a model parameter's name holds no blank or control character";
        }
    }
    if (characters == 0 || characters > 72) {
        return "a model parameter's name has 1 to 72 characters";
    }
    return "";
}

std::string CheckRelays(const KesPanelAttributeDescription& attribute) {
    for (size_t press = 0; press < attribute.relays.size(); ++press) {
        for (const KesPanelRecord& record : attribute.relays[press]) {
            const std::string where =
                "relay " + std::to_string(press + 1) + " record '" + record.name + "': ";
            if (record.name.empty()) {
                return where + "a record needs a name";
            }
            if (record.typeCode < 0 || record.typeCode > 3) {
                return where + "the type is boolean, integer, real or text";
            }
            if (!AllFinite(record.reals) || !std::isfinite(record.increment)) {
                return where + "a real is not a finite number";
            }
            const bool numeric = record.typeCode == 1 || record.typeCode == 2;
            if (record.increment != 0.0 &&
                (!numeric ||
                 (record.typeCode == 1 && std::trunc(record.increment) != record.increment))) {
                return where + "only integer and real records take an increment (an integer "
                               "one for integers)";
            }
            const size_t mine = record.typeCode == 2   ? record.reals.size()
                                : record.typeCode == 3 ? record.texts.size()
                                                       : record.integers.size();
            if (mine != record.integers.size() + record.reals.size() + record.texts.size()) {
                return where + "values of another type than the record's";
            }
        }
    }
    return "";
}

std::string CheckImpacts(const KesPanelAttributeDescription& attribute, KesPanelValueKind kind,
                         const std::set<std::string>& names) {
    const KesPanelImpacts& impacts = *attribute.impacts;
    for (const std::string& name : impacts.attributes) {
        if (names.count(name) == 0) {
            return "the impacted attribute '" + name + "' is not in the panel";
        }
    }
    const size_t valueCount =
        kind == Kind::Texts ? impacts.textValues.size() : impacts.integerValues.size();
    if ((kind == Kind::Texts ? impacts.integerValues.size() : impacts.textValues.size()) != 0) {
        return std::string("the impact values are ") + (kind == Kind::Texts ? "texts" : "integers");
    }
    if (impacts.sensitivities.size() != valueCount) {
        return "the sensitivity table has " + std::to_string(impacts.sensitivities.size()) +
               " rows for " + std::to_string(valueCount) + " impact values";
    }
    for (size_t row = 0; row < impacts.sensitivities.size(); ++row) {
        if (impacts.sensitivities[row].size() != impacts.attributes.size()) {
            return "row " + std::to_string(row + 1) + " of the sensitivity table has " +
                   std::to_string(impacts.sensitivities[row].size()) + " flags for " +
                   std::to_string(impacts.attributes.size()) + " impacted attributes";
        }
    }
    return "";
}

std::string CheckArguments(const KesPanelAttributeDescription& attribute,
                           const std::vector<KesPanelArgument>& table) {
    for (const auto& [key, value] : attribute.arguments) {
        const auto entry =
            std::find_if(table.begin(), table.end(),
                         [&wanted = key](const KesPanelArgument& a) { return wanted == a.key; });
        if (entry == table.end()) {
            return "key '" + key + "': not an argument of " + attribute.className;
        }
        if (static_cast<size_t>(entry->kind) != value.index()) {
            return "key '" + key + "': a value of the wrong type";
        }
        const bool finite = std::holds_alternative<double>(value)
                                ? std::isfinite(std::get<double>(value))
                            : std::holds_alternative<std::vector<double>>(value)
                                ? AllFinite(std::get<std::vector<double>>(value))
                                : true;
        if (!finite) {
            return "key '" + key + "': not a finite number";
        }
    }
    for (const KesPanelArgument& argument : table) {
        if (argument.required && attribute.Find(argument.key) == nullptr) {
            return std::string("key '") + argument.key + "' is required";
        }
    }
    // Parallel lists: each value has its display text (or its title, one per button).
    const char* const parallel[][2] = {{"values", "displayTexts"},
                                       {"allowedValues", "displayTexts"}};
    for (const auto& pair : parallel) {
        if (attribute.className == "KesMfgAttMVCharList" && std::string(pair[0]) == "values") {
            continue; // the selected values, not a parallel list
        }
        const KesPanelValue* first = attribute.Find(pair[0]);
        const KesPanelValue* second = attribute.Find(pair[1]);
        if (first != nullptr && second != nullptr && ListSize(first) != ListSize(second)) {
            return std::string("key '") + pair[1] + "': " + std::to_string(ListSize(second)) +
                   " texts for " + std::to_string(ListSize(first)) + " " + pair[0];
        }
    }
    if (const KesPanelValue* shown = attribute.Find("nbVisibleVals");
        shown != nullptr && std::get<int>(*shown) > KesPanelDescription::kMaxVisibleValues) {
        return "key 'nbVisibleVals': at most " +
               std::to_string(KesPanelDescription::kMaxVisibleValues) + " fields at once";
    }
    if (attribute.className == "KesMfgAttLogic" && attribute.Find("titles") != nullptr &&
        ListSize(attribute.Find("titles")) != 2) {
        return "key 'titles': two titles, the false button's then the true button's";
    }
    return "";
}

} // namespace

std::string KesPanelDescription::Check() const {
    std::set<std::string> parameterNames;
    for (size_t i = 0; i < modelParameters.size(); ++i) {
        const KesPanelParameter& parameter = modelParameters[i];
        const std::string where =
            "model parameter " + std::to_string(i + 1) + " '" + parameter.name + "': ";
        std::string fault = ParameterNameFault(parameter.name);
        if (fault.empty() && !parameterNames.insert(parameter.name).second) {
            fault = "the name is given twice";
        }
        if (fault.empty() && (parameter.type < 0 || parameter.type > 3)) {
            fault = "key 'type': 0 boolean, 1 integer, 2 real or 3 text";
        }
        if (fault.empty() && !AllFinite(parameter.reals)) {
            fault = "key 'reals': not a finite number";
        }
        if (!fault.empty()) {
            return where + fault;
        }
    }

    std::set<std::string> names;
    for (const KesPanelAttributeDescription& attribute : attributes) {
        names.insert(attribute.Name());
    }
    std::set<std::string> seen;
    for (size_t i = 0; i < attributes.size(); ++i) {
        const KesPanelAttributeDescription& attribute = attributes[i];
        const std::string where =
            "attribute " + std::to_string(i + 1) + " '" + attribute.Name() + "', ";
        const std::vector<KesPanelArgument>* table = ArgumentsOf(attribute.className);
        if (table == nullptr) {
            return where + "key 'class': unknown class '" + attribute.className + "'";
        }
        std::string fault = CheckArguments(attribute, *table);
        if (fault.empty() && attribute.Name().empty()) {
            fault = "key 'name': an attribute needs a name";
        }
        if (fault.empty() && !seen.insert(attribute.Name()).second) {
            fault = "key 'name': another attribute has this name";
        }
        const std::optional<Kind> impactKind = ImpactKindOf(attribute.className);
        if (fault.empty() && attribute.impacts && !impactKind) {
            fault = "key 'impacts': " + attribute.className + " steers no attribute";
        }
        if (fault.empty() && attribute.impacts) {
            fault = CheckImpacts(attribute, *impactKind, names);
            fault = fault.empty() ? fault : "key 'impacts': " + fault;
        }
        if (fault.empty() && !attribute.relays.empty() && attribute.className != "KesMfgAttLink") {
            fault = "key 'relays': only a link relays records";
        }
        if (fault.empty()) {
            fault = CheckRelays(attribute);
            fault = fault.empty() ? fault : "key 'relays': " + fault;
        }
        if (!fault.empty()) {
            return where + fault;
        }
    }
    return "";
}
