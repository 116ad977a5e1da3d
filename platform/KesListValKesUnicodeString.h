// Vector of texts, indexed from 1: the names and text value vectors of every value record.
#pragma once

#include "platform/KesRawColl.h"
#include "platform/KesUnicodeString.h"

class KesListValKesUnicodeString : public KesRawColl<KesUnicodeString> {
public:
    using KesRawColl<KesUnicodeString>::KesRawColl;
    using KesRawColl<KesUnicodeString>::Size;

    // Resizes to `count` texts taken from `texts` (count entries are read; a null array gives
    // empty texts).
    void Size(int count, const KesUnicodeString* texts) {
        RemoveAll();
        for (int i = 0; i < count; ++i) {
            Append(texts ? texts[i] : KesUnicodeString());
        }
    }
};
