// KesMfgValueRecords: the six value vectors a caller passes to the attributes of a panel, with
// the reading side of the record protocol: splitting the vectors into records, checking that
// they are well formed, and printing them as a table.
#pragma once

#include "framework/KesMfgAttribute.h"

#include <string>
#include <vector>

class KesMfgValueRecords {
public:
    KesListValKesUnicodeString names;
    KesRawCollint typeCodes;
    KesRawCollint counts;
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;

    // Passes the vectors to the attribute's Output for `group`.
    KesMfgValueRecords& Output(KesMfgAttribute& attribute, int group);
    // Passes the vectors to the attribute's GetAttValue; returns the group number it wrote.
    int GetAttValue(KesMfgAttribute& attribute);

    bool IsEmpty() const;
    void Clear();

    // One record read back from the vectors. A count of -1 stands for a value bound to a
    // parameter: its name is the single text of the record.
    struct Record {
        KesUnicodeString name;
        int typeCode = 0;
        int count = 0;
        std::vector<int> ints;
        std::vector<double> reals;
        std::vector<KesUnicodeString> texts;
    };
    // Splits the vectors into records in order. Returns false, with a message naming the
    // first record at fault, when they are not well formed: a type code outside 0..3, a
    // count below -1, fewer values than counted, or values left over at the end.
    bool Split(std::vector<Record>& records, std::string* error = nullptr) const;

    // The records as a table: one line per record, "name | type | count | values", reals
    // with up to 15 significant digits and texts in double quotes. Vectors that are not well
    // formed give the message of Split.
    std::string FormatTable() const;
};
