// KesAttributeCatalogue: everything the tools know about each attribute class, in one row per
// class, registered once. A row gives the class name; the keys of a panel file (constructor
// arguments and setters) with their kind, default, limits and meaning; the maker that calls the
// constructor; the type code of the value records; whether the class holds a list; which impact
// values it steers with; the public callbacks a caller may call; the checks of its widgets and
// of its value records; and the checks of meaning of a panel file's attribute.
//
// The builder, the reader and writer of panel files, the description's checks, the schema, the
// invariants of KesPanelChecks and the driver's callbacks all read these rows. A new class is
// its header, its source, one row in the file of its family (KesCatalogueSingle.cpp,
// KesCatalogueChoice.cpp, KesCatalogueMulti.cpp, KesCatalogueParam.cpp) with kClassCount one
// more, its example in docs/panel-files.md and a place in the monkey's test panel (the
// catalogue's test asks for it); docs/panel.schema.json is then written again by kes-panel
// --write-schema. The catalogue checks itself when first used: kClassCount rows, every class
// once, every row complete (a broken catalogue is a programming error and aborts with its
// fault).
#pragma once

#include "framework/KesMfgAttribute.h"
#include "framework/KesMfgValueRecords.h"
#include "tools/KesPanelChecks.h"
#include "tools/KesPanelDescription.h"

#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One key of a panel file's attribute.
struct KesCatalogueKey {
    const char* key;
    KesPanelValueKind kind;
    bool required;
    // The default as JSON text; "null" when the setter is then not called. For a required key,
    // the value the catalogue's own test builds the class with.
    const char* fallback;
    const char* meaning; // one sentence, for the schema
    // The limits of an integer, or of each item of a list of integers.
    int minimum = INT_MIN;
    int maximum = INT_MAX;
    // A boolean's value, or list of values, held as 0 and 1 (Integer or Integers from 0 to 1):
    // a file may write them true and false too.
    bool truth = false;
};

// The arguments of one attribute of a description, read by kind; an argument left out gives
// the fallback named at the call.
class KesPanelArguments {
public:
    explicit KesPanelArguments(const KesPanelAttributeDescription& attribute)
        : attribute_(attribute) {}

    bool Has(const char* key) const { return attribute_.Find(key) != nullptr; }
    int Integer(const char* key, int fallback = 0) const { return Get<int>(key, fallback); }
    double Real(const char* key) const { return Get<double>(key, 0.0); }
    bool Flag(const char* key) const { return Get<bool>(key, false); }
    KesUnicodeString Text(const char* key) const;
    KesRawCollint Integers(const char* key) const;
    KesRawColldouble Reals(const char* key) const;
    KesListValKesUnicodeString Texts(const char* key) const;
    KesUnicodeString Name() const { return Text("name"); }
    KesUnicodeString Label() const { return Text("label"); }
    int Group() const { return Integer("group"); }
    const KesPanelAttributeDescription& Description() const { return attribute_; }

    template <class T> T Get(const char* key, T fallback) const {
        const KesPanelValue* value = attribute_.Find(key);
        return value != nullptr && std::holds_alternative<T>(*value) ? std::get<T>(*value)
                                                                     : fallback;
    }

private:
    const KesPanelAttributeDescription& attribute_;
};

// What a row's check of meaning sees besides its attribute.
struct KesCatalogueContext {
    const KesPanelDescription& description;
    int attribute; // 0-based position of the attribute checked
    std::vector<KesPanelFinding>& findings;
    KesPanelReview how;                          // what bound parameters are checked against
    const std::vector<KesPanelParameter>& model; // what the model holds (KesPanelReview::OverModel)
    const KesPanelParameterIndex& modelByName;   // `model` by name
    const KesPanelParameterIndex& fileByName;    // the description's model parameters by name

    void Error(const std::string& key, const std::string& message, int item = -1) const {
        Add(key, message, item, false);
    }
    void Warning(const std::string& key, const std::string& message, int item = -1) const {
        Add(key, message, item, true);
    }

private:
    void Add(const std::string& key, const std::string& message, int item, bool warning) const {
        KesPanelFinding finding;
        finding.attribute = attribute;
        finding.key = key;
        finding.item = item;
        finding.message = message;
        finding.warning = warning;
        findings.push_back(std::move(finding));
    }
};

struct KesCatalogueCallback {
    const char* name;
    void (*call)(KesMfgAttribute&); // with null arguments, as a caller may
};

struct KesCatalogueRow {
    const char* className;
    const char* summary; // one sentence, for the schema
    std::vector<KesCatalogueKey> keys;
    // Constructs the attribute and calls its setters that come before Display and belong to
    // the class (the base setters are the builder's); `titles` outlives the attribute.
    KesMfgAttribute* (*make)(const KesPanelArguments&, KesDlgFrame&,
                             KesListValKesUnicodeString* titles);
    // Whether an attribute is of this class (or derives from it).
    bool (*isA)(const KesMfgAttribute&);
    int typeCode; // of the value records; -1 when any (the link relays what it is handed)
    bool multiValue;
    // Steering: the kind of the impact values (Integers or Texts); none when it steers nothing.
    std::optional<KesPanelValueKind> impactKind;
    // Whether `value` (an int or a text) is one of the values the attribute may take, for its
    // impact values; null when it steers nothing.
    bool (*isChoice)(const KesPanelAttributeDescription&, const KesPanelValue& value);
    bool relays;           // a link: takes "relays" and "subPanel"
    bool bindsParameter;   // may report count -1 with the bound parameter's name
    bool mayReportNothing; // Output may report count 0 (a radio pair with neither on)
    // The public callbacks of the class, in the order the driver lists them (besides
    // OptionCheckModified, which every attribute has).
    std::vector<KesCatalogueCallback> callbacks;
    // The invariants of the widgets, and of one value record with count >= 1 (for a list, its
    // whole record; for a single value, the value).
    KesPanelFault (*checkWidgets)(KesMfgAttribute&);
    KesPanelFault (*checkValue)(KesMfgAttribute&, const KesMfgValueRecords::Record&);
    // The checks of meaning of a file's attribute whose keys have the right kinds and limits.
    void (*checkMeaning)(const KesPanelAttributeDescription&, const KesCatalogueContext&);

    const KesCatalogueKey* Key(const std::string& key) const;
};

class KesAttributeCatalogue {
public:
    static constexpr int kClassCount = 13;

    // Every row, in the order of the documentation.
    static const std::vector<KesCatalogueRow>& Rows();
    // The row of a class name; null when it is not an attribute class.
    static const KesCatalogueRow* Find(const std::string& className);
    // The row of an attribute's class; null for a class the catalogue does not know.
    static const KesCatalogueRow* Of(const KesMfgAttribute& attribute);
    // The callbacks every attribute has.
    static const std::vector<KesCatalogueCallback>& BaseCallbacks();
    // The fault of a catalogue, "" when whole: every class once, every row complete.
    static std::string Fault(const std::vector<KesCatalogueRow>& rows);
};

// The candidate closest to `word` (letter case aside, a few letters off at most), for
// "did you mean"; "" when none is close.
std::string KesClosestName(const std::string& word, const std::vector<std::string>& candidates);
// " (did you mean 'x'?)" or "".
std::string KesDidYouMean(const std::string& word, const std::vector<std::string>& candidates);
