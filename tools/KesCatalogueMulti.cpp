// The catalogue's rows of the lists: reals, integers, texts and booleans in a window of fields,
// and the multiple selection among allowed values.
#include "tools/KesCatalogueParts.h"

#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "platform/KesDlgSelectorList.h"
#include "single/KesMfgAttChar.h"

namespace kes_catalogue {

namespace {

// AttributeModified, then for the four windowed lists AddValue, RemoveValue, ScrollModified.
template <class Class> std::vector<KesCatalogueCallback> Callbacks(bool windowed) {
    std::vector<KesCatalogueCallback> callbacks = {{"AttributeModified", [](KesMfgAttribute& a) {
                                                        static_cast<Class&>(a).AttributeModified(
                                                            nullptr, nullptr, nullptr);
                                                    }}};
    if constexpr (requires(Class & c) { c.AddValue(nullptr, nullptr, nullptr); }) {
        if (windowed) {
            callbacks.push_back({"AddValue", [](KesMfgAttribute& a) {
                                     static_cast<Class&>(a).AddValue(nullptr, nullptr, nullptr);
                                 }});
            callbacks.push_back({"RemoveValue", [](KesMfgAttribute& a) {
                                     static_cast<Class&>(a).RemoveValue(nullptr, nullptr, nullptr);
                                 }});
            callbacks.push_back({"ScrollModified", [](KesMfgAttribute& a) {
                                     static_cast<Class&>(a).ScrollModified(nullptr, nullptr,
                                                                           nullptr);
                                 }});
        }
    }
    return callbacks;
}

// The visible value count and the fixed count of the windowed lists, before Display.
template <class List> List* WithWindow(List* list, const KesPanelArguments& a) {
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

// The record of a list: its count and values are the current values.
template <class Class>
KesPanelFault CheckValues(KesMfgAttribute& attribute, const KesMfgValueRecords::Record& record) {
    const auto& values = [&]() -> const auto& {
        if constexpr (std::is_same_v<Class, KesMfgAttMVCharList>) {
            return static_cast<const Class&>(attribute).GetCurrentValues();
        } else {
            return static_cast<const Class&>(attribute).GetValueList().GetCurrentValues();
        }
    }
    ();
    bool same = true; // the reals of a record are those of the caller's unit
    if constexpr (std::is_same_v<Class, KesMfgAttMVInt> ||
                  std::is_same_v<Class, KesMfgAttMVLogic>) {
        same = record.ints == values.Items();
    } else if constexpr (!std::is_same_v<Class, KesMfgAttMVDouble>) {
        same = record.texts == values.Items();
    }
    return CheckListRecord(record.count, values.Size(), same);
}

KesUnicodeString Cut(const KesUnicodeString& text) {
    KesUnicodeString cut = text;
    if (cut.GetLengthInChar() > KesMfgAttChar::kTextLength) {
        cut.Resize(KesMfgAttChar::kTextLength, ' ', 1);
    }
    return cut;
}

KesPanelFault CheckMVIntWidgets(KesMfgAttribute& attribute) {
    const bool toBeDefined = attribute.IsToBeDefined() != 0;
    return CheckWindow(static_cast<const KesMfgAttMVInt&>(attribute).GetValueList(),
                       [&](const KesDialog* field, int value) {
                           if (field->GetKind() == KesDlgKind::Spinner) {
                               const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                               return !spinner->HasRange() ||
                                      spinner->GetValue() == std::clamp(static_cast<double>(value),
                                                                        spinner->GetMinimum(),
                                                                        spinner->GetMaximum());
                           }
                           const KesUnicodeString& text =
                               static_cast<const KesDlgEditor*>(field)->GetText();
                           int shown = 0;
                           return (text.IsEmpty() && toBeDefined) ||
                                  (text.ConvertToNum(&shown, "%d") && shown == value);
                       });
}

KesPanelFault CheckMVDoubleWidgets(KesMfgAttribute& attribute) {
    const bool toBeDefined = attribute.IsToBeDefined() != 0;
    return CheckWindow(
        static_cast<const KesMfgAttMVDouble&>(attribute).GetValueList(),
        [&](const KesDialog* field, double value) {
            if (field->GetKind() == KesDlgKind::Spinner) {
                const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                // A spinner keeps its value when given NaN.
                return std::isnan(value) || !spinner->HasRange() ||
                       spinner->GetValue() ==
                           std::clamp(value, spinner->GetMinimum(), spinner->GetMaximum());
            }
            const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
            double read = 0.0;
            KesMfgReadRealText(text, &read);
            KesUnicodeString formatted;
            formatted.BuildFromNum(value, "%g");
            return (text.IsEmpty() && toBeDefined) || text == formatted || read == value;
        });
}

KesPanelFault CheckMVCharWidgets(KesMfgAttribute& attribute) {
    const bool toBeDefined = attribute.IsToBeDefined() != 0;
    return CheckWindow(static_cast<const KesMfgAttMVChar&>(attribute).GetValueList(),
                       [&](const KesDialog* field, const KesUnicodeString& value) {
                           const KesUnicodeString& text =
                               static_cast<const KesDlgEditor*>(field)->GetText();
                           // Display shows the texts without their surrounding blanks, later
                           // refreshes as they are stored.
                           return (text.IsEmpty() && toBeDefined) || text == Cut(value) ||
                                  text == Cut(value.Strip(3, ' '));
                       });
}

KesPanelFault CheckMVLogicWidgets(KesMfgAttribute& attribute) {
    return CheckWindow(static_cast<const KesMfgAttMVLogic&>(attribute).GetValueList(),
                       [](const KesDialog* field, int value) {
                           return static_cast<const KesDlgCheckButton*>(field)->IsOn() ==
                                  (value == 1);
                       });
}

// Every current value that has a line has its line selected.
KesPanelFault CheckSelection(KesMfgAttribute& attribute) {
    const auto& list = static_cast<const KesMfgAttMVCharList&>(attribute);
    const KesDlgSelectorList* selector = list.GetSelectorList();
    if (selector == nullptr || list.IsToBeDefined() != 0) { // nothing shown yet
        return KesPanelFault();
    }
    const KesListValKesUnicodeString& allowed = list.GetAllowedValues();
    for (const KesUnicodeString& value : list.GetCurrentValues().Items()) {
        const int position = allowed.Locate(value);
        if (position != 0 && position <= selector->GetLineCount() &&
            !selector->IsSelected(position - 1)) {
            return Fault("the line of a current value is not selected", Quoted(value.Str()));
        }
    }
    return KesPanelFault();
}

} // namespace

std::vector<KesCatalogueRow> MultiRows() {
    using A = const KesPanelArguments&;
    using F = KesDlgFrame&;
    using T = KesListValKesUnicodeString*;
    using D = const KesPanelAttributeDescription&;
    using C = const KesCatalogueContext&;
    const KesCatalogueKey reserved = {"reserved", Kind::Integer, false, "0",
                                      "Kept for the caller."};
    return {
        {"KesMfgAttMVDouble", "A list of reals in a window of fields, with a scroll bar.",
         Join({Head(),
               {{"values", Kind::Reals, true, "[]", "The reference values, in the caller's unit."}},
               Range(Kind::Real),
               Units(),
               Window(),
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(
                 new KesMfgAttMVDouble(
                     a.Name(), a.Label(), a.Reals("values"), a.Real("minimum"), a.Real("maximum"),
                     a.Real("stepHint"), a.Integer("firstUnitCode"), a.Integer("secondUnitCode"),
                     a.Integer("thirdUnitCode"), &f, a.Group(), a.Integer("unitFlag")),
                 a);
         },
         IsA<KesMfgAttMVDouble>, KesMfgAttribute::kRealType, true, std::nullopt, nullptr, false,
         false, false, Callbacks<KesMfgAttMVDouble>(true), CheckMVDoubleWidgets,
         CheckValues<KesMfgAttMVDouble>,
         [](D d, C c) {
             CheckLimits(d, c, "values");
             CheckUnits(d, c);
         }},
        {"KesMfgAttMVInt", "A list of integers in a window of fields, with a scroll bar.",
         Join({Head(),
               {{"values", Kind::Integers, true, "[]", "The reference values."}},
               Range(Kind::Integer),
               {reserved},
               Window(),
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVInt(a.Name(), a.Label(), a.Integers("values"),
                                                  a.Integer("minimum"), a.Integer("maximum"),
                                                  a.Integer("reserved"), &f, a.Group()),
                               a);
         },
         IsA<KesMfgAttMVInt>, KesMfgAttribute::kIntegerType, true, std::nullopt, nullptr, false,
         false, false,
         [] {
             auto callbacks = Callbacks<KesMfgAttMVInt>(true);
             callbacks.insert(callbacks.begin() + 1,
                              {"ControlIntValue", [](KesMfgAttribute& a) {
                                   static_cast<KesMfgAttMVInt&>(a).ControlIntValue(nullptr, nullptr,
                                                                                   nullptr);
                               }});
             return callbacks;
         }(),
         CheckMVIntWidgets, CheckValues<KesMfgAttMVInt>,
         [](D d, C c) { CheckLimits(d, c, "values"); }},
        {"KesMfgAttMVChar", "A list of texts in a window of fields, with a scroll bar.",
         Join({Head(),
               {{"values", Kind::Texts, true, "[]", "The reference values."},
                {"newValueText", Kind::Text, false, "\"\"", "The text a new value starts with."}},
               Window(),
               Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVChar(a.Name(), a.Label(), a.Texts("values"),
                                                   a.Text("newValueText"), &f, a.Group()),
                               a);
         },
         IsA<KesMfgAttMVChar>, KesMfgAttribute::kTextType, true, std::nullopt, nullptr, false,
         false, false, Callbacks<KesMfgAttMVChar>(true), CheckMVCharWidgets,
         CheckValues<KesMfgAttMVChar>, NoMeaning},
        {"KesMfgAttMVLogic", "A list of booleans as check buttons in a window, with a scroll bar.",
         Join({Head(),
               {Truth({"values", Kind::Integers, true, "[]", "The reference values, 0 or 1 each.",
                       0, 1}),
                reserved,
                {"presentation", Kind::Integer, false, "0",
                 "Kept for the caller: the values are check buttons whatever it is."},
                {"titles", Kind::Texts, false, "null", "Kept for the caller."}},
               Window(),
               Settings()}),
         [](A a, F f, T titles) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVLogic(a.Name(), a.Label(), a.Integers("values"),
                                                    a.Integer("reserved"), &f, a.Group(),
                                                    a.Integer("presentation"),
                                                    a.Has("titles") ? titles : nullptr),
                               a);
         },
         IsA<KesMfgAttMVLogic>, KesMfgAttribute::kBooleanType, true, std::nullopt, nullptr, false,
         false, false, Callbacks<KesMfgAttMVLogic>(true), CheckMVLogicWidgets,
         CheckValues<KesMfgAttMVLogic>, NoMeaning},
        {"KesMfgAttMVCharList", "Several texts picked among allowed values in a selector list.",
         Join(
             {Head(),
              {{"values", Kind::Texts, true, "[]", "The values picked: each one of allowedValues."},
               {"allowedValues", Kind::Texts, true, "[]", "The lines to pick from."},
               {"displayTexts", Kind::Texts, true, "[]",
                "What each allowed value shows, one per allowed value."},
               {"secondary", Kind::Text, false, "\"\"", "Kept for the caller."}},
              Window(true),
              Settings()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return WithWindow(new KesMfgAttMVCharList(
                                   a.Name(), a.Label(), a.Texts("values"), a.Texts("allowedValues"),
                                   a.Texts("displayTexts"), a.Text("secondary"), &f, a.Group()),
                               a);
         },
         IsA<KesMfgAttMVCharList>, KesMfgAttribute::kTextType, true, std::nullopt, nullptr, false,
         false, false, Callbacks<KesMfgAttMVCharList>(false), CheckSelection,
         CheckValues<KesMfgAttMVCharList>,
         [](D d, C c) {
             CheckSameLength(d, c, "displayTexts", "allowedValues");
             CheckAmong(d, c, "values", "allowedValues");
         }},
    };
}

} // namespace kes_catalogue
