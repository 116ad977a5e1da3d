// KesPanelChecks: the invariants of any panel, checked attribute by attribute; what holds for
// one class only is its row of the attribute catalogue.
//
// Index:
//   Helpers                texts for the messages, records compared
//   Records                Output and GetAttValue: groups, form, values, agreement
//   Widgets                the option button, then the class's own
//   Sensitivity            read-only and unchecked attributes
//   Entry points
#include "tools/KesPanelChecks.h"

#include "tools/KesCatalogueParts.h"

#include <algorithm>
#include <climits>
#include <cmath>

std::string KesPanelFault::Text() const {
    std::string text = attribute.empty() ? invariant : attribute + ": " + invariant;
    return detail.empty() ? text : text + " (" + detail + ")";
}

// ---------------------------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------------------------
namespace {

using kes_catalogue::Fault;
using kes_catalogue::Quoted;

std::string Table(const KesMfgValueRecords& records) {
    std::string table = records.FormatTable();
    std::replace(table.begin(), table.end(), '\n', ';');
    return table;
}

bool SameReal(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool SameRecords(const KesMfgValueRecords& a, const KesMfgValueRecords& b) {
    return a.names == b.names && a.typeCodes == b.typeCodes && a.counts == b.counts &&
           a.ints == b.ints && a.texts == b.texts && a.reals.Size() == b.reals.Size() &&
           std::equal(a.reals.Items().begin(), a.reals.Items().end(), b.reals.Items().begin(),
                      SameReal);
}

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

// One record of the attribute; `row` is null for a class the catalogue does not know.
KesPanelFault CheckRecord(KesMfgAttribute& attribute, const KesCatalogueRow* row,
                          const KesMfgValueRecords::Record& record, bool fromOutput) {
    if (!(record.name == attribute.GetRecordName())) {
        return Fault("the record carries another name", Quoted(record.name.Str()));
    }
    if (row != nullptr && row->typeCode >= 0 && record.typeCode != row->typeCode) {
        return Fault("the record carries another type code", std::to_string(record.typeCode));
    }
    if (record.count == -1) {
        if (row == nullptr || !row->bindsParameter) {
            return Fault("a count of -1 from a class that binds no parameter");
        }
        if (record.texts.size() != 1 || record.texts.front().GetLengthInChar() != 72) {
            return Fault("a bound value's parameter name is not one text of 72 characters");
        }
        return KesPanelFault();
    }
    if (attribute.GetOptionState() == 0) {
        return record.count == 0 ? KesPanelFault()
                                 : Fault("an unchecked attribute reported values");
    }
    if (row != nullptr && row->multiValue) {
        return row->checkValue(attribute, record);
    }
    if (record.count == 0) {
        // A boolean shown as two radio buttons may have neither on.
        const bool neitherRadio = row != nullptr && row->mayReportNothing && fromOutput;
        return neitherRadio || row == nullptr ? KesPanelFault()
                                              : Fault("a checked attribute reported no value");
    }
    if (record.count != 1) {
        return Fault("a single value reported several", std::to_string(record.count));
    }
    return row == nullptr ? KesPanelFault() : row->checkValue(attribute, record);
}

KesPanelFault CheckRecords(KesMfgAttribute& attribute, const KesCatalogueRow* row) {
    KesMfgValueRecords other;
    other.Output(attribute, attribute.GetGroup() == INT_MAX ? 1 : attribute.GetGroup() + 1);
    other.Output(attribute, attribute.GetGroup() == INT_MIN ? 1 : INT_MIN);
    if (!other.IsEmpty()) {
        return Fault("Output for another group appended a record", Table(other));
    }
    KesMfgValueRecords output;
    output.Output(attribute, attribute.GetGroup());
    KesMfgValueRecords values;
    if (values.GetAttValue(attribute) != attribute.GetGroup()) {
        return Fault("GetAttValue wrote another group number");
    }
    if (row != nullptr && row->relays) {
        // The link relays what it was handed: Output nothing before, the same as GetAttValue
        // after.
        return output.IsEmpty() || SameRecords(output, values)
                   ? KesPanelFault()
                   : Fault("the link's Output differs from its GetAttValue",
                           Table(output) + " / " + Table(values));
    }
    std::vector<KesMfgValueRecords::Record> outputRecords;
    std::vector<KesMfgValueRecords::Record> valueRecords;
    std::string error;
    if (!output.Split(outputRecords, &error)) {
        return Fault("Output appended malformed records", error);
    }
    if (!values.Split(valueRecords, &error)) {
        return Fault("GetAttValue appended malformed records", error);
    }
    if (outputRecords.size() > 1 || valueRecords.size() > 1) {
        return Fault("more than one record", Table(output) + " / " + Table(values));
    }
    if (attribute.IsToBeDefined() != 0 && (!outputRecords.empty() || !valueRecords.empty())) {
        return Fault("a record while the value is to be defined",
                     Table(output) + " / " + Table(values));
    }
    for (const auto* records : {&outputRecords, &valueRecords}) {
        if (!records->empty()) {
            KesPanelFault fault =
                CheckRecord(attribute, row, records->front(), records == &outputRecords);
            if (!fault.IsEmpty()) {
                fault.detail += (fault.detail.empty() ? "" : "; ") +
                                Table(records == &outputRecords ? output : values);
                return fault;
            }
        }
    }
    if (!outputRecords.empty() && !valueRecords.empty() &&
        outputRecords.front().count == valueRecords.front().count &&
        (outputRecords.front().ints != valueRecords.front().ints ||
         outputRecords.front().texts != valueRecords.front().texts ||
         outputRecords.front().reals.size() != valueRecords.front().reals.size() ||
         !std::equal(outputRecords.front().reals.begin(), outputRecords.front().reals.end(),
                     valueRecords.front().reals.begin(), SameReal))) {
        return Fault("Output and GetAttValue report different values",
                     Table(output) + " / " + Table(values));
    }
    return KesPanelFault();
}

// ---------------------------------------------------------------------------------------------
// Widgets
// ---------------------------------------------------------------------------------------------
KesPanelFault CheckWidgets(KesMfgAttribute& attribute, const KesCatalogueRow* row) {
    if (attribute.GetOptionMode() == 1 && attribute.GetOptionCheckButton() != nullptr &&
        attribute.GetOptionState() != (attribute.GetOptionCheckButton()->IsOn() ? 1 : 0)) {
        return Fault("the option state does not follow the option check button");
    }
    return row == nullptr ? KesPanelFault() : row->checkWidgets(attribute);
}

// ---------------------------------------------------------------------------------------------
// Sensitivity
// ---------------------------------------------------------------------------------------------

// A read-only attribute keeps every child but its label (and a trailing scroll bar) insensitive;
// so does an unchecked optional attribute, the option check button apart.
KesPanelFault CheckSensitivity(const KesMfgAttribute& attribute) {
    const bool readOnly = attribute.GetEditMode() == 0;
    const bool unchecked = attribute.GetOptionMode() == 1 && attribute.GetOptionState() == 0 &&
                           attribute.GetOptionCheckButton() != nullptr;
    if (!attribute.IsDisplayed() || (!readOnly && !unchecked)) {
        return KesPanelFault();
    }
    int end = attribute.GetChildCount();
    if (attribute.HasTrailingScrollBar() == 1) {
        --end;
    }
    for (int i = 0; i < end; ++i) {
        const KesDialog* child = attribute.GetChildFromChildNumber(i);
        // A dialog is a window of its own: one opened before the attribute turned read-only or
        // unchecked keeps its own sensitivity.
        if (child == attribute.GetLabelWidget() || child->GetKind() == KesDlgKind::Dialog ||
            (!readOnly && child == attribute.GetOptionCheckButton())) {
            continue;
        }
        if (child->GetSensitivity() != kes::kInsensitive) {
            return Fault(std::string(readOnly ? "a read-only" : "an unchecked") +
                             " attribute has a sensitive child",
                         child->GetName().Str());
        }
    }
    return KesPanelFault();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Entry points
// ---------------------------------------------------------------------------------------------
KesPanelFault KesPanelChecks::CheckAttribute(KesMfgAttribute& attribute) {
    const KesCatalogueRow* row = KesAttributeCatalogue::Of(attribute);
    KesPanelFault fault = CheckRecords(attribute, row);
    if (fault.IsEmpty()) {
        fault = CheckWidgets(attribute, row);
    }
    if (fault.IsEmpty()) {
        fault = CheckSensitivity(attribute);
    }
    if (!fault.IsEmpty()) {
        fault.attribute = attribute.GetRecordName().Str();
    }
    return fault;
}

KesPanelFault KesPanelChecks::Check(const std::vector<KesMfgAttribute*>& attributes) {
    for (KesMfgAttribute* attribute : attributes) {
        KesPanelFault fault = CheckAttribute(*attribute);
        if (!fault.IsEmpty()) {
            return fault;
        }
    }
    return KesPanelFault();
}
