// The catalogue's row of the parameterised real: a real that may be bound to a parameter of the
// manufacturing model.
#include "tools/KesCatalogueParts.h"

#include "param/KesMfgAttDoubleParam.h"

namespace kes_catalogue {

namespace {

#define KES_PARAM_CALLBACK(method)                                                                 \
    KesCatalogueCallback {                                                                         \
#method,                                                                                   \
            [](KesMfgAttribute &                                                                   \
               a) { static_cast<KesMfgAttDoubleParam&>(a).method(nullptr, nullptr, nullptr); }     \
    }

KesPanelFault CheckParamValue(KesMfgAttribute& attribute,
                              const KesMfgValueRecords::Record& record) {
    auto& param = static_cast<KesMfgAttDoubleParam&>(attribute);
    return CheckReal(record.reals.front(), param.GetShownValue(), param.HasLimits(),
                     param.GetMinimum(), param.GetMaximum());
}

// The parameter an attribute binds: one of the file's model parameters, a real one of the same
// unit codes, whose value the attribute shows.
void CheckParameter(const KesPanelAttributeDescription& attribute,
                    const KesCatalogueContext& context) {
    const KesPanelArguments a(attribute);
    const std::string name = a.Get<std::string>("parameterName", "");
    if (name.empty()) {
        if (!a.Has("value")) {
            context.Error("value", "a real bound to no model parameter needs a value");
        }
        return;
    }
    const auto& parameters = context.description.modelParameters;
    const auto found = std::find_if(parameters.begin(), parameters.end(),
                                    [&](const KesPanelParameter& p) { return p.name == name; });
    if (found == parameters.end()) {
        std::vector<std::string> names;
        for (const KesPanelParameter& parameter : parameters) {
            names.push_back(parameter.name);
        }
        context.Error("parameterName", "the model parameter '" + name +
                                           "' is not among the file's modelParameters" +
                                           KesDidYouMean(name, names));
        return;
    }
    if (found->type != KesMfgAttribute::kRealType) {
        context.Error("parameterName", "the model parameter '" + name + "' is not a real (type " +
                                           std::to_string(found->type) +
                                           "): the attribute offers only reals");
        return;
    }
    const int units[3] = {a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                          a.Integer("thirdUnitCode")};
    if (!std::equal(units, units + 3, found->units)) {
        context.Error("parameterName",
                      "the model parameter '" + name + "' has the units " +
                          std::to_string(found->units[0]) + ", " + std::to_string(found->units[1]) +
                          ", " + std::to_string(found->units[2]) + ", the attribute " +
                          std::to_string(units[0]) + ", " + std::to_string(units[1]) + ", " +
                          std::to_string(units[2]) + ": the attribute would not offer it");
        return;
    }
    if (found->reals.empty()) {
        if (!a.Has("value")) {
            context.Error("value", "the model parameter '" + name +
                                       "' holds no value: the attribute needs one");
        }
        return;
    }
    const double held = found->reals.front();
    const double low = std::min(a.Real("minimum"), a.Real("maximum"));
    const double high = std::max(a.Real("minimum"), a.Real("maximum"));
    if ((low != 0.0 || high != 0.0) && (held < low || held > high)) {
        context.Error("parameterName", "the model parameter '" + name + "' holds " + Written(held) +
                                           ", outside the limits " + Written(low) + ".." +
                                           Written(high) + ": the attribute would not offer it");
        return;
    }
    if (a.Has("value") && a.Real("value") != held) {
        context.Warning("value", "the value " + Written(a.Real("value")) +
                                     " is not that of the bound model parameter '" + name + "', " +
                                     Written(held) +
                                     ": the attribute shows its own until the parameter is "
                                     "picked again");
    }
}

} // namespace

std::vector<KesCatalogueRow> ParamRows() {
    using A = const KesPanelArguments&;
    using F = KesDlgFrame&;
    using T = KesListValKesUnicodeString*;
    using D = const KesPanelAttributeDescription&;
    using C = const KesCatalogueContext&;
    return {
        {"KesMfgAttDoubleParam",
         "A real that may be bound to a real parameter of the manufacturing model of the same "
         "unit codes.",
         Join({Head(),
               {{"value", Kind::Real, false, "0",
                 "The reference value, in the caller's unit; required unless a model parameter "
                 "is bound, whose value it then defaults to."}},
               Range(Kind::Real),
               Units(),
               {{"parameterName", Kind::Text, false, "\"\"",
                 "The bound model parameter: one of the file's modelParameters, a real of the "
                 "attribute's unit codes; empty for none."}},
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttDoubleParam(
                 a.Name(), a.Label(), a.Real("value"), a.Real("minimum"), a.Real("maximum"),
                 a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                 a.Integer("thirdUnitCode"), a.Text("parameterName"), &f, a.Group(),
                 a.Integer("unitFlag"));
         },
         [](const KesMfgAttribute& attribute) {
             return dynamic_cast<const KesMfgAttDoubleParam*>(&attribute) != nullptr;
         },
         KesMfgAttribute::kRealType,
         false,
         std::nullopt,
         nullptr,
         false,
         true,
         false,
         {KES_PARAM_CALLBACK(AttributeModified), KES_PARAM_CALLBACK(DropParameters),
          KES_PARAM_CALLBACK(DisplayParameter), KES_PARAM_CALLBACK(UnParametrize),
          KES_PARAM_CALLBACK(CreateParameter), KES_PARAM_CALLBACK(EntryCreateParameter),
          KES_PARAM_CALLBACK(YesCreateParameter), KES_PARAM_CALLBACK(NoCreateParameter),
          KES_PARAM_CALLBACK(DefineStep), KES_PARAM_CALLBACK(OkStep)},
         NoFault,
         CheckParamValue,
         [](D d, C c) {
             CheckLimits(d, c, "value");
             CheckUnits(d, c);
             CheckParameter(d, c);
         }},
    };
}

#undef KES_PARAM_CALLBACK

} // namespace kes_catalogue
