// The catalogue's rows of the single-valued classes: integer, real, text, boolean, link.
#include "tools/KesCatalogueParts.h"

#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

namespace kes_catalogue {

namespace {

KesPanelFault CheckIntValue(KesMfgAttribute& attribute, const KesMfgValueRecords::Record& record) {
    const auto& integer = static_cast<const KesMfgAttInt&>(attribute);
    const int value = record.ints.front();
    if (integer.HasLimits() && integer.GetSpinnerWidget() != nullptr &&
        (value < std::min(integer.GetMinimum(), integer.GetMaximum()) ||
         value > std::max(integer.GetMinimum(), integer.GetMaximum()))) {
        return Fault("an integer outside its limits", std::to_string(value));
    }
    return KesPanelFault();
}

KesPanelFault CheckDoubleValue(KesMfgAttribute& attribute,
                               const KesMfgValueRecords::Record& record) {
    auto& real = static_cast<KesMfgAttDouble&>(attribute);
    return CheckReal(record.reals.front(), real.GetAttValue(), real.HasLimits(), real.GetMinimum(),
                     real.GetMaximum());
}

KesPanelFault CheckCharValue(KesMfgAttribute&, const KesMfgValueRecords::Record& record) {
    if (record.texts.front().GetLengthInChar() != KesMfgAttChar::kTextLength) {
        return Fault("a text that is not of 72 characters");
    }
    return KesPanelFault();
}

KesPanelFault CheckLogicValue(KesMfgAttribute&, const KesMfgValueRecords::Record& record) {
    if (record.ints.front() != 0 && record.ints.front() != 1) {
        return Fault("a boolean other than 0 and 1", std::to_string(record.ints.front()));
    }
    return KesPanelFault();
}

// The link relays what it is handed: KesPanelChecks compares its Output with GetAttValue.
KesPanelFault AnyValue(KesMfgAttribute&, const KesMfgValueRecords::Record&) {
    return KesPanelFault();
}

} // namespace

std::vector<KesCatalogueRow> SingleRows() {
    using A = const KesPanelArguments&;
    using F = KesDlgFrame&;
    using T = KesListValKesUnicodeString*;
    using D = const KesPanelAttributeDescription&;
    using C = const KesCatalogueContext&;
    return {
        {"KesMfgAttInt",
         "An integer in a spinner between its limits, or in a free editor without limits.",
         Join({Head(),
               {Value(Kind::Integer, "0", "The reference value.")},
               Range(Kind::Integer),
               {{"reserved", Kind::Integer, false, "0", "Kept for the caller."}},
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttInt(a.Name(), a.Label(), a.Integer("value"), a.Integer("minimum"),
                                     a.Integer("maximum"), a.Integer("reserved"), &f, a.Group());
         },
         IsA<KesMfgAttInt>,
         KesMfgAttribute::kIntegerType,
         false,
         std::nullopt,
         nullptr,
         false,
         false,
         false,
         {Modified<KesMfgAttInt>(),
          {"ControlIntValue",
           [](KesMfgAttribute& a) {
               static_cast<KesMfgAttInt&>(a).ControlIntValue(nullptr, nullptr, nullptr);
           }}},
         NoFault,
         CheckIntValue,
         [](D d, C c) { CheckLimits(d, c, "value"); }},
        {"KesMfgAttDouble",
         "A real in a spinner between its limits or a free editor, in the caller's unit or "
         "converted for display.",
         Join({Head(),
               {Value(Kind::Real, "0", "The reference value, in the caller's unit.")},
               Range(Kind::Real),
               Units(),
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttDouble(
                 a.Name(), a.Label(), a.Real("value"), a.Real("minimum"), a.Real("maximum"),
                 a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                 a.Integer("thirdUnitCode"), &f, a.Group(), a.Integer("unitFlag"));
         },
         IsA<KesMfgAttDouble>,
         KesMfgAttribute::kRealType,
         false,
         std::nullopt,
         nullptr,
         false,
         false,
         false,
         {Modified<KesMfgAttDouble>()},
         NoFault,
         CheckDoubleValue,
         [](D d, C c) {
             CheckLimits(d, c, "value");
             CheckUnits(d, c);
         }},
        {"KesMfgAttChar",
         "One line of text; its value records hold 72 characters, blank-padded.",
         Join({Head(),
               {Value(Kind::Text, "\"\"", "The reference text, at most 72 characters."),
                {"secondaryText", Kind::Text, false, "\"\"", "Kept for the caller."}},
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttChar(a.Name(), a.Label(), a.Text("value"), a.Text("secondaryText"),
                                      &f, a.Group());
         },
         IsA<KesMfgAttChar>,
         KesMfgAttribute::kTextType,
         false,
         std::nullopt,
         nullptr,
         false,
         false,
         false,
         {Modified<KesMfgAttChar>()},
         NoFault,
         CheckCharValue,
         [](D d, C c) { CheckTextLength(d, c, "value"); }},
        {"KesMfgAttLogic",
         "A boolean as a check button or a pair of radio buttons.",
         Join({Head(),
               {Value(Kind::Integer, "0", "The reference value: 0 false, 1 true.", 0, 1),
                {"reserved", Kind::Integer, false, "0", "Kept for the caller."},
                {"presentation", Kind::Integer, false, "0",
                 "0 a check button, 1 a pair of radio buttons.", 0, 1},
                {"titles", Kind::Texts, false, "null",
                 "The radio buttons' titles: exactly two, the false button's then the true "
                 "button's."}},
               Settings(),
               Icons()}),
         [](A a, F f, T titles) -> KesMfgAttribute* {
             return new KesMfgAttLogic(
                 a.Name(), a.Label(), a.Integer("value"), a.Integer("reserved"), &f, a.Group(),
                 a.Integer("presentation"), a.Has("titles") ? titles : nullptr);
         },
         IsA<KesMfgAttLogic>,
         KesMfgAttribute::kBooleanType,
         false,
         Kind::Integers,
         [](D, const KesPanelValue& value) {
             return std::holds_alternative<int>(value) &&
                    (std::get<int>(value) == 0 || std::get<int>(value) == 1);
         },
         false,
         false,
         true,
         {Modified<KesMfgAttLogic>()},
         NoFault,
         CheckLogicValue,
         [](D d, C c) {
             const KesPanelValue* titles = d.Find("titles");
             if (titles != nullptr && std::get<std::vector<std::string>>(*titles).size() != 2) {
                 c.Error("titles", "two titles, the false button's then the true button's");
             }
         }},
        {"KesMfgAttLink",
         "A push button for a sub-dialog of the host; `subPanel` is the sub-dialog a window "
         "opens, `relays` what each press hands back where none opens.",
         Join({Head(),
               {{"iconName", Kind::Text, false, "\"\"", "The push button's icon."},
                {"labelIconName", Kind::Text, false, "null", "SetIconName after Display."},
                {"help", Kind::Texts, false, "null", "SetHelp's help texts, after Display."},
                {"shortHelp", Kind::Texts, false, "null", "SetHelp's short help texts."}}}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttLink(a.Name(), a.Label(), &f, a.Text("iconName").Str().c_str(),
                                      a.Group());
         },
         IsA<KesMfgAttLink>,
         -1,
         false,
         std::nullopt,
         nullptr,
         true,
         false,
         false,
         {Modified<KesMfgAttLink>(),
          {"AttributeActivated",
           [](KesMfgAttribute& a) {
               static_cast<KesMfgAttLink&>(a).AttributeActivated(nullptr, nullptr, nullptr);
           }}},
         NoFault,
         AnyValue,
         NoMeaning},
    };
}

} // namespace kes_catalogue
