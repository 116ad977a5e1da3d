// KesPanelBuilder: the constructor of each class (its row of the attribute catalogue), then the
// setters in the order of a panel written by hand.
//
//   1. Setters every class shares (the constructors are the catalogue's)
//   2. Relays of a link
//   3. The model
//   4. Build
#include "tools/KesPanelBuilder.h"

#include "framework/KesMfgAttNotifyPB.h"
#include "framework/KesMfgRealText.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttLink.h"
#include "tools/KesAttributeCatalogue.h"

#include <climits>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace {

KesListValKesUnicodeString TextList(const std::vector<std::string>& texts) {
    KesListValKesUnicodeString list;
    for (const std::string& text : texts) {
        list.Append(KesUnicodeString(text));
    }
    return list;
}

using Arguments = KesPanelArguments;

// -------------------------------------------------------------------------------------------
// 1. Setters every class shares (the constructors are the catalogue's)
// -------------------------------------------------------------------------------------------

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
// 2. Relays of a link
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

// -------------------------------------------------------------------------------------------
// 3. The model
// -------------------------------------------------------------------------------------------

// The names of the model's parameters, through whatever service answers the model.
std::set<std::string> ModelNames() {
    const std::unique_ptr<KesListValKesUnicodeString> names(KesMfgModel::GetParameters());
    std::set<std::string> held;
    for (int i = 1; names != nullptr && i <= names->Size(); ++i) {
        held.insert((*names)[i].Str());
    }
    return held;
}

// The parameters a description names, bound (in the panel and its sub-panels) or among its
// model parameters.
std::set<std::string> NamedParameters(const KesPanelDescription& description) {
    std::set<std::string> names;
    for (const KesPanelParameter& parameter : description.modelParameters) {
        names.insert(parameter.name);
    }
    std::vector<const KesPanelAttributeDescription*> attributes;
    for (const KesPanelAttributeDescription& attribute : description.attributes) {
        attributes.push_back(&attribute);
        if (attribute.subPanel != nullptr) {
            for (const KesPanelAttributeDescription& inside : attribute.subPanel->attributes) {
                attributes.push_back(&inside);
            }
        }
    }
    for (const KesPanelAttributeDescription* attribute : attributes) {
        const KesCatalogueRow* row = KesAttributeCatalogue::Find(attribute->className);
        const std::string name = Arguments(*attribute).Get<std::string>("parameterName", "");
        if (row != nullptr && row->bindsParameter && !name.empty()) {
            names.insert(name);
        }
    }
    return names;
}

// What the model holds of the parameters `description` names: their descriptions and current
// values, read as the attribute reads them. Answers a fault when the model cannot read a
// parameter it lists.
std::string ReadModel(const KesPanelDescription& description,
                      std::vector<KesPanelParameter>& held) {
    const std::set<std::string> inModel = ModelNames();
    for (const std::string& name : NamedParameters(description)) {
        if (inModel.count(name) == 0) {
            continue;
        }
        KesPanelParameter parameter;
        parameter.name = name;
        int d6 = 0, d7 = 0;
        KesRawCollint ints;
        KesRawColldouble reals;
        KesListValKesUnicodeString texts;
        KesMfgModel::ReadParameterDesc(KesUnicodeString(name), parameter.type, parameter.kind,
                                       parameter.units[0], parameter.units[1], parameter.units[2],
                                       d6, d7, ints, reals, texts);
        int error = KesMfgModel::GetError();
        if (error == KesMfgModel::kNoError) {
            KesMfgModel::ReadParameter(KesUnicodeString(name), ints, reals, texts);
            error = KesMfgModel::GetError();
        }
        if (error != KesMfgModel::kNoError) {
            return "model parameter '" + name + "': the model cannot read it (code " +
                   std::to_string(error) + ")";
        }
        for (int i = 1; i <= ints.Size(); ++i) {
            parameter.integers.push_back(ints[i]);
        }
        for (int i = 1; i <= reals.Size(); ++i) {
            parameter.reals.push_back(reals[i]);
        }
        for (int i = 1; i <= texts.Size(); ++i) {
            parameter.texts.push_back(texts[i].Str());
        }
        held.push_back(std::move(parameter));
    }
    return "";
}

// The first error of `findings`, worded by `description`; the warnings go to `warnings`.
std::string Checked(const KesPanelDescription& description,
                    const std::vector<KesPanelFinding>& findings,
                    std::vector<std::string>& warnings) {
    for (const KesPanelFinding& finding : findings) {
        if (!finding.warning) {
            return description.Describe(finding);
        }
        warnings.push_back("warning: " + description.Describe(finding));
    }
    return "";
}

