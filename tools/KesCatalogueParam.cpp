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

// Why the attribute would not offer `parameter` in its list, nor take its typed name: the
// test of a compatible parameter (a real of kind 1 with the attribute's three unit codes,
// holding a real that lies within the limits when they differ, compared in the shown unit);
// "" when it would offer it. A parameter holding no real is not told here (the caller says
// what that means).
std::string NotOffered(const KesPanelArguments& a, const KesPanelParameter& parameter) {
    const std::string named = "the model parameter '" + parameter.name + "'";
    if (parameter.type != KesMfgAttribute::kRealType) {
        return named + " is not a real (type " + std::to_string(parameter.type) +
               "): the attribute offers only reals";
    }
    if (parameter.kind != 1) {
        return named + " is of kind " + std::to_string(parameter.kind) +
               ": the attribute offers only those of kind 1";
    }
    const int units[3] = {a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                          a.Integer("thirdUnitCode")};
    if (!std::equal(units, units + 3, parameter.units)) {
        return named + " has the units " + std::to_string(parameter.units[0]) + ", " +
               std::to_string(parameter.units[1]) + ", " + std::to_string(parameter.units[2]) +
               ", the attribute " + std::to_string(units[0]) + ", " + std::to_string(units[1]) +
               ", " + std::to_string(units[2]) + ": the attribute would not offer it";
    }
    if (parameter.reals.empty()) {
        return "";
    }
    const KesMfgUnitConversion conversion(units[0], units[1], units[2], a.Integer("unitFlag"));
    const double minimum = conversion.ToShown(a.Real("minimum"));
    const double maximum = conversion.ToShown(a.Real("maximum"));
    const double shown = conversion.ToShown(parameter.reals.front());
    if (minimum != maximum &&
        (shown < std::min(minimum, maximum) || shown > std::max(minimum, maximum))) {
        const double low = std::min(a.Real("minimum"), a.Real("maximum"));
        const double high = std::max(a.Real("minimum"), a.Real("maximum"));
        return named + " holds " + Written(parameter.reals.front()) + ", outside the limits " +
               Written(low) + ".." + Written(high) + ": the attribute would not offer it";
    }
    return "";
}

// A value given besides a bound parameter's: shown until the parameter is picked again.
void CheckBoundValue(const KesPanelArguments& a, const KesPanelParameter& parameter,
                     const KesCatalogueContext& context) {
    if (a.Has("value") && !parameter.reals.empty() && a.Real("value") != parameter.reals.front()) {
        context.Warning("value", "the value " + Written(a.Real("value")) +
                                     " is not that of the bound model parameter '" +
                                     parameter.name + "', " + Written(parameter.reals.front()) +
                                     ": the attribute shows its own until the parameter is "
                                     "picked again");
    }
}

// The parameter an attribute binds. Over a live model, the model's when it holds it: what the
// attribute would not offer is a warning (the host's model is what it is). Otherwise one of
// the description's model parameters, a real of the same unit codes, whose value the
// attribute shows: what contradicts it is an error of the description. A description read
// alone may bind a parameter of the host's model: only a name close to one of its own is
// warned, as a probable slip.
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
    if (context.how == KesPanelReview::OverModel) {
        if (const KesPanelParameter* held = context.modelByName.Find(name)) {
            const std::string fault = NotOffered(a, *held);
            if (!fault.empty()) {
                context.Warning("parameterName", fault);
            } else if (held->reals.empty()) {
                context.Warning("parameterName",
                                "the model parameter '" + name +
                                    "' holds no value: the attribute would not offer it" +
                                    (a.Has("value") ? "" : ", and shows 0"));
            } else {
                CheckBoundValue(a, *held, context);
            }
            return;
        }
    }
    const auto& parameters = context.description.modelParameters;
    const KesPanelParameter* found = context.fileByName.Find(name);
    if (found == nullptr) {
        std::vector<std::string> names;
        for (const KesPanelParameter& parameter : parameters) {
            names.push_back(parameter.name);
        }
        switch (context.how) {
        case KesPanelReview::Alone:
            if (!KesClosestName(name, names).empty()) {
                context.Warning("parameterName",
                                "the model parameter '" + name +
                                    "' is not among the file's modelParameters" +
                                    KesDidYouMean(name, names) +
                                    ": the model must hold it when the panel is built");
            }
            break;
        case KesPanelReview::Strict:
            context.Error("parameterName", "the model parameter '" + name +
                                               "' is not among the file's modelParameters" +
                                               KesDidYouMean(name, names));
            break;
        case KesPanelReview::OverModel:
            context.Error("parameterName", "the model parameter '" + name +
                                               "' is neither in the model nor among the file's "
                                               "modelParameters" +
                                               KesDidYouMean(name, names));
            break;
        }
        return;
    }
    const std::string fault = NotOffered(a, *found);
    if (!fault.empty()) {
        context.Error("parameterName", fault);
    } else if (found->reals.empty() && !a.Has("value")) {
        context.Error("value",
                      "the model parameter '" + name + "' holds no value: the attribute needs one");
    } else {
        CheckBoundValue(a, *found, context);
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
                 "The bound model parameter, a real of the attribute's unit codes: the model's "
                 "when the panel is built over a model that holds it, else one of the file's "
                 "modelParameters; empty for none."}},
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
