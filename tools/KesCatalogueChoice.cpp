// The catalogue's rows of the choice lists: a text or an integer chosen among allowed values.
#include "tools/KesCatalogueParts.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"

namespace kes_catalogue {

namespace {

KesPanelFault CheckCharListValue(KesMfgAttribute& attribute,
                                 const KesMfgValueRecords::Record& record) {
    const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
    if (list.GetPresentationMode() != KesMfgAttCharList::kEditableComboMode &&
        list.GetAllowedValues().Locate(record.texts.front()) == 0) {
        return Fault("a value that is not allowed", Quoted(record.texts.front().Str()));
    }
    return KesPanelFault();
}

KesPanelFault CheckIntListValue(KesMfgAttribute& attribute,
                                const KesMfgValueRecords::Record& record) {
    if (static_cast<const KesMfgAttIntList&>(attribute).GetAllowedValues().Locate(
            record.ints.front()) == 0) {
        return Fault("a value that is not allowed", std::to_string(record.ints.front()));
    }
    return KesPanelFault();
}

// Whether `value` is among the attribute's `values` of type T.
template <class T>
bool AmongValues(const KesPanelAttributeDescription& attribute, const KesPanelValue& value) {
    const KesPanelValue* values = attribute.Find("values");
    if (values == nullptr || !std::holds_alternative<T>(value)) {
        return false;
    }
    const auto& list = std::get<std::vector<T>>(*values);
    return std::find(list.begin(), list.end(), std::get<T>(value)) != list.end();
}

} // namespace

std::vector<KesCatalogueRow> ChoiceRows() {
    using A = const KesPanelArguments&;
    using F = KesDlgFrame&;
    using T = KesListValKesUnicodeString*;
    using D = const KesPanelAttributeDescription&;
    using C = const KesCatalogueContext&;
    return {
        {"KesMfgAttCharList",
         "A text chosen among allowed values: a read-only combo, radio buttons or an editable "
         "combo.",
         Join({Head(),
               {Value(Kind::Text, "\"A\"",
                      "The reference value: one of `values` (any text in an editable combo)."),
                {"values", Kind::Texts, true, "[\"A\"]", "The allowed values."},
                {"displayTexts", Kind::Texts, true, "[\"A\"]",
                 "What each allowed value shows, one per value."},
                {"secondary", Kind::Text, false, "\"\"", "Kept for the caller."},
                {"presentation", Kind::Integer, false, "0",
                 "0 a read-only combo, 1 radio buttons, 2 an editable combo: the user may type "
                 "any text, and the text the field shows (a display text) is the value.",
                 0, 2}},
               Settings(),
               Icons()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttCharList(a.Name(), a.Label(), a.Text("value"), a.Texts("values"),
                                          a.Texts("displayTexts"), a.Text("secondary"), &f,
                                          a.Group(), a.Integer("presentation"));
         },
         IsA<KesMfgAttCharList>,
         KesMfgAttribute::kTextType,
         false,
         Kind::Texts,
         [](D d, const KesPanelValue& value) {
             // An editable combo takes any text the user types.
             return KesPanelArguments(d).Integer("presentation") ==
                        KesMfgAttCharList::kEditableComboMode ||
                    AmongValues<std::string>(d, value);
         },
         false,
         false,
         false,
         {Modified<KesMfgAttCharList>(),
          {"AttributeModifiedWithNewVal",
           [](KesMfgAttribute& a) {
               static_cast<KesMfgAttCharList&>(a).AttributeModifiedWithNewVal(nullptr, nullptr,
                                                                              nullptr);
           }}},
         [](KesMfgAttribute& attribute) {
             const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
             return list.GetPresentationMode() == KesMfgAttCharList::kComboMode
                        ? CheckCombo(list.GetComboWidget())
                        : KesPanelFault();
         },
         CheckCharListValue,
         [](D d, C c) {
             const size_t before = c.findings.size();
             CheckSameLength(d, c, "displayTexts", "values");
             if (KesPanelArguments(d).Integer("presentation") !=
                 KesMfgAttCharList::kEditableComboMode) {
                 CheckAmong(d, c, "value", "values");
             } else if (c.findings.size() == before) {
                 // The editable combo's field shows a line's display text and reports that
                 // line's value for it, so a person who types the display text gives the value.
                 const KesPanelArguments a(d);
                 const KesListValKesUnicodeString values = a.Texts("values");
                 const KesListValKesUnicodeString texts = a.Texts("displayTexts");
                 for (int i = 1; i <= values.Size() && i <= texts.Size(); ++i) {
                     if (!(values[i] == texts[i])) {
                         c.Warning("displayTexts",
                                   "an editable combo reports the value '" + values[i].Str() +
                                       "' when its field shows '" + texts[i].Str() +
                                       "', also when a person types it (give each value as its own "
                                       "display text to take typed texts as typed)",
                                   i - 1);
                         break;
                     }
                 }
             }
         }},
        {"KesMfgAttIntList",
         "An integer chosen among allowed values, each shown as a text: a read-only combo or "
         "radio buttons.",
         Join({Head(),
               {Value(Kind::Integer, "0", "The reference value: one of `values`."),
                {"values", Kind::Integers, true, "[0]", "The allowed values."},
                {"displayTexts", Kind::Texts, true, "[\"0\"]",
                 "What each allowed value shows, one per value."},
                {"reserved", Kind::Integer, false, "0", "Kept for the caller."},
                {"presentation", Kind::Integer, false, "0", "0 a read-only combo, 1 radio buttons.",
                 0, 1}},
               Settings(),
               Icons()}),
         [](A a, F f, T) -> KesMfgAttribute* {
             return new KesMfgAttIntList(a.Name(), a.Label(), a.Integer("value"),
                                         a.Integers("values"), a.Texts("displayTexts"),
                                         a.Integer("reserved"), &f, a.Group(),
                                         a.Integer("presentation"));
         },
         IsA<KesMfgAttIntList>,
         KesMfgAttribute::kIntegerType,
         false,
         Kind::Integers,
         AmongValues<int>,
         false,
         false,
         false,
         {Modified<KesMfgAttIntList>()},
         [](KesMfgAttribute& attribute) {
             return CheckCombo(static_cast<const KesMfgAttIntList&>(attribute).GetComboWidget());
         },
         CheckIntListValue,
         [](D d, C c) {
             CheckSameLength(d, c, "displayTexts", "values");
             const KesPanelValue* value = d.Find("value");
             if (value != nullptr && !AmongValues<int>(d, *value)) {
                 c.Error("value", "the value " + std::to_string(std::get<int>(*value)) +
                                      " is not among the values: the attribute would show "
                                      "nothing and report no value");
             }
         }},
    };
}

} // namespace kes_catalogue
