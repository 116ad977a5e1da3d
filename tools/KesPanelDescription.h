// KesPanelDescription: a panel as plain data (its title, the model parameters it needs and its
// attributes, each with its class and the arguments of its constructor and setters), the value
// that a panel file is read into, that KesPanelBuilder builds and that KesPanelFile writes.
//
// Arguments are named as in the headers of the attribute classes: constructor arguments
// ("value", "minimum", "displayTexts", ...) and setters ("optionMode", "nbVisibleVals", ...).
// Which arguments a class takes, of which kind, with which default and limits, is the class's
// row of the attribute catalogue (tools/KesAttributeCatalogue.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

// The kinds of argument values, in the order of the alternatives of KesPanelValue.
enum class KesPanelValueKind { Flag, Integer, Real, Text, Integers, Reals, Texts };

using KesPanelValue = std::variant<bool, int, double, std::string, std::vector<int>,
                                   std::vector<double>, std::vector<std::string>>;

// The impacts of a steering attribute: the attributes it steers (by name), its impact values
// (integers for the integer list and the boolean, texts for the text list) and the sensitivity
// table, one row of flags per impact value, one flag per impacted attribute.
struct KesPanelImpacts {
    std::vector<std::string> attributes;
    std::vector<int> integerValues;
    std::vector<std::string> textValues;
    std::vector<std::vector<int>> sensitivities;
};

// One value record relayed by a link: type code 0 boolean, 1 integer, 2 real, 3 text, and the
// values of that type. `increment` is added to each numeric value once per press beyond the
// one its relay stands for.
struct KesPanelRecord {
    std::string name;
    int typeCode = 2;
    std::vector<int> integers;
    std::vector<double> reals;
    std::vector<std::string> texts;
    double increment = 0.0;
};

struct KesPanelDescription;

struct KesPanelAttributeDescription {
    std::string className;
    std::vector<std::pair<std::string, KesPanelValue>> arguments;
    std::optional<KesPanelImpacts> impacts;
    // Link only: what each press hands over, in order; the last relay is repeated.
    std::vector<std::vector<KesPanelRecord>> relays;
    // Link only: the sub-panel its button opens (a title and attributes, described as in a
    // panel; no model parameters of its own: it binds those of its panel or of the model);
    // null when none. Where a press opens nothing (a session without a window), the relays
    // answer it.
    std::shared_ptr<const KesPanelDescription> subPanel;

    // The argument of that key; null when it is not given.
    const KesPanelValue* Find(const std::string& key) const;
    // Sets (or replaces) an argument; returns this description, for chaining.
    KesPanelAttributeDescription& Set(const std::string& key, KesPanelValue value);
    // The name argument ("" when not given).
    std::string Name() const;
};

// A parameter of the manufacturing model, created before the attributes are built.
struct KesPanelParameter {
    std::string name;
    int type = 2;
    int kind = 1;
    int units[3] = {0, 0, 0};
    std::vector<int> integers;
    std::vector<double> reals;
    std::vector<std::string> texts;
};

// The parameters of a list by name, built once over a list that outlives it and does not
// change meanwhile, so that a look-up per attribute does not walk the list.
class KesPanelParameterIndex {
public:
    explicit KesPanelParameterIndex(const std::vector<KesPanelParameter>& parameters) {
        byName_.reserve(parameters.size());
        for (const KesPanelParameter& parameter : parameters) {
            byName_.emplace(parameter.name, &parameter); // the first of a name is kept
        }
    }
    // The first parameter of the list with this name, or null.
    const KesPanelParameter* Find(const std::string& name) const {
        const auto found = byName_.find(name);
        return found == byName_.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string, const KesPanelParameter*> byName_;
};

// What the checks of a description found: an error (nothing is built) or a warning (what the
// library mends but the author probably did not mean), with where it is.
struct KesPanelFinding {
    int attribute = -1;  // 0-based attribute; -1 for a model parameter or the panel
    int parameter = -1;  // 0-based model parameter; -1 for none
    std::string key;     // "minimum", "impacts.sensitivities"; "" for the whole object
    int item = -1;       // 0-based item of a list key; -1 for the key itself
    std::string message; // "the value 7 is not among the values: ..."
    bool warning = false;
    int subAttribute = -1; // 0-based attribute of the sub-panel of `attribute`; -1 for none
};

// What the parameters a description binds are checked against.
enum class KesPanelReview {
    // The description alone (a file read): a bound parameter the description does not hold
    // may be the host model's, and is warned only when its name is close to one it holds.
    Alone,
    // Built into a model that holds only the description's modelParameters: a bound
    // parameter must be one of them.
    Strict,
    // Built over the model as it stands (`model`, what it holds): a bound parameter is the
    // model's when the model holds it (a warning when the attribute would not offer it), else
    // one of the description's modelParameters; a model parameter the model holds with
    // another type, kind or units is warned (the model's is kept).
    OverModel,
};

struct KesPanelDescription {
    // The most fields a list may show at once ("nbVisibleVals"): each is a widget built by
    // Display, so a file must not ask for millions.
    static constexpr int kMaxVisibleValues = 1000;

    std::string schema; // the file's "$schema", kept when it is written again
    std::string title;
    std::vector<KesPanelParameter> modelParameters;
    std::vector<KesPanelAttributeDescription> attributes;

    // Every error and warning, in panel order: arguments of the class's kinds within their
    // limits, required ones given; names present and unique, also once underscores and blanks
    // are stripped (the toolkit's identifiers); impacts naming attributes of the panel, with
    // impact values among the steering attribute's choices and a table of M rows of N flags 0
    // or 1; model parameters with well-formed unique names and finite values; relays and
    // sub-panels on links only; and each class's checks of meaning
    // (tools/KesAttributeCatalogue.h). A sub-panel is reviewed as a panel over the panel's
    // model parameters, its findings placed inside it (KesPanelFinding::subAttribute); it has
    // no model parameters of its own and its links open no sub-panel.
    std::vector<KesPanelFinding> Review() const { return Review(KesPanelReview::Alone, {}); }
    std::vector<KesPanelFinding> Review(KesPanelReview how,
                                        const std::vector<KesPanelParameter>& model) const;
    // The first error, as "attribute 3 'Depth', key 'minimum': ..."; "" when there is none.
    std::string Check() const;
    // A finding as Check words it.
    std::string Describe(const KesPanelFinding& finding) const;
};
