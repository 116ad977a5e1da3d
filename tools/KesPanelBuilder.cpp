// KesPanelBuilder: one constructor call per attribute class, then the setters in the order of a
// panel written by hand.
//
//   1. Arguments with their defaults
//   2. Constructors
//   3. Relays of a link
//   4. Build
#include "tools/KesPanelBuilder.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "framework/KesMfgRealText.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

#include <climits>
#include <cmath>
#include <functional>
#include <map>
#include <memory>

namespace {

// -------------------------------------------------------------------------------------------
// 1. Arguments with their defaults
// -------------------------------------------------------------------------------------------

KesListValKesUnicodeString TextList(const std::vector<std::string>& texts) {
    KesListValKesUnicodeString list;
    for (const std::string& text : texts) {
        list.Append(KesUnicodeString(text));
    }
    return list;
}

// The arguments of one attribute; an argument left out gives the default named at the call.
class Arguments {
public:
    explicit Arguments(const KesPanelAttributeDescription& attribute) : attribute_(attribute) {}

    bool Has(const char* key) const { return attribute_.Find(key) != nullptr; }
    int Integer(const char* key, int fallback = 0) const { return Get<int>(key, fallback); }
    double Real(const char* key) const { return Get<double>(key, 0.0); }
    KesUnicodeString Text(const char* key) const {
        return KesUnicodeString(Get<std::string>(key, {}));
    }
    KesRawCollint Integers(const char* key) const {
        KesRawCollint list;
        for (int value : Get<std::vector<int>>(key, {})) {
            list.Append(value);
        }
        return list;
    }
    KesRawColldouble Reals(const char* key) const {
        KesRawColldouble list;
        for (double value : Get<std::vector<double>>(key, {})) {
            list.Append(value);
        }
        return list;
    }
    KesListValKesUnicodeString Texts(const char* key) const {
        return TextList(Get<std::vector<std::string>>(key, {}));
    }
    bool Flag(const char* key) const { return Get<bool>(key, false); }
    KesUnicodeString Name() const { return Text("name"); }
    KesUnicodeString Label() const { return Text("label"); }
    int Group() const { return Integer("group"); }

private:
    template <class T> T Get(const char* key, T fallback) const {
        const KesPanelValue* value = attribute_.Find(key);
        return value != nullptr && std::holds_alternative<T>(*value) ? std::get<T>(*value)
                                                                     : fallback;
    }

    const KesPanelAttributeDescription& attribute_;
};

// -------------------------------------------------------------------------------------------
// 2. Constructors
// -------------------------------------------------------------------------------------------

// Makes an attribute of one class; `titles` keeps the title list a boolean class points to.
using Maker = std::function<KesMfgAttribute*(const Arguments&, KesDlgFrame&,
                                             KesListValKesUnicodeString* titles)>;

// The visible value count and the fixed count of the windowed lists, before Display.
template <class List> List* WithWindow(List* list, const Arguments& a) {
    if (a.Has("nbVisibleVals")) {
        list->SetNbVisibleVals(a.Integer("nbVisibleVals"));
    }
    if constexpr (requires { list->SetNbValModifMode(0); }) {
        if (a.Has("nbValModifMode")) {
            list->SetNbValModifMode(a.Integer("nbValModifMode"));
        }
    }
    return list;
}

const std::map<std::string, Maker>& Makers() {
    using A = const Arguments&;
    using F = KesDlgFrame&;
    using T = KesListValKesUnicodeString*;
    static const std::map<std::string, Maker> makers = {
        {"KesMfgAttInt",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttInt(a.Name(), a.Label(), a.Integer("value"), a.Integer("minimum"),
                                     a.Integer("maximum"), a.Integer("reserved"), &f, a.Group());
         }},
        {"KesMfgAttDouble",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttDouble(
                 a.Name(), a.Label(), a.Real("value"), a.Real("minimum"), a.Real("maximum"),
                 a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                 a.Integer("thirdUnitCode"), &f, a.Group(), a.Integer("unitFlag"));
         }},
        {"KesMfgAttChar",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttChar(a.Name(), a.Label(), a.Text("value"), a.Text("secondaryText"),
                                      &f, a.Group());
         }},
        {"KesMfgAttLogic",
         [](A a, F f, T titles) -> KesMfgAttribute* {
             return new KesMfgAttLogic(
                 a.Name(), a.Label(), a.Integer("value"), a.Integer("reserved"), &f, a.Group(),
                 a.Integer("presentation"), a.Has("titles") ? titles : nullptr);
         }},
        {"KesMfgAttLink",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttLink(a.Name(), a.Label(), &f, a.Text("iconName").Str().c_str(),
                                      a.Group());
         }},
        {"KesMfgAttCharList",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttCharList(a.Name(), a.Label(), a.Text("value"), a.Texts("values"),
                                          a.Texts("displayTexts"), a.Text("secondary"), &f,
                                          a.Group(), a.Integer("presentation"));
         }},
        {"KesMfgAttIntList",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttIntList(a.Name(), a.Label(), a.Integer("value"),
                                         a.Integers("values"), a.Texts("displayTexts"),
                                         a.Integer("reserved"), &f, a.Group(),
                                         a.Integer("presentation"));
         }},
        {"KesMfgAttMVDouble",
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(
                 new KesMfgAttMVDouble(
                     a.Name(), a.Label(), a.Reals("values"), a.Real("minimum"), a.Real("maximum"),
                     a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                     a.Integer("thirdUnitCode"), &f, a.Group(), a.Integer("unitFlag")),
                 a);
         }},
        {"KesMfgAttMVInt",
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVInt(a.Name(), a.Label(), a.Integers("values"),
                                                  a.Integer("minimum"), a.Integer("maximum"),
                                                  a.Integer("reserved"), &f, a.Group()),
                               a);
         }},
        {"KesMfgAttMVChar",
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVChar(a.Name(), a.Label(), a.Texts("values"),
                                                   a.Text("newValueText"), &f, a.Group()),
                               a);
         }},
        {"KesMfgAttMVLogic",
         [](A a, F f, T titles) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVLogic(a.Name(), a.Label(), a.Integers("values"),
                                                    a.Integer("reserved"), &f, a.Group(),
                                                    a.Integer("presentation"),
                                                    a.Has("titles") ? titles : nullptr),
                               a);
         }},
        {"KesMfgAttMVCharList",
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVCharList(
                                   a.Name(), a.Label(), a.Texts("values"), a.Texts("allowedValues"),
                                   a.Texts("displayTexts"), a.Text("secondary"), &f, a.Group()),
                               a);
         }},
        {"KesMfgAttDoubleParam",
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttDoubleParam(
                 a.Name(), a.Label(), a.Real("value"), a.Real("minimum"), a.Real("maximum"),
                 a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                 a.Integer("thirdUnitCode"), a.Text("parameterName"), &f, a.Group(),
                 a.Integer("unitFlag"));
         }},
    };
    return makers;
}

