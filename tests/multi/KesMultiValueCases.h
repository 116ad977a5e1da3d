// Test support: the four windowed multi-value attributes seen alike, so that one suite drives
// them all. Each case builds its attribute from sample values, reads what a field shows, edits a
// field as the user would and reads the value vectors of its own type.
#pragma once

#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "support/KesValueVectors.h"

#include <string>
#include <vector>

// A value vector of the attribute's own type holding `values`.
template <class Vector, class Value> Vector KesCollect(const std::vector<Value>& values) {
    Vector list;
    for (const Value& v : values) {
        list.Append(v);
    }
    return list;
}

// Integers in spinners from 0 to 1000.
struct KesMVIntCase {
    using Attribute = KesMfgAttMVInt;
    using Value = int;
    static constexpr bool kRefreshNotifies = false;
    static Value Sample(int j) { return 10 * j; }
    static Value Filler() { return 0; }
    static Value Other() { return 777; }
    static Attribute* Make(KesDlgFrame* frame, const std::vector<Value>& values) {
        return new KesMfgAttMVInt("NbPasses", "Passes", KesCollect<KesRawCollint>(values), 0, 1000,
                                  0, frame, 1);
    }
    static Value Shown(KesDialog* field) {
        return static_cast<int>(static_cast<KesDlgSpinner*>(field)->GetValue());
    }
    static bool Edit(KesDialog* field, Value v) {
        return static_cast<KesDlgSpinner*>(field)->UserSetValue(v);
    }
    static std::vector<Value> Out(const KesValueVectors& vectors) { return vectors.ints.Items(); }
    static void Push(Attribute& attribute, const std::vector<Value>& values, int notify) {
        KesRawCollint list = KesCollect<KesRawCollint>(values);
        attribute.SetAttValue(&list, nullptr, nullptr, notify);
    }
};

// Reals in spinners from 0 to 1000, no unit conversion.
struct KesMVDoubleCase {
    using Attribute = KesMfgAttMVDouble;
    using Value = double;
    static constexpr bool kRefreshNotifies = false;
    static Value Sample(int j) { return 0.5 * j; }
    static Value Filler() { return 0.0; }
    static Value Other() { return 77.25; }
    static Attribute* Make(KesDlgFrame* frame, const std::vector<Value>& values) {
        return new KesMfgAttMVDouble("Depths", "Depths", KesCollect<KesRawColldouble>(values), 0.0,
                                     1000.0, 0.0, 0, 0, 0, frame, 1, 0);
    }
    static Value Shown(KesDialog* field) { return static_cast<KesDlgSpinner*>(field)->GetValue(); }
    static bool Edit(KesDialog* field, Value v) {
        return static_cast<KesDlgSpinner*>(field)->UserSetValue(v);
    }
    static std::vector<Value> Out(const KesValueVectors& vectors) { return vectors.reals.Items(); }
    static void Push(Attribute& attribute, const std::vector<Value>& values, int notify) {
        KesRawColldouble list = KesCollect<KesRawColldouble>(values);
        attribute.SetAttValue(nullptr, &list, nullptr, notify);
    }
};

// Texts; the new-value text is "new".
struct KesMVCharCase {
    using Attribute = KesMfgAttMVChar;
    using Value = std::string;
    static constexpr bool kRefreshNotifies = false;
    static Value Sample(int j) { return std::string("v").append(std::to_string(j)); }
    static Value Filler() { return "new"; }
    static Value Other() { return "other"; }
    static Attribute* Make(KesDlgFrame* frame, const std::vector<Value>& values) {
        return new KesMfgAttMVChar("Notes", "Notes", KesCollect<KesListValKesUnicodeString>(values),
                                   "new", frame, 1);
    }
    static Value Shown(KesDialog* field) {
        return static_cast<KesDlgEditor*>(field)->GetText().Str();
    }
    static bool Edit(KesDialog* field, const Value& v) {
        return static_cast<KesDlgEditor*>(field)->UserType(v);
    }
    static std::vector<Value> Out(const KesValueVectors& vectors) {
        std::vector<Value> out;
        for (const KesUnicodeString& text : vectors.texts.Items()) {
            out.push_back(text.Str());
        }
        return out;
    }
    static void Push(Attribute& attribute, const std::vector<Value>& values, int notify) {
        KesListValKesUnicodeString list = KesCollect<KesListValKesUnicodeString>(values);
        attribute.SetAttValue(nullptr, nullptr, &list, notify);
    }
};

// Booleans in check buttons; the samples follow no short period, so every window differs.
struct KesMVLogicCase {
    using Attribute = KesMfgAttMVLogic;
    using Value = int;
    static constexpr bool kRefreshNotifies = true;
    static Value Sample(int j) { return j * j % 7 < 3 ? 1 : 0; }
    static Value Filler() { return 0; }
    static Value Other() { return 0; } // Sample(1) is 1
    static Attribute* Make(KesDlgFrame* frame, const std::vector<Value>& values) {
        return new KesMfgAttMVLogic("Passes", "Passes", KesCollect<KesRawCollint>(values), 0, frame,
                                    1, 0, nullptr);
    }
    static Value Shown(KesDialog* field) {
        return static_cast<KesDlgCheckButton*>(field)->IsOn() ? 1 : 0;
    }
    static bool Edit(KesDialog* field, Value v) {
        auto* button = static_cast<KesDlgCheckButton*>(field);
        return (button->IsOn() ? 1 : 0) == v || button->UserClick();
    }
    static std::vector<Value> Out(const KesValueVectors& vectors) { return vectors.ints.Items(); }
    static void Push(Attribute& attribute, const std::vector<Value>& values, int notify) {
        KesRawCollint list = KesCollect<KesRawCollint>(values);
        attribute.SetAttValue(&list, nullptr, nullptr, notify);
    }
};