// Creates each of `parameters` that is not among `held`. Answers the fault of a parameter the
// model refuses (those created before it stay).
std::string CreateParameters(const std::vector<KesPanelParameter>& parameters,
                             const std::vector<KesPanelParameter>& held) {
    const KesPanelParameterIndex heldByName(held);
    for (const KesPanelParameter& parameter : parameters) {
        if (heldByName.Find(parameter.name) != nullptr) {
            continue;
        }
        int d1 = parameter.type, d2 = parameter.kind, d3 = parameter.units[0],
            d4 = parameter.units[1], d5 = parameter.units[2], d6 = 0, d7 = 0;
        KesRawCollint ints;
        for (int value : parameter.integers) {
            ints.Append(value);
        }
        KesRawColldouble reals;
        for (double value : parameter.reals) {
            reals.Append(value);
        }
        KesMfgModel::CreateParameter(KesUnicodeString(parameter.name), d1, d2, d3, d4, d5, d6, d7,
                                     ints, reals, TextList(parameter.texts));
        const int error = KesMfgModel::GetError();
        if (error != KesMfgModel::kNoError) {
            const char* text = KesMfgModel::GetErrorText(error);
            return "model parameter '" + parameter.name + "': the model refused it (code " +
                   std::to_string(error) + (text != nullptr ? std::string(": ") + text : "") + ")";
        }
    }
    return "";
}

} // namespace

// -------------------------------------------------------------------------------------------
// 4. Build
// -------------------------------------------------------------------------------------------

void KesPanelBuilder::HandRecordsToLink(const std::vector<KesMfgAttribute*>& subPanelAttributes,
                                        KesMfgAttLink& link) {
    KesListValKesUnicodeString names, texts;
    KesRawCollint typeCodes, counts, ints;
    KesRawColldouble reals;
    for (KesMfgAttribute* attribute : subPanelAttributes) {
        if (attribute != nullptr) {
            int group = 0;
            attribute->GetAttValue(&group, &names, &typeCodes, &counts, &ints, &reals, &texts);
        }
    }
    // The link takes the counts before the type codes.
    link.SetAttValue(&names, &counts, &typeCodes, &ints, &reals, &texts, 0);
}

std::string KesPanelBuilder::Build(const KesPanelDescription& description, KesDlgFrame& frame) {
    warnings_.clear();
    std::string fault =
        Checked(description, description.Review(KesPanelReview::Strict, {}), warnings_);
    if (fault.empty()) {
        const std::set<std::string> held = ModelNames();
        for (const KesPanelParameter& parameter : description.modelParameters) {
            if (fault.empty() && held.count(parameter.name) != 0) {
                fault = "model parameter '" + parameter.name + "' exists in the model already";
            }
        }
    }
    if (fault.empty()) {
        fault = CreateParameters(description.modelParameters, {});
    }
    if (!fault.empty()) {
        return fault;
    }
    BuildChecked(description, frame, description.modelParameters);
    return "";
}

std::string KesPanelBuilder::BuildOverModel(const KesPanelDescription& description,
                                            KesDlgFrame& frame) {
    warnings_.clear();
    std::vector<KesPanelParameter> held;
    std::string fault = ReadModel(description, held);
    if (fault.empty()) {
        fault =
            Checked(description, description.Review(KesPanelReview::OverModel, held), warnings_);
    }
    if (fault.empty()) {
        fault = CreateParameters(description.modelParameters, held);
    }
    if (!fault.empty()) {
        return fault;
    }
    // Bound attributes read the model's parameters where it held them, else the file's.
    std::vector<KesPanelParameter> parameters = held;
    const KesPanelParameterIndex heldByName(held);
    for (const KesPanelParameter& parameter : description.modelParameters) {
        if (heldByName.Find(parameter.name) == nullptr) {
            parameters.push_back(parameter);
        }
    }
    BuildChecked(description, frame, parameters);
    return "";
}

void KesPanelBuilder::BuildChecked(const KesPanelDescription& description, KesDlgFrame& frame,
                                   const std::vector<KesPanelParameter>& parameters) {
    std::vector<KesMfgAttribute*> built;
    std::map<std::string, KesMfgAttribute*> byName;
    const KesPanelParameterIndex parametersByName(parameters);
    for (const KesPanelAttributeDescription& attribute : description.attributes) {
        const KesCatalogueRow& row = *KesAttributeCatalogue::Find(attribute.className);
        // A bound real given no value takes its parameter's.
        KesPanelAttributeDescription completed = attribute;
        if (row.bindsParameter && !attribute.Find("value")) {
            const KesPanelParameter* parameter =
                parametersByName.Find(Arguments(attribute).Get<std::string>("parameterName", ""));
            if (parameter != nullptr && !parameter->reals.empty()) {
                completed.Set("value", parameter->reals.front());
            }
        }
        const Arguments arguments(completed);
        auto titles = std::make_unique<KesListValKesUnicodeString>(arguments.Texts("titles"));
        KesMfgAttribute* made = row.make(arguments, frame, titles.get());
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
        if (KesAttributeCatalogue::Find(attribute.className)->impactKind ==
            KesPanelValueKind::Texts) {
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
        const bool opened = description.attributes[i].subPanel != nullptr;
        if (link == nullptr || relays.empty() || (opened && !relaysAnswerSubPanelLinks_)) {
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
}