// The base setters that come before Display.
void SetBeforeDisplay(KesMfgAttribute& attribute, const Arguments& a) {
    if (a.Has("optionMode") || a.Has("initialState")) {
        attribute.SetOptionMode(a.Integer("optionMode"), a.Integer("initialState", 1));
    }
    if (a.Flag("toBeDefined")) {
        attribute.SetAttToBeDefined();
    }
    if (a.Has("visibleTextWidth")) {
        attribute.SetVisibleTextWidth(a.Integer("visibleTextWidth"));
    }
}

// The setters that need the widgets.
void SetAfterDisplay(KesMfgAttribute& attribute, const Arguments& a) {
    if (a.Has("editMode")) {
        attribute.SetEditMode(a.Integer("editMode"));
    }
    if (a.Has("contextAccess")) {
        attribute.SetContextAccess(a.Integer("contextAccess"));
    }
    if (a.Has("help") || a.Has("shortHelp")) {
        attribute.SetHelp(a.Texts("help"), a.Texts("shortHelp"));
    }
    if (a.Has("icons") || a.Has("secondIcons")) {
        KesListValKesUnicodeString icons = a.Texts("icons");
        KesListValKesUnicodeString secondIcons = a.Texts("secondIcons");
        attribute.SetIconNames(&icons, a.Has("secondIcons") ? &secondIcons : nullptr);
    }
    if (a.Has("labelIconName")) {
        attribute.SetIconName(a.Text("labelIconName").Str().c_str());
    }
}

// -------------------------------------------------------------------------------------------
// 3. Relays of a link
// -------------------------------------------------------------------------------------------

int AddSaturated(int value, double increment) {
    const double sum = static_cast<double>(value) + increment;
    return sum >= INT_MAX ? INT_MAX : sum <= INT_MIN ? INT_MIN : static_cast<int>(sum);
}

