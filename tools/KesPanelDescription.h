// KesPanelDescription: a panel as plain data (its title, the model parameters it needs and its
// attributes, each with its class and the arguments of its constructor and setters), the value
// that a panel file is read into, that KesPanelBuilder builds and that KesPanelFile writes.
//
// Arguments are named as in the headers of the attribute classes: constructor arguments
// ("value", "minimum", "displayTexts", ...) and setters ("optionMode", "nbVisibleVals", ...).
// Which arguments a class takes, of which kind, and which are required, is the table answered by
// ArgumentsOf; an argument left out takes the default documented in docs/panel-files.md.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// The kinds of argument values, in the order of the alternatives of KesPanelValue.
enum class KesPanelValueKind { Flag, Integer, Real, Text, Integers, Reals, Texts };

using KesPanelValue = std::variant<bool, int, double, std::string, std::vector<int>,
                                   std::vector<double>, std::vector<std::string>>;

// One argument a class takes.
struct KesPanelArgument {
    const char* key;
    KesPanelValueKind kind;
    bool required;
};

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

struct KesPanelAttributeDescription {
    std::string className;
    std::vector<std::pair<std::string, KesPanelValue>> arguments;
    std::optional<KesPanelImpacts> impacts;
    // Link only: what each press hands over, in order; the last relay is repeated.
    std::vector<std::vector<KesPanelRecord>> relays;

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

struct KesPanelDescription {
    // The most fields a list may show at once ("nbVisibleVals"): each is a widget built by
    // Display, so a file must not ask for millions.
    static constexpr int kMaxVisibleValues = 1000;

    std::string title;
    std::vector<KesPanelParameter> modelParameters;
    std::vector<KesPanelAttributeDescription> attributes;

    // The thirteen attribute class names, in the order of the documentation.
    static const std::vector<std::string>& ClassNames();
    // The arguments class `className` takes, in the order files are written; null for a name
    // that is not an attribute class. "impacts" and "relays" are not among them.
    static const std::vector<KesPanelArgument>* ArgumentsOf(const std::string& className);
    // Whether the class steers other attributes (takes "impacts"), and with which kind of
    // impact values (Integers or Texts).
    static std::optional<KesPanelValueKind> ImpactKindOf(const std::string& className);

    // Everything a file's types cannot say: names present and unique, impacts naming
    // attributes of the panel with a table of M rows of N flags, parallel lists of equal
    // lengths, model parameters with well-formed unique names and finite values, finite reals,
    // at most kMaxVisibleValues fields shown at once.
    // Returns the first fault as "attribute 3 'Depth', key 'minimum': ..." or "" when sound.
    std::string Check() const;
};
