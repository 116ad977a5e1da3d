// KesPanelDescription: the arguments of an attribute, and the checks of a description that its
// types alone cannot make (what each class takes is its row of the attribute catalogue).
//
//   1. Arguments of an attribute
//   2. Checks of the panel, its model parameters, impacts and relays
//   3. Review: the panel, its sub-panels, its model parameters against a live model
#include "tools/KesPanelDescription.h"

#include "tools/KesAttributeCatalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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
// 2. Checks of the panel, its model parameters, impacts and relays
// -------------------------------------------------------------------------------------------

namespace {

using Kind = KesPanelValueKind;

bool AllFinite(const std::vector<double>& reals) {
    return std::all_of(reals.begin(), reals.end(), [](double r) { return std::isfinite(r); });
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

// The toolkit's identifier of an attribute: its name without underscores and blanks.
std::string Identifier(const std::string& name) {
    std::string identifier;
    for (char c : name) {
        if (c != '_' && c != ' ') {
            identifier += c;
        }
    }
    return identifier;
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

void CheckImpacts(const KesPanelAttributeDescription& attribute, const KesCatalogueRow& row,
                  const std::set<std::string>& names, const KesCatalogueContext& context) {
    const KesPanelImpacts& impacts = *attribute.impacts;
    const Kind kind = *row.impactKind;
    for (size_t i = 0; i < impacts.attributes.size(); ++i) {
        if (names.count(impacts.attributes[i]) == 0) {
            context.Error("impacts",
                          "the impacted attribute '" + impacts.attributes[i] +
                              "' is not in the panel" +
                              KesDidYouMean(impacts.attributes[i], {names.begin(), names.end()}));
            return;
        }
    }
    const size_t valueCount =
        kind == Kind::Texts ? impacts.textValues.size() : impacts.integerValues.size();
    if ((kind == Kind::Texts ? impacts.integerValues.size() : impacts.textValues.size()) != 0) {
        context.Error("impacts", std::string("the impact values are ") +
                                     (kind == Kind::Texts ? "texts" : "integers"));
        return;
    }
    if (impacts.sensitivities.size() != valueCount) {
        context.Error("impacts", "the sensitivity table has " +
                                     std::to_string(impacts.sensitivities.size()) + " rows for " +
                                     std::to_string(valueCount) + " impact values");
        return;
    }
    for (size_t row = 0; row < impacts.sensitivities.size(); ++row) {
        if (impacts.sensitivities[row].size() != impacts.attributes.size()) {
            context.Error("impacts",
                          "row " + std::to_string(row + 1) + " of the sensitivity table has " +
                              std::to_string(impacts.sensitivities[row].size()) + " flags for " +
                              std::to_string(impacts.attributes.size()) + " impacted attributes");
            return;
        }
        for (int flag : impacts.sensitivities[row]) {
            if (flag != 0 && flag != 1) {
                context.Error("impacts.sensitivities",
                              "the flag " + std::to_string(flag) + " in row " +
                                  std::to_string(row + 1) + ": 1 sensitive, 0 insensitive",
                              static_cast<int>(row));
                return;
            }
        }
    }
    for (size_t i = 0; i < valueCount; ++i) {
        const KesPanelValue value = kind == Kind::Texts ? KesPanelValue(impacts.textValues[i])
                                                        : KesPanelValue(impacts.integerValues[i]);
        if (!row.isChoice(attribute, value)) {
            const std::string written = kind == Kind::Texts
                                            ? "'" + impacts.textValues[i] + "'"
                                            : std::to_string(impacts.integerValues[i]);
            context.Error("impacts.impactValues",
                          "the impact value " + written + " is not a value " + attribute.Name() +
                              " can take: its row would never apply",
                          static_cast<int>(i));
            return;
        }
    }
    if (std::find(impacts.attributes.begin(), impacts.attributes.end(), attribute.Name()) !=
        impacts.attributes.end()) {
        context.Warning("impacts", "the attribute impacts itself: where its row makes it "
                                   "insensitive, the user can no longer change it back");
    }
}

// The strongly connected groups of a graph (Tarjan's algorithm, with an explicit stack so
// that a long chain of impacts cannot exhaust the native one): each node's group number.
std::vector<size_t> Groups(const std::vector<std::vector<size_t>>& edges) {
    const size_t none = SIZE_MAX;
    const size_t count = edges.size();
    std::vector<size_t> order(count, none), low(count, 0), group(count, none);
    std::vector<bool> onStack(count, false);
    std::vector<size_t> stack;
    std::vector<std::pair<size_t, size_t>> walk; // node, next edge
    size_t counter = 0;
    size_t groups = 0;
    for (size_t root = 0; root < count; ++root) {
        if (order[root] != none) {
            continue;
        }
        walk.push_back({root, 0});
        while (!walk.empty()) {
            auto& [node, next] = walk.back();
            if (next == 0 && order[node] == none) {
                order[node] = low[node] = counter++;
                stack.push_back(node);
                onStack[node] = true;
            }
            if (next < edges[node].size()) {
                const size_t to = edges[node][next++];
                if (order[to] == none) {
                    walk.push_back({to, 0});
                } else if (onStack[to]) {
                    low[node] = std::min(low[node], order[to]);
                }
                continue;
            }
            const size_t done = node;
            walk.pop_back();
            if (!walk.empty()) {
                low[walk.back().first] = std::min(low[walk.back().first], low[done]);
            }
            if (low[done] == order[done]) {
                size_t member = none;
                do {
                    member = stack.back();
                    stack.pop_back();
                    onStack[member] = false;
                    group[member] = groups;
                } while (member != done);
                ++groups;
            }
        }
    }
    return group;
}

// Attributes that impact each other in a cycle (A impacts B, B impacts A): a warning on the
// first attribute of each group of attributes that reach each other, naming the attributes on
// the shortest cycle through it. Linear in the attributes and impacts.
void CheckImpactCycles(const KesPanelDescription& description,
                       std::vector<KesPanelFinding>& findings) {
    const std::vector<KesPanelAttributeDescription>& attributes = description.attributes;
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < attributes.size(); ++i) {
        index.emplace(attributes[i].Name(), i);
    }
    std::vector<std::vector<size_t>> impacted(attributes.size());
    for (size_t i = 0; i < attributes.size(); ++i) {
        if (attributes[i].impacts) {
            for (const std::string& name : attributes[i].impacts->attributes) {
                const auto found = index.find(name);
                if (found != index.end() && found->second != i) { // itself: its own warning
                    impacted[i].push_back(found->second);
                }
            }
        }
    }
    const std::vector<size_t> group = Groups(impacted);
    std::vector<bool> reported(attributes.size(), false);
    std::vector<size_t> from(attributes.size(), SIZE_MAX);
    for (size_t start = 0; start < attributes.size(); ++start) {
        if (reported[group[start]]) {
            continue;
        }
        reported[group[start]] = true;
        // Breadth first from `start` within its group, back to `start`.
        std::vector<size_t> queue = {start};
        std::vector<size_t> touched;
        size_t last = SIZE_MAX; // the attribute that impacts `start` on the shortest cycle
        for (size_t at = 0; at < queue.size() && last == SIZE_MAX; ++at) {
            for (size_t to : impacted[queue[at]]) {
                if (to == start) {
                    last = queue[at];
                    break;
                }
                if (group[to] == group[start] && from[to] == SIZE_MAX) {
                    from[to] = queue[at];
                    touched.push_back(to);
                    queue.push_back(to);
                }
            }
        }
        if (last != SIZE_MAX) {
            std::vector<size_t> cycle;
            for (size_t at = last; at != start; at = from[at]) {
                cycle.push_back(at);
            }
            std::string names = "'" + attributes[start].Name() + "'";
            for (auto at = cycle.rbegin(); at != cycle.rend(); ++at) {
                names += " -> '" + attributes[*at].Name() + "'";
            }
            findings.push_back({static_cast<int>(start), -1, "impacts", -1,
                                "the impacts run in a cycle: " + names + " -> '" +
                                    attributes[start].Name() +
                                    "': which sensitivities hold depends on the attribute "
                                    "changed first",
                                true});
        }
        for (size_t at : touched) {
            from[at] = SIZE_MAX;
        }
    }
}

// initialState without optionMode: the attribute is not optional, and the state given only
// changes what Output compares with.
void CheckOptionState(const KesPanelAttributeDescription& attribute,
                      const KesCatalogueContext& context) {
    const KesPanelValue* state = attribute.Find("initialState");
    if (state == nullptr || attribute.Find("optionMode") != nullptr) {
        return;
    }
    context.Warning("initialState",
                    std::get<int>(*state) == 0
                        ? "initialState 0 without optionMode: the attribute is not optional, and "
                          "Output reports it for its group on every call, changed or not"
                        : "initialState without optionMode does nothing: the attribute is not "
                          "optional (optionMode 1 makes it so)");
}

// The keys of an attribute: each an argument of its class, of its kind, finite, within its
// limits; the required ones given. Answers false when one is not (the class's own checks then
// do not run).
bool CheckArguments(const KesPanelAttributeDescription& attribute, const KesCatalogueRow& row,
                    const KesCatalogueContext& context) {
    for (const auto& [key, value] : attribute.arguments) {
        const KesCatalogueKey* entry = row.Key(key);
        if (entry == nullptr) {
            context.Error(key, "not an argument of " + attribute.className);
            return false;
        }
        if (static_cast<size_t>(entry->kind) != value.index()) {
            context.Error(key, "a value of the wrong type");
            return false;
        }
        const bool finite = std::holds_alternative<double>(value)
                                ? std::isfinite(std::get<double>(value))
                            : std::holds_alternative<std::vector<double>>(value)
                                ? AllFinite(std::get<std::vector<double>>(value))
                                : true;
        if (!finite) {
            context.Error(key, "not a finite number");
            return false;
        }
        std::vector<int> integers;
        if (const int* integer = std::get_if<int>(&value)) {
            integers = {*integer};
        } else if (const auto* list = std::get_if<std::vector<int>>(&value)) {
            integers = *list;
        }
        for (size_t i = 0; i < integers.size(); ++i) {
            if (integers[i] < entry->minimum || integers[i] > entry->maximum) {
                const std::string range =
                    entry->maximum == INT_MAX ? "at least " + std::to_string(entry->minimum)
                    : entry->minimum == INT_MIN
                        ? "at most " + std::to_string(entry->maximum)
                        : std::to_string(entry->minimum) + " to " + std::to_string(entry->maximum);
                context.Error(key, std::to_string(integers[i]) + " is not " + range,
                              std::holds_alternative<int>(value) ? -1 : static_cast<int>(i));
                return false;
            }
        }
    }
    for (const KesCatalogueKey& key : row.keys) {
        if (key.required && attribute.Find(key.key) == nullptr) {
            context.Error("", std::string("key '") + key.key + "' is required");
            return false;
        }
    }
    return true;
}

} // namespace

// -------------------------------------------------------------------------------------------
// 3. Review
// -------------------------------------------------------------------------------------------

namespace {

const char* const kTypeWords[] = {"a boolean", "an integer", "a real", "a text"};

// A model parameter the description holds and the model holds too: the model's is kept; told
// when it is described otherwise (its values may differ: they change with use).
void CompareWithModel(const KesPanelParameter& parameter, int index,
                      const KesPanelParameterIndex& model, std::vector<KesPanelFinding>& findings) {
    const KesPanelParameter* held = model.Find(parameter.name);
    if (held == nullptr) {
        return;
    }
    KesPanelFinding finding;
    finding.parameter = index;
    finding.warning = true;
    finding.key = held->type != parameter.type                                 ? "type"
                  : held->kind != parameter.kind                               ? "kind"
                  : !std::equal(held->units, held->units + 3, parameter.units) ? "units"
                                                                               : "";
    if (finding.key.empty()) {
        return;
    }
    const auto described = [](const KesPanelParameter& p) {
        const std::string type = p.type >= 0 && p.type <= 3
                                     ? kTypeWords[p.type]
                                     : "a parameter of type " + std::to_string(p.type);
        return type + " of kind " + std::to_string(p.kind) + " with the units " +
               std::to_string(p.units[0]) + ", " + std::to_string(p.units[1]) + ", " +
               std::to_string(p.units[2]);
    };
    finding.message = "the model holds '" + parameter.name + "' as " + described(*held) +
                      ", the file describes " + described(parameter) + ": the model's is kept";
    findings.push_back(std::move(finding));
}

// The sub-panel of link `index`: reviewed as a panel over the panel's model parameters, each of
// its findings placed at its attribute inside the sub-panel. Its own links open no sub-panel
// (one level), which also bounds the review's depth.
void ReviewSubPanel(const KesPanelDescription& panel, size_t index, const KesCatalogueRow& row,
                    KesPanelReview how, const std::vector<KesPanelParameter>& model,
                    std::vector<KesPanelFinding>& findings) {
    const KesPanelAttributeDescription& link = panel.attributes[index];
    KesPanelFinding finding;
    finding.attribute = static_cast<int>(index);
    finding.key = "subPanel";
    if (!row.relays) {
        finding.message = "only a link opens a sub-panel";
    } else if (!link.subPanel->modelParameters.empty()) {
        finding.message = "a sub-panel has no modelParameters: its attributes bind those of the "
                          "panel or of the model";
    }
    if (!finding.message.empty()) {
        findings.push_back(std::move(finding));
        return;
    }
    KesPanelDescription inner = *link.subPanel;
    inner.modelParameters = panel.modelParameters;
    for (size_t i = 0; i < inner.attributes.size(); ++i) {
        if (inner.attributes[i].subPanel != nullptr) {
            inner.attributes[i].subPanel = nullptr;
            KesPanelFinding nested;
            nested.attribute = static_cast<int>(index);
            nested.subAttribute = static_cast<int>(i);
            nested.key = "subPanel";
            nested.message = "a link of a sub-panel opens no sub-panel of its own";
            findings.push_back(std::move(nested));
        }
    }
    for (KesPanelFinding found : inner.Review(how, model)) {
        if (found.attribute < 0) {
            continue; // the panel's model parameters, told for the panel itself
        }
        found.subAttribute = found.attribute;
        found.attribute = static_cast<int>(index);
        findings.push_back(std::move(found));
    }
}

} // namespace

std::vector<KesPanelFinding>
KesPanelDescription::Review(KesPanelReview how, const std::vector<KesPanelParameter>& model) const {
    std::vector<KesPanelFinding> findings;
    const KesPanelParameterIndex modelByName(model);
    const KesPanelParameterIndex fileByName(modelParameters);
    std::set<std::string> parameterNames;
    for (size_t i = 0; i < modelParameters.size(); ++i) {
        const KesPanelParameter& parameter = modelParameters[i];
        KesPanelFinding finding;
        finding.parameter = static_cast<int>(i);
        finding.key = "name";
        finding.message = ParameterNameFault(parameter.name);
        if (finding.message.empty() && !parameterNames.insert(parameter.name).second) {
            finding.message = "the name is given twice";
        }
        if (finding.message.empty() && (parameter.type < 0 || parameter.type > 3)) {
            finding.key = "type";
            finding.message = "0 boolean, 1 integer, 2 real or 3 text";
        }
        if (finding.message.empty() && !AllFinite(parameter.reals)) {
            finding.key = "reals";
            finding.message = "not a finite number";
        }
        if (!finding.message.empty()) {
            findings.push_back(finding);
        } else if (how == KesPanelReview::OverModel) {
            CompareWithModel(parameter, static_cast<int>(i), modelByName, findings);
        }
    }

    std::set<std::string> names;
    for (const KesPanelAttributeDescription& attribute : attributes) {
        names.insert(attribute.Name());
    }
    std::map<std::string, size_t> seen;        // name: first attribute
    std::map<std::string, size_t> identifiers; // identifier: first attribute
    for (size_t i = 0; i < attributes.size(); ++i) {
        const KesPanelAttributeDescription& attribute = attributes[i];
        const KesCatalogueContext context{*this, static_cast<int>(i), findings,  how,
                                          model, modelByName,         fileByName};
        const KesCatalogueRow* row = KesAttributeCatalogue::Find(attribute.className);
        if (row == nullptr) {
            std::vector<std::string> classes;
            for (const KesCatalogueRow& known : KesAttributeCatalogue::Rows()) {
                classes.push_back(known.className);
            }
            context.Error("class", "unknown class '" + attribute.className + "'" +
                                       KesDidYouMean(attribute.className, classes));
            continue;
        }
        const size_t before = findings.size();
        if (!CheckArguments(attribute, *row, context)) {
            continue;
        }
        const std::string name = attribute.Name();
        const std::string identifier = Identifier(name);
        if (name.empty()) {
            context.Error("name", "an attribute needs a name");
        } else if (seen.count(name) != 0) {
            context.Error("name", "another attribute has this name");
        } else if (identifier.empty()) {
            context.Error("name", "a name of underscores and blanks only: the toolkit's "
                                  "identifier would be empty");
        } else if (identifiers.count(identifier) != 0) {
            const size_t other = identifiers[identifier];
            context.Error("name", "its identifier '" + identifier + "' is that of attribute " +
                                      std::to_string(other + 1) + " '" + attributes[other].Name() +
                                      "': names must differ in more than underscores and blanks");
        }
        seen.emplace(name, i);
        identifiers.emplace(identifier, i);
        if (attribute.impacts && !row->impactKind) {
            context.Error("impacts", attribute.className + " steers no attribute");
        } else if (attribute.impacts) {
            CheckImpacts(attribute, *row, names, context);
        }
        if (!attribute.relays.empty() && !row->relays) {
            context.Error("relays", "only a link relays records");
        } else {
            const std::string fault = CheckRelays(attribute);
            if (!fault.empty()) {
                context.Error("relays", fault);
            }
        }
        if (findings.size() == before) {
            row->checkMeaning(attribute, context);
            CheckOptionState(attribute, context);
        }
        if (attribute.subPanel != nullptr) {
            ReviewSubPanel(*this, i, *row, how, model, findings);
        }
    }
    CheckImpactCycles(*this, findings);
    return findings;
}

std::string KesPanelDescription::Describe(const KesPanelFinding& finding) const {
    std::string where;
    if (finding.attribute >= 0) {
        const KesPanelAttributeDescription& attribute =
            attributes[static_cast<size_t>(finding.attribute)];
        where =
            "attribute " + std::to_string(finding.attribute + 1) + " '" + attribute.Name() + "', ";
        if (finding.subAttribute >= 0 && attribute.subPanel != nullptr &&
            static_cast<size_t>(finding.subAttribute) < attribute.subPanel->attributes.size()) {
            where +=
                "sub-panel attribute " + std::to_string(finding.subAttribute + 1) + " '" +
                attribute.subPanel->attributes[static_cast<size_t>(finding.subAttribute)].Name() +
                "', ";
        }
    } else if (finding.parameter >= 0) {
        where = "model parameter " + std::to_string(finding.parameter + 1) + " '" +
                modelParameters[static_cast<size_t>(finding.parameter)].name + "', ";
    }
    if (!finding.key.empty()) {
        where += "key '" + finding.key + "'";
        if (finding.item >= 0) {
            where += ", item " + std::to_string(finding.item + 1);
        }
        where += ": ";
    }
    return where + finding.message;
}

std::string KesPanelDescription::Check() const {
    for (const KesPanelFinding& finding : Review()) {
        if (!finding.warning) {
            return Describe(finding);
        }
    }
    return "";
}