// Hands relay `press` (from 1; the last relay for any press beyond) over to the link.
void Relay(KesMfgAttLink& link, const std::vector<std::vector<KesPanelRecord>>& relays,
           long long press) {
    const size_t index =
        static_cast<size_t>(std::min<long long>(press, static_cast<long long>(relays.size())) - 1);
    const double beyond = static_cast<double>(press - 1 - static_cast<long long>(index));
    KesListValKesUnicodeString names;
    KesRawCollint counts, typeCodes, ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    for (const KesPanelRecord& record : relays[index]) {
        names.Append(KesUnicodeString(record.name));
        typeCodes.Append(record.typeCode);
        const double step = record.increment * beyond;
        for (int value : record.integers) {
            ints.Append(AddSaturated(value, step));
        }
        for (double value : record.reals) {
            reals.Append(KesMfgFiniteReal(value + step)); // many presses never overflow
        }
        for (const std::string& text : record.texts) {
            texts.Append(KesUnicodeString(text));
        }
        counts.Append(
            static_cast<int>(record.integers.size() + record.reals.size() + record.texts.size()));
    }
    link.SetAttValue(&names, &counts, &typeCodes, &ints, &reals, &texts, 0);
}

void CreateParameter(const KesPanelParameter& parameter) {
    int d1 = parameter.type, d2 = parameter.kind, d3 = parameter.units[0], d4 = parameter.units[1],
        d5 = parameter.units[2], d6 = 0, d7 = 0;
    KesRawCollint ints;
    for (int value : parameter.integers) {
        ints.Append(value);
    }
    KesRawColldouble reals;
    for (double value : parameter.reals) {
        reals.Append(value);
    }
    KesMfgModel::CreateParameter(KesUnicodeString(parameter.name), d1, d2, d3, d4, d5, d6, d7, ints,
                                 reals, TextList(parameter.texts));
}

} // namespace

// -------------------------------------------------------------------------------------------
// 4. Build
// -------------------------------------------------------------------------------------------

std::string KesPanelBuilder::Build(const KesPanelDescription& description, KesDlgFrame& frame) {
    std::string fault = description.Check();
    for (const KesPanelParameter& parameter : description.modelParameters) {
        if (fault.empty() && KesMfgModel::HasParameter(KesUnicodeString(parameter.name))) {
            fault = "model parameter '" + parameter.name + "' exists in the model already";
        }
    }
    if (!fault.empty()) {
        return fault;
    }
    for (const KesPanelParameter& parameter : description.modelParameters) {
        CreateParameter(parameter);
    }

    std::vector<KesMfgAttribute*> built;
    std::map<std::string, KesMfgAttribute*> byName;
    for (const KesPanelAttributeDescription& attribute : description.attributes) {
        const Arguments arguments(attribute);
        auto titles = std::make_unique<KesListValKesUnicodeString>(arguments.Texts("titles"));
        KesMfgAttribute* made = Makers().at(attribute.className)(arguments, frame, titles.get());
        if (arguments.Has("titles")) {
            titles_.push_back(std::move(titles));
        }
        SetBeforeDisplay(*made, arguments);
        built.push_back(made);
        byName[attribute.Name()] = made;
    }
    for (KesMfgAttribute* attribute : built) {
        attribute->Display();
    }
    for (size_t i = 0; i < built.size(); ++i) {
        SetAfterDisplay(*built[i], Arguments(description.attributes[i]));
    }

    std::vector<KesMfgAttribute*> steering;
    for (size_t i = 0; i < built.size(); ++i) {
        const KesPanelAttributeDescription& attribute = description.attributes[i];
        if (!attribute.impacts) {
            continue;
        }
        KesListPtrKesMfgAttribute impacted;
        for (const std::string& name : attribute.impacts->attributes) {
            impacted.Append(byName.at(name));
        }
        KesRawCollint flags;
        for (const std::vector<int>& row : attribute.impacts->sensitivities) {
            for (int flag : row) {
                flags.Append(flag);
            }
        }
        if (attribute.className == "KesMfgAttCharList") {
            built[i]->AddImpactedAttributes(impacted, KesRawCollint(),
                                            TextList(attribute.impacts->textValues), flags);
        } else {
            KesRawCollint values;
            for (int value : attribute.impacts->integerValues) {
                values.Append(value);
            }
            built[i]->AddImpactedAttributes(impacted, KesRawCollint(), values, flags);
        }
        steering.push_back(built[i]);
    }
    for (KesMfgAttribute* attribute : steering) {
        attribute->ImpactAttributes();
    }

    // The owner of the frame answers each press of a link with the next relay.
    static KesMfgAttNotifyPB pressed(-1);
    for (size_t i = 0; i < built.size(); ++i) {
        const auto& relays = description.attributes[i].relays;
        auto* link = dynamic_cast<KesMfgAttLink*>(built[i]);
        if (link == nullptr || relays.empty()) {
            continue;
        }
        // The frame may copy its callbacks: the press count is shared, not copied.
        auto presses = std::make_shared<long long>(0);
        frame.AddCallback(link, &pressed,
                          [link, relays, presses](KesCommand*, KesNotification*, void**) {
                              Relay(*link, relays, ++*presses);
                          });
    }
    attributes_.insert(attributes_.end(), built.begin(), built.end());
    return "";
}
