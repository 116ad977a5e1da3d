#include "framework/KesMfgValueRecords.h"

#include <sstream>

KesMfgValueRecords& KesMfgValueRecords::Output(KesMfgAttribute& attribute, int group) {
    attribute.Output(group, &names, &typeCodes, &counts, &ints, &reals, &texts);
    return *this;
}

int KesMfgValueRecords::GetAttValue(KesMfgAttribute& attribute) {
    int group = 0;
    attribute.GetAttValue(&group, &names, &typeCodes, &counts, &ints, &reals, &texts);
    return group;
}

bool KesMfgValueRecords::IsEmpty() const {
    return names.Size() == 0 && typeCodes.Size() == 0 && counts.Size() == 0 && ints.Size() == 0 &&
           reals.Size() == 0 && texts.Size() == 0;
}

void KesMfgValueRecords::Clear() {
    *this = KesMfgValueRecords();
}

bool KesMfgValueRecords::Split(std::vector<Record>& records, std::string* error) const {
    records.clear();
    const auto fail = [&](int record, const std::string& why) {
        if (error != nullptr) {
            *error = "record " + std::to_string(record) + ": " + why;
        }
        return false;
    };
    if (names.Size() != typeCodes.Size() || names.Size() != counts.Size()) {
        return fail(1, "names, type codes and counts differ in number");
    }
    int nextInt = 1;
    int nextReal = 1;
    int nextText = 1;
    for (int i = 1; i <= names.Size(); ++i) {
        Record record;
        record.name = names[i];
        record.typeCode = typeCodes[i];
        record.count = counts[i];
        if (record.typeCode < 0 || record.typeCode > 3) {
            return fail(i, "type code " + std::to_string(record.typeCode) + " is not 0 to 3");
        }
        if (record.count < -1) {
            return fail(i, "count " + std::to_string(record.count) + " is below -1");
        }
        if (record.count == -1) {
            if (nextText > texts.Size()) {
                return fail(i, "the parameter name of a bound value is missing");
            }
            record.texts.push_back(texts[nextText++]);
        } else if (record.typeCode == KesMfgAttribute::kRealType) {
            if (reals.Size() - nextReal + 1 < record.count) {
                return fail(i, "fewer reals than counted");
            }
            for (int k = 0; k < record.count; ++k) {
                record.reals.push_back(reals[nextReal++]);
            }
        } else if (record.typeCode == KesMfgAttribute::kTextType) {
            if (texts.Size() - nextText + 1 < record.count) {
                return fail(i, "fewer texts than counted");
            }
            for (int k = 0; k < record.count; ++k) {
                record.texts.push_back(texts[nextText++]);
            }
        } else {
            if (ints.Size() - nextInt + 1 < record.count) {
                return fail(i, "fewer integers than counted");
            }
            for (int k = 0; k < record.count; ++k) {
                record.ints.push_back(ints[nextInt++]);
            }
        }
        records.push_back(std::move(record));
    }
    if (nextInt <= ints.Size() || nextReal <= reals.Size() || nextText <= texts.Size()) {
        return fail(names.Size() + 1, "values left over after the last record");
    }
    return true;
}

std::string KesMfgValueRecords::FormatTable() const {
    static const char* const kTypeNames[] = {"boolean", "integer", "real", "text"};
    std::vector<Record> records;
    std::string error;
    if (!Split(records, &error)) {
        return "malformed value records: " + error + "\n";
    }
    std::ostringstream out;
    for (const Record& record : records) {
        out << record.name.Str() << " | " << kTypeNames[record.typeCode] << " | " << record.count
            << " |";
        for (int value : record.ints) {
            out << ' ' << value;
        }
        for (double value : record.reals) {
            out << ' ' << KesUnicodeString().BuildFromNum(value, "%.15g").Str();
        }
        for (const KesUnicodeString& value : record.texts) {
            out << " \"" << value.Str() << '"';
        }
        out << '\n';
    }
    return out.str();
}
