// KesPanelBuilder: the constructor of each class (its row of the attribute catalogue), then the
// setters in the order of a panel written by hand.
//
//   1. Setters every class shares (the constructors are the catalogue's)
//   2. Relays of a link
//   3. Build
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
// 3. Build
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

std::string KesPanelBuilder::BuildOverModel(const KesPanelDescription& description,
                                            KesDlgFrame& frame) {
    return Build(description, frame);
}

std::string KesPanelBuilder::Build(const KesPanelDescription& description, KesDlgFrame& frame) {
    warnings_.clear();
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
        const KesCatalogueRow& row = *KesAttributeCatalogue::Find(attribute.className);
        // A bound real given no value takes its parameter's.
        KesPanelAttributeDescription completed = attribute;
        if (row.bindsParameter && !attribute.Find("value")) {
            const std::string name = Arguments(attribute).Get<std::string>("parameterName", "");
            for (const KesPanelParameter& parameter : description.modelParameters) {
                if (parameter.name == name && !parameter.reals.empty()) {
                    completed.Set("value", parameter.reals.front());
                }
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
