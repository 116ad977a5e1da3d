// KesRandomSession: a panel holding every attribute class, driven by random steps as a person and
// a caller would drive it, with the checks that must hold after every step. Shared by the
// randomised session test (steps drawn from a seeded generator) and the session fuzz target
// (steps read from the fuzzer's bytes), so that a fuzz finding and a test seed replay alike.
//
// Index
//   Step sources         where the choices come from: a seeded generator, or bytes
//   Hostile values       reals, integers, texts and vectors a caller may pass
//   The panel            every class, with options, units, impacts, long lists, a bound value
//   Steps                user actions on any widget, caller calls, value collection
//   Checks               value records, windows and scroll bars, selections, sensitivity
//
// A step returns a line describing what it did (printed with the seed when a check fails) and,
// for a user action on a widget that is hidden or insensitive, checks at once that the action was
// refused: it answered false, no widget changed and nothing reached the parent frame. The parent
// frame now and then reacts to a modification by calling an attribute (often the sender) from
// inside the notification, as an owner of a dialog may.
//
// The session expects a settings folder of its own (KES_SETTINGS_DIR) and fills and clears the
// manufacturing model itself; it captures standard output (the trace and the "SCROLL POS :"
// lines) and standard error (the codes shown to the user) while it lives.
#pragma once

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "framework/KesMfgRealText.h"
#include "framework/KesMfgValueRecords.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace kes_robust {

// =============================================================================================
// Step sources
// =============================================================================================

// Where the choices of a session come from.
class KesStepSource {
public:
    virtual ~KesStepSource() = default;
    // A number in 0..bound-1; 0 when bound is 0 or 1.
    virtual uint32_t Below(uint32_t bound) = 0;
    // True once a byte source has nothing left; a seeded source never runs dry.
    virtual bool Exhausted() const { return false; }

    bool Chance(uint32_t percent) { return Below(100) < percent; }
    int Between(int low, int high) { // low..high, both included
        return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1)));
    }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[Below(static_cast<uint32_t>(items.size()))];
    }
};

// Choices from std::mt19937 with an explicit seed: the same seed gives the same session.
class KesSeededSource final : public KesStepSource {
public:
    explicit KesSeededSource(uint32_t seed) : engine_(seed) {}
    uint32_t Below(uint32_t bound) override {
        return bound <= 1 ? 0 : static_cast<uint32_t>(engine_() % bound);
    }

private:
    std::mt19937 engine_;
};

// Choices read from bytes, as few as the bound needs (one byte for a bound up to 256), so that a
// fuzzer's mutations of one byte change one choice. Past the end every choice is 0.
class KesByteSource final : public KesStepSource {
public:
    KesByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t Below(uint32_t bound) override {
        if (bound <= 1) {
            return 0;
        }
        const int bytes = bound <= 0x100 ? 1 : bound <= 0x10000 ? 2 : 4;
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = (value << 8) | (position_ < size_ ? data_[position_] : 0u);
            position_ += position_ < size_ ? 1 : 0;
        }
        return value % bound;
    }
    bool Exhausted() const override { return position_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// =============================================================================================
// Hostile values
// =============================================================================================

inline double RandomReal(KesStepSource& source) {
    static const std::vector<double> kSpecial = {
        0.0,          -0.0,          1.0,     -1.0,     0.5,      2.5,       5.0,    50.0,
        95.0,         100.0,         360.0,   1200.0,   5000.0,   9000.0,    1e-300, 5e-324,
        1e300,        -1e300,        DBL_MAX, -DBL_MAX, INFINITY, -INFINITY, NAN,    1e9,
        2147483648.0, -2147483649.0, 0.1,     3.7,      -2.5,     99.99999,  1e-7,   123456.789};
    switch (source.Below(3)) {
    case 0:
        return source.Pick(kSpecial);
    case 1:
        return static_cast<double>(source.Between(-100, 200));
    default:
        return static_cast<double>(source.Between(-100000, 1000000)) / 1000.0;
    }
}

inline int RandomInt(KesStepSource& source) {
    static const std::vector<int> kSpecial = {
        0, 1, -1, 2, 3, 5, 7, 20, 99, 100, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 1000000};
    switch (source.Below(3)) {
    case 0:
        return source.Pick(kSpecial);
    case 1:
        return source.Between(-20, 40);
    default:
        return static_cast<int>(source.Below(0xFFFFFFFFu) - 0x7FFFFFFFu);
    }
}

// Texts a person may type or a caller may pass: empty, blanks, values the panel knows, numbers,
// texts far longer than any field, bytes that are not UTF-8, characters of several bytes.
inline std::string RandomText(KesStepSource& source) {
    static const std::vector<std::string> kKnown = {
        "ZIGZAG",      "SPIRAL",     "CONTOUR",     "G81",  "G82",  "G83",   "G85",  "FEED_ROUGH",
        "FEED_FINISH", "FEED_RAPID", "SPINDLE_MAX", "none", "NONE", "rough", "pass", "NEW_PARAM",
        "P1",          "p1",         "1",           "-1",   "2",    "7",     "0",    "Zig-zag"};
    static const std::vector<std::string> kNumbers = {"12",
                                                      "-3.5",
                                                      "1e999",
                                                      "-1e999",
                                                      "1e-999",
                                                      "nan",
                                                      "inf",
                                                      "-inf",
                                                      "2147483648",
                                                      "-2147483649",
                                                      "0x10",
                                                      " 42 ",
                                                      "4 2",
                                                      "3.7",
                                                      "1,5",
                                                      "+7",
                                                      "99999999999999999999",
                                                      "1e308",
                                                      "-0",
                                                      ".",
                                                      "-",
                                                      "1e",
                                                      "00012"};
    static const std::vector<std::string> kPieces = {"a", " ",  "_", "=",    "%",    "\n",   "\t",
                                                     "é", "漢", "😀", "\xC3", "\xFF", "\x80", "Z"};
    switch (source.Below(9)) {
    case 0:
        return std::string();
    case 1:
        return std::string(source.Between(1, 5), ' ');
    case 2:
        return source.Pick(kKnown);
    case 3:
        return source.Pick(kNumbers);
    case 4: { // longer than every field
        std::string text;
        const int length = source.Between(60, 400);
        const std::string& piece = source.Pick(kPieces);
        for (int i = 0; i < length; ++i) {
            text += source.Chance(80) ? piece : source.Pick(kPieces);
        }
        return text;
    }
    case 5: { // arbitrary bytes, NUL included
        std::string text;
        const int length = source.Between(0, 24);
        for (int i = 0; i < length; ++i) {
            text.push_back(static_cast<char>(source.Below(256)));
        }
        return text;
    }
    case 6: { // a mix of pieces
        std::string text;
        const int length = source.Between(1, 12);
        for (int i = 0; i < length; ++i) {
            text += source.Pick(kPieces);
        }
        return text;
    }
    case 7:
        return "  " + source.Pick(kKnown) + "  ";
    default: {
        std::string text = source.Pick(kKnown);
        text += source.Pick(kPieces);
        return text;
    }
    }
}

// A vector of a type, or null: a size of 0, 1 (most often), a few or many.
template <class Vector, class Make>
std::unique_ptr<Vector> RandomVector(KesStepSource& source, Make make) {
    if (source.Chance(12)) {
        return nullptr;
    }
    auto vector = std::make_unique<Vector>();
    int size = 1;
    switch (source.Below(6)) {
    case 0:
        size = 0;
        break;
    case 1:
        size = source.Between(2, 4);
        break;
    case 2:
        size = source.Between(5, 60);
        break;
    default:
        break;
    }
    for (int i = 0; i < size; ++i) {
        vector->Append(make());
    }
    return vector;
}

inline std::unique_ptr<KesRawCollint> RandomInts(KesStepSource& source) {
    return RandomVector<KesRawCollint>(source, [&] { return RandomInt(source); });
}
inline std::unique_ptr<KesRawColldouble> RandomReals(KesStepSource& source) {
    return RandomVector<KesRawColldouble>(source, [&] { return RandomReal(source); });
}
inline std::unique_ptr<KesListValKesUnicodeString> RandomTexts(KesStepSource& source) {
    return RandomVector<KesListValKesUnicodeString>(
        source, [&] { return KesUnicodeString(RandomText(source)); });
}

// =============================================================================================
// The panel
// =============================================================================================

enum class KesAttKind {
    Int,
    Double,
    Char,
    Logic,
    Link,
    IntList,
    CharList,
    MVInt,
    MVDouble,
    MVChar,
    MVCharList,
    MVLogic,
    DoubleParam,
};

// The type code of each class's value record (the link relays what it was given).
inline int TypeCodeOf(KesAttKind kind) {
    switch (kind) {
    case KesAttKind::Logic:
    case KesAttKind::MVLogic:
        return KesMfgAttribute::kBooleanType;
    case KesAttKind::Int:
    case KesAttKind::IntList:
    case KesAttKind::MVInt:
    case KesAttKind::Link:
        return KesMfgAttribute::kIntegerType;
    case KesAttKind::Double:
    case KesAttKind::MVDouble:
    case KesAttKind::DoubleParam:
        return KesMfgAttribute::kRealType;
    default:
        return KesMfgAttribute::kTextType;
    }
}

inline bool IsMultiValue(KesAttKind kind) {
    return kind == KesAttKind::MVInt || kind == KesAttKind::MVDouble ||
           kind == KesAttKind::MVChar || kind == KesAttKind::MVCharList ||
           kind == KesAttKind::MVLogic;
}

// What the link was last handed, to compare with what it relays.
struct KesLinkValues {
    bool given = false;
    KesMfgValueRecords vectors;
};

// Counts every change of every widget, to show that a refused user action changed nothing.
class KesChangeCounter final : public KesDlgObserver {
public:
    KesChangeCounter() { KesDialog::AddObserver(this); }
    ~KesChangeCounter() override { KesDialog::RemoveObserver(this); }
    KesChangeCounter(const KesChangeCounter&) = delete;
    KesChangeCounter& operator=(const KesChangeCounter&) = delete;
    void WidgetChanged(KesDialog&, KesDlgProperty) override { ++changes_; }
    long Changes() const { return changes_; }

private:
    long changes_ = 0;
};

class KesRandomSession {
public:
    struct Member {
        KesMfgAttribute* attribute;
        KesAttKind kind;
    };
    struct Outcome {
        std::string description; // what the step did
        std::string fault;       // what the step itself saw go wrong (a refused action taken,
                                 // a partial record); empty when nothing did
    };

    explicit KesRandomSession(KesStepSource& source) : source_(source) {
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        ResetDebug();
        // The trace paths are exercised too, on some sessions; the output is captured.
        const int trace = source_.Chance(25) ? 1 : 0;
        for (const char* name : {"Access", "AttIntList", "KesMfgAttCharList", "KesMfgAttLink"}) {
            SetDebug(name, trace);
        }
        KesMfgAttribute::_debug = -1;
        FillModel();
        frame_ = std::make_unique<KesDlgTestFrame>("RandomPanel");
        Build();
    }
    ~KesRandomSession() {
        frame_.reset(); // deletes the attributes and their widgets
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        ResetDebug();
        KesMfgAttribute::_debug = -1;
    }
    KesRandomSession(const KesRandomSession&) = delete;
    KesRandomSession& operator=(const KesRandomSession&) = delete;

    const std::vector<Member>& Members() const { return members_; }

    // -----------------------------------------------------------------------------------------
    // Steps
    // -----------------------------------------------------------------------------------------
    Outcome Step() {
        stdout_.Clear();
        stderr_.Clear();
        reactions_.clear();
        reactionFault_.clear();
        const uint32_t what = source_.Below(100);
        Outcome outcome = what < 55 ? UserAction() : what < 90 ? CallerCall() : Collect();
        outcome.description += reactions_;
        if (outcome.fault.empty()) {
            outcome.fault = reactionFault_;
        }
        return outcome;
    }

    // -----------------------------------------------------------------------------------------
    // Checks: an empty text when every check holds, else the first fault found.
    // -----------------------------------------------------------------------------------------
    std::string Check() {
        for (const Member& member : members_) {
            std::string fault = CheckMember(member);
            if (!fault.empty()) {
                return member.attribute->GetRecordName().Str() + ": " + fault;
            }
        }
        return std::string();
    }

private:
    // -----------------------------------------------------------------------------------------
    // The panel
    // -----------------------------------------------------------------------------------------
    static void AddParameter(const char* name, int type, int kind, int first, int second, int third,
                             std::vector<double> values) {
        int d1 = type, d2 = kind, d3 = first, d4 = second, d5 = third, d6 = 0, d7 = 0;
        KesRawColldouble reals;
        for (double value : values) {
            reals.Append(value);
        }
        KesMfgModel::CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, KesRawCollint(), reals,
                                     KesListValKesUnicodeString());
    }
    static void FillModel() {
        AddParameter("FEED_ROUGH", 2, 1, 1, 2, 0, {1200.0});  // compatible with the feed
        AddParameter("FEED_FINISH", 2, 1, 1, 2, 0, {600.0});  // compatible
        AddParameter("FEED_RAPID", 2, 1, 1, 2, 0, {9000.0});  // beyond the feed's limits
        AddParameter("FEED_EMPTY", 2, 1, 1, 2, 0, {});        // holds no real
        AddParameter("SPINDLE_MAX", 2, 1, 0, 0, 1, {200.0});  // other units
        AddParameter("TOOL_COUNT", 1, 1, 1, 2, 0, {24.0});    // not a real
        AddParameter("ANGLE_HUGE", 2, 1, 0, 0, -1, {1e300});  // the plunge's units, huge
        AddParameter("ANGLE_SMALL", 2, 1, 0, 0, -1, {-90.0}); // the plunge's units
    }

    template <class Attribute> Attribute* Add(Attribute* attribute, KesAttKind kind) {
        members_.push_back(Member{attribute, kind});
        return attribute;
    }

    // Options every attribute may get before Display.
    void Configure(KesMfgAttribute* attribute) {
        if (source_.Chance(25)) {
            attribute->SetOptionMode(1, source_.Between(-1, 3));
        }
        if (source_.Chance(12)) {
            attribute->SetAttToBeDefined();
        }
        if (source_.Chance(15)) {
            attribute->SetVisibleTextWidth(source_.Pick(std::vector<int>{-1, 0, 1, 10, 80, -7}));
        }
    }
    template <class MultiValue> void ConfigureWindow(MultiValue* attribute) {
        attribute->SetNbVisibleVals(source_.Pick(std::vector<int>{3, 3, 3, 4, 1, 0, -2, 6}));
        if (source_.Chance(15)) {
            attribute->SetNbValModifMode(1);
        }
    }
    int Group() { return source_.Chance(70) ? 1 : 2; }
    // Limits as a caller may give them: usual ones most of the time, sometimes swapped, huge
    // or not finite.
    double Limit(double usual) { return source_.Chance(85) ? usual : RandomReal(source_); }
    int IntLimit(int usual) { return source_.Chance(85) ? usual : RandomInt(source_); }

    // A long list (longer than its window) most of the time.
    template <class Make> void Fill(int count, Make make) {
        for (int i = 0; i < count; ++i) {
            make(i);
        }
    }
    int ListLength() { return source_.Chance(80) ? source_.Between(5, 14) : source_.Between(0, 2); }

    // The attributes are built with braces: the arguments of a braced initialisation are
    // evaluated in order, so the draws among them come in the same order whatever the compiler,
    // and a session (or a fuzz input) replays alike in every build.
    void Build() {
        KesDlgFrame* frame = frame_.get();
        auto* tool = Add(new KesMfgAttInt{"Tool_Number", "Tool number", IntLimit(4), IntLimit(1),
                                          IntLimit(99), 0, frame, Group()},
                         KesAttKind::Int);
        auto* freeInt = Add(new KesMfgAttInt{"Free Int", "Free integer", RandomInt(source_), 0, 0,
                                             0, frame, Group()},
                            KesAttKind::Int);
        auto* stepover = Add(new KesMfgAttDouble{"Stepover", "Stepover", Limit(50.0), Limit(5.0),
                                                 Limit(95.0), 0.0, 0, 0, 0, frame, Group(), 0},
                             KesAttKind::Double);
        auto* spindle = Add(new KesMfgAttDouble{"Spindle_Speed", "Spindle", Limit(50.0), 0.0,
                                                Limit(500.0), 0.0, 0, 0, 1, frame, Group(), 1},
                            KesAttKind::Double);
        auto* angle = Add(new KesMfgAttDouble{"Angle", "Angle", Limit(90.0), 0.0, Limit(360.0), 0.0,
                                              0, 0, -1, frame, Group(), 0},
                          KesAttKind::Double);
        Add(new KesMfgAttDouble{"Free_Real", "Free real", RandomReal(source_), 0.0, 0.0, 0.0, 0, 0,
                                -1, frame, Group(), 0},
            KesAttKind::Double);
        auto* pressure = Add(new KesMfgAttDouble{"Coolant_Pressure", "Pressure", 20.0, 0.0, 100.0,
                                                 0.0, 0, 0, 0, frame, Group(), 0},
                             KesAttKind::Double);
        Add(new KesMfgAttChar{"Comment", "Comment", RandomText(source_), "", frame, Group()},
            KesAttKind::Char);
        Add(new KesMfgAttChar{"Machine", "Machine", "HMC-500", "", frame, Group()},
            KesAttKind::Char);
        auto* coolant = Add(new KesMfgAttLogic{"Coolant", "Coolant", source_.Between(-1, 2), 0,
                                               frame, Group(), 0, nullptr},
                            KesAttKind::Logic);
        auto* mist = Add(new KesMfgAttLogic{"Mist", "Mist", source_.Between(0, 1), 0, frame,
                                            Group(), source_.Chance(80) ? 1 : 3, &logicTitles_},
                         KesAttKind::Logic);
        link_ = Add(new KesMfgAttLink{"Approach_Retract", "Approach", frame,
                                      source_.Chance(50) ? "approach" : "", Group()},
                    KesAttKind::Link);
        auto* direction = Add(new KesMfgAttIntList{"Direction",
                                                   "Direction",
                                                   source_.Pick(std::vector<int>{1, -1, 5}),
                                                   {1, -1, 2, 1},
                                                   {"Climb", "Conventional", "Both"},
                                                   0,
                                                   frame,
                                                   Group(),
                                                   0},
                              KesAttKind::IntList);
        auto* level = Add(new KesMfgAttIntList{"Level",
                                               "Level",
                                               source_.Between(0, 4),
                                               {1, 2, 3, 4},
                                               {"One", "Two", "Three", "Four"},
                                               0,
                                               frame,
                                               Group(),
                                               1},
                          KesAttKind::IntList);
        auto* strategy = Add(new KesMfgAttCharList{"Strategy",
                                                   "Strategy",
                                                   source_.Pick(std::vector<std::string>{
                                                       "ZIGZAG", " SPIRAL ", "OTHER"}),
                                                   {"ZIGZAG", "SPIRAL", "CONTOUR"},
                                                   {"Zig-zag", "Spiral", "Contour"},
                                                   "",
                                                   frame,
                                                   Group(),
                                                   source_.Chance(50) ? 1 : 0},
                             KesAttKind::CharList);
        Add(new KesMfgAttCharList{"Pattern",
                                  "Pattern",
                                  "G81",
                                  {"G81", "G82", "G83", "G85", "G81"},
                                  {"Drill", "Dwell", "Peck", "Bore"},
                                  "",
                                  frame,
                                  Group(),
                                  0},
            KesAttKind::CharList);
        Add(new KesMfgAttCharList{"Cycle_Name",
                                  "Cycle name",
                                  "G83",
                                  {"G81", "G83"},
                                  {"G81", "G83"},
                                  "",
                                  frame,
                                  Group(),
                                  2},
            KesAttKind::CharList);

        KesRawCollint passCounts;
        Fill(ListLength(), [&](int i) { passCounts.Append(i % 3 == 0 ? RandomInt(source_) : i); });
        auto* counts = Add(new KesMfgAttMVInt{"Pass_Counts", "Passes", passCounts, IntLimit(1),
                                              IntLimit(20), 0, frame, Group()},
                           KesAttKind::MVInt);
        KesRawCollint toolNumbers;
        Fill(ListLength(), [&](int i) { toolNumbers.Append(i * 7); });
        auto* tools =
            Add(new KesMfgAttMVInt{"Tool_Numbers", "Tools", toolNumbers, 0, 0, 0, frame, Group()},
                KesAttKind::MVInt);
        KesRawColldouble depths;
        Fill(ListLength(),
             [&](int i) { depths.Append(i % 4 == 0 ? RandomReal(source_) : i * 0.5); });
        auto* passDepths = Add(new KesMfgAttMVDouble{"Pass_Depths", "Depths", depths, Limit(0.0),
                                                     Limit(10.0), 0.0, 0, 0, source_.Between(-1, 1),
                                                     frame, Group(), source_.Between(0, 1)},
                               KesAttKind::MVDouble);
        KesRawColldouble offsets;
        Fill(ListLength(), [&](int i) { offsets.Append(i * 1.25); });
        auto* freeOffsets = Add(new KesMfgAttMVDouble{"Offsets", "Offsets", offsets, 0.0, 0.0, 0.0,
                                                      0, 0, 0, frame, Group(), 0},
                                KesAttKind::MVDouble);
        KesListValKesUnicodeString passNames;
        Fill(ListLength(), [&](int i) {
            passNames.Append(i % 3 == 0 ? KesUnicodeString(RandomText(source_))
                                        : KesUnicodeString("pass " + std::to_string(i)));
        });
        auto* names = Add(new KesMfgAttMVChar{"Pass_Names", "Pass names", passNames,
                                              RandomText(source_), frame, Group()},
                          KesAttKind::MVChar);
        KesListValKesUnicodeString cycles{"G81", "G83"};
        if (source_.Chance(30)) {
            cycles.Append("G99"); // a value with no line
        }
        auto* allowed =
            Add(new KesMfgAttMVCharList{"Allowed_Cycles",
                                        "Cycles",
                                        cycles,
                                        {"G81", "G82", "G83", "G85", "G86", "G87", "G88", "G89"},
                                        {"Drill", "Dwell", "Peck", "Bore", "Stop", "Back", "Hand"},
                                        "",
                                        frame,
                                        Group()},
                KesAttKind::MVCharList);
        KesRawCollint switches;
        Fill(ListLength(),
             [&](int i) { switches.Append(i % 5 == 4 ? RandomInt(source_) : i % 2); });
        auto* passSwitches = Add(new KesMfgAttMVLogic{"Pass_Switches", "Passes on", switches, 0,
                                                      frame, Group(), 0, nullptr},
                                 KesAttKind::MVLogic);
        Add(new KesMfgAttDoubleParam{"Feed_Rate", "Feed rate", 800.0, Limit(0.0), Limit(5000.0),
                                     0.0, 1, 2, 0, source_.Chance(70) ? "FEED_ROUGH" : "", frame,
                                     Group(), 0},
            KesAttKind::DoubleParam);
        auto* plunge = Add(
            new KesMfgAttDoubleParam{"Plunge", "Plunge", RandomReal(source_), 0.0, 0.0, 0.0, 0, 0,
                                     -1, source_.Chance(30) ? "UNKNOWN" : "", frame, Group(), 0},
            KesAttKind::DoubleParam);

        for (const Member& member : members_) {
            Configure(member.attribute);
        }
        for (auto* multi : {counts, tools}) {
            ConfigureWindow(multi);
        }
        for (auto* multi : {passDepths, freeOffsets}) {
            ConfigureWindow(multi);
        }
        ConfigureWindow(names);
        ConfigureWindow(passSwitches);
        allowed->SetNbVisibleVals(source_.Between(-1, 8));
        for (const Member& member : members_) {
            member.attribute->Display();
        }
        for (const Member& member : members_) {
            if (source_.Chance(6)) {
                member.attribute->SetEditMode(0);
            }
        }

        // Impacts, a cycle among them: strategy steers the angle and the direction, the direction
        // the stepover and the strategy, the booleans the pressure and the plunge.
        KesListPtrKesMfgAttribute byStrategy;
        byStrategy.Append(angle);
        byStrategy.Append(direction);
        strategy->AddImpactedAttributes(byStrategy, KesRawCollint(),
                                        {"ZIGZAG", "SPIRAL", "CONTOUR"}, {1, 1, 0, 1, 0, 0});
        KesListPtrKesMfgAttribute byDirection;
        byDirection.Append(stepover);
        byDirection.Append(strategy);
        direction->AddImpactedAttributes(byDirection, KesRawCollint(), {1, -1}, {1, 1, 0, 1});
        KesListPtrKesMfgAttribute byCoolant;
        byCoolant.Append(pressure);
        byCoolant.Append(spindle);
        coolant->AddImpactedAttributes(byCoolant, KesRawCollint(), {1, 0}, {1, 1, 0, 1});
        KesListPtrKesMfgAttribute byMist;
        byMist.Append(plunge);
        byMist.Append(passSwitches);
        byMist.Append(nullptr);
        mist->AddImpactedAttributes(byMist, KesRawCollint(), {1, 0}, {1, 0, 0}); // a short table
        KesListPtrKesMfgAttribute byLevel;
        byLevel.Append(tools);
        byLevel.Append(freeInt);
        byLevel.Append(tool);
        level->AddImpactedAttributes(byLevel, KesRawCollint(), {1, 2, 3, 4},
                                     {1, 1, 1, 0, 1, 1, 0, 0, 1, 1, 0, 0});
        for (KesMfgAttribute* steering :
             std::vector<KesMfgAttribute*>{strategy, direction, coolant, mist, level}) {
            steering->ImpactAttributes();
        }

        // The owner of the frame sometimes reacts to a modification by calling the attributes
        // at once (the sender among them), from inside the callback that notified it.
        for (const Member& member : members_) {
            frame_->AddCallback(
                member.attribute, &modified_,
                [this](KesCommand* sender, KesNotification*, void**) { React(sender); });
        }

        // The owner of the frame answers a press of the link as a sub-dialog would: it hands
        // well-formed values back.
        frame_->AddCallback(link_, &linkPressed_, [this](KesCommand*, KesNotification*, void**) {
            ++linkPresses_;
            KesListValKesUnicodeString names{"Approach_Distance", "Retract_Mode"};
            KesRawCollint counts{1, 1};
            KesRawCollint typeCodes{2, 3};
            KesRawColldouble reals{2.5 * linkPresses_};
            KesListValKesUnicodeString texts{"RAPID"};
            HandToLink(&names, &counts, &typeCodes, nullptr, &reals, &texts);
        });
    }

    void React(KesCommand* sender) {
        if (reacting_ || !source_.Chance(8)) {
            return;
        }
        reacting_ = true;
        Member* target = nullptr;
        if (source_.Chance(50)) {
            for (Member& member : members_) {
                target = member.attribute == sender ? &member : target;
            }
        }
        const Outcome outcome = CallerCall(target);
        reactions_ += " [the parent reacts: " + outcome.description + "]";
        if (reactionFault_.empty()) {
            reactionFault_ = outcome.fault;
        }
        reacting_ = false;
    }

    void HandToLink(KesListValKesUnicodeString* names, KesRawCollint* counts,
                    KesRawCollint* typeCodes, KesRawCollint* ints, KesRawColldouble* reals,
                    KesListValKesUnicodeString* texts) {
        link_->SetAttValue(names, counts, typeCodes, ints, reals, texts, 0);
        linkValues_.given = true;
        linkValues_.vectors.Clear();
        KesMfgValueRecords& kept = linkValues_.vectors;
        if (names != nullptr) {
            kept.names = *names;
        }
        if (counts != nullptr) {
            kept.counts = *counts;
        }
        if (typeCodes != nullptr) {
            kept.typeCodes = *typeCodes;
        }
        if (ints != nullptr) {
            kept.ints = *ints;
        }
        if (reals != nullptr) {
            kept.reals = *reals;
        }
        if (texts != nullptr) {
            kept.texts = *texts;
        }
    }

    // -----------------------------------------------------------------------------------------
    // User actions
    // -----------------------------------------------------------------------------------------
    static void CollectWidgets(const KesDialog* root, std::vector<KesDialog*>& widgets) {
        for (int i = 0; i < root->GetChildCount(); ++i) {
            KesDialog* child = root->GetChildFromChildNumber(i);
            switch (child->GetKind()) {
            case KesDlgKind::Frame:
            case KesDlgKind::Label:
            case KesDlgKind::ContextualMenu:
                break; // nothing a person acts on
            default:
                widgets.push_back(child);
            }
            CollectWidgets(child, widgets);
        }
    }

    static std::string Name(const KesDialog* widget) {
        std::string path = widget->GetName().Str();
        for (const KesDialog* up = widget->GetParent(); up != nullptr && up->GetParent() != nullptr;
             up = up->GetParent()) {
            path = up->GetName().Str() + "/" + path;
        }
        return path;
    }

    static std::string Quoted(const std::string& text) {
        std::ostringstream out;
        out << '"';
        for (unsigned char c : text.substr(0, 40)) {
            if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
                static constexpr char kHex[] = "0123456789ABCDEF";
                out << "\\x" << kHex[c >> 4] << kHex[c & 15];
            } else {
                out << c;
            }
        }
        out << (text.size() > 40 ? "\"...(" + std::to_string(text.size()) + " bytes)" : "\"");
        return out.str();
    }
    static std::string Number(double value) {
        std::ostringstream out;
        out.precision(17);
        out << value;
        return out.str();
    }

    Outcome UserAction() {
        std::vector<KesDialog*> widgets;
        CollectWidgets(frame_.get(), widgets);
        if (widgets.empty()) {
            return {"no widget", std::string()};
        }
        // Most actions go to widgets that take input, the others to any widget (hidden and
        // insensitive ones included), which must refuse them.
        if (source_.Chance(65)) {
            std::vector<KesDialog*> taking;
            std::copy_if(widgets.begin(), widgets.end(), std::back_inserter(taking),
                         [](const KesDialog* widget) { return widget->AcceptsUserInput(); });
            if (!taking.empty()) {
                widgets.swap(taking);
            }
        }
        KesDialog* widget = widgets[source_.Below(static_cast<uint32_t>(widgets.size()))];
        const bool accepts = widget->AcceptsUserInput();
        std::string description = "user " + Name(widget) + (accepts ? "" : " (refusing)") + ": ";
        const long changesBefore = changes_.Changes();
        const size_t receivedBefore = frame_->GetReceived().size();
        bool taken = false;
        // The widget may be deleted by the action (a dialog closed by its OK): it is not read
        // after the action.
        switch (widget->GetKind()) {
        case KesDlgKind::Editor: {
            const std::string text = RandomText(source_);
            description += "type " + Quoted(text);
            taken = static_cast<KesDlgEditor*>(widget)->UserType(text);
            break;
        }
        case KesDlgKind::Spinner: {
            auto* spinner = static_cast<KesDlgSpinner*>(widget);
            if (source_.Chance(60)) {
                const double value = RandomReal(source_);
                description += "set " + Number(value);
                taken = spinner->UserSetValue(value);
            } else {
                const int clicks =
                    source_.Chance(90) ? source_.Between(-10, 10) : RandomInt(source_);
                description += "step " + std::to_string(clicks);
                taken = spinner->UserStep(clicks);
            }
            break;
        }
        case KesDlgKind::Combo: {
            auto* combo = static_cast<KesDlgCombo*>(widget);
            switch (source_.Below(3)) {
            case 0: {
                const int row = source_.Chance(90) ? source_.Between(-1, combo->GetLineCount())
                                                   : RandomInt(source_);
                description += "select row " + std::to_string(row);
                taken = combo->UserSelect(row);
                break;
            }
            case 1: {
                const std::string text = RandomText(source_);
                description += "type " + Quoted(text);
                taken = combo->UserType(text);
                break;
            }
            default:
                description += "drop";
                taken = combo->UserDrop();
            }
            break;
        }
        case KesDlgKind::CheckButton:
            description += "click";
            taken = static_cast<KesDlgCheckButton*>(widget)->UserClick();
            break;
        case KesDlgKind::RadioButton:
            description += "click";
            taken = static_cast<KesDlgRadioButton*>(widget)->UserClick();
            break;
        case KesDlgKind::PushButton:
            description += "press";
            taken = static_cast<KesDlgPushButton*>(widget)->UserPress();
            break;
        case KesDlgKind::PushItem:
            description += "activate";
            taken = static_cast<KesDlgPushItem*>(widget)->UserActivate();
            break;
        case KesDlgKind::Dialog:
            if (source_.Chance(50)) {
                description += "OK";
                taken = static_cast<KesDlgDialog*>(widget)->UserOK();
            } else {
                description += "Cancel";
                taken = static_cast<KesDlgDialog*>(widget)->UserCancel();
            }
            break;
        case KesDlgKind::ScrollBar: {
            auto* bar = static_cast<KesDlgScrollBar*>(widget);
            const int position = source_.Chance(90)
                                     ? source_.Between(-1, bar->GetScrollMaximum() + 1)
                                     : RandomInt(source_);
            if (source_.Chance(70)) {
                description += "scroll " + std::to_string(position);
                taken = bar->UserScroll(position);
            } else {
                description += "drag " + std::to_string(position);
                taken = bar->UserDrag(position);
            }
            break;
        }
        case KesDlgKind::SelectorList: {
            auto* list = static_cast<KesDlgSelectorList*>(widget);
            std::vector<int> rows;
            const int count = source_.Between(0, 4);
            for (int i = 0; i < count; ++i) {
                rows.push_back(source_.Chance(95) ? source_.Between(0, list->GetLineCount() - 1)
                                                  : RandomInt(source_));
            }
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            description += "select rows";
            for (int row : rows) {
                description += " " + std::to_string(row);
            }
            taken = list->UserSelect(rows.data(), static_cast<int>(rows.size()));
            break;
        }
        default:
            description += "nothing";
            return {description, std::string()};
        }
        if (accepts) {
            return {description, std::string()};
        }
        std::string fault;
        if (taken) {
            fault = "a hidden or insensitive widget took a user action";
        } else if (changes_.Changes() != changesBefore) {
            fault = "a refused user action changed a widget";
        } else if (frame_->GetReceived().size() != receivedBefore) {
            fault = "a refused user action notified the parent frame";
        }
        return {description, fault};
    }

    // -----------------------------------------------------------------------------------------
    // Caller calls
    // -----------------------------------------------------------------------------------------
    Member& PickMember() { return members_[source_.Below(static_cast<uint32_t>(members_.size()))]; }

    // A call on `target`, or on any attribute when it is null.
    Outcome CallerCall(Member* target = nullptr) {
        Member& member = target != nullptr ? *target : PickMember();
        KesMfgAttribute* attribute = member.attribute;
        std::string description = "caller " + attribute->GetRecordName().Str() + ": ";
        switch (source_.Below(20)) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4: {
            auto ints = RandomInts(source_);
            auto reals = RandomReals(source_);
            auto texts = RandomTexts(source_);
            const int notify = source_.Pick(std::vector<int>{0, 0, 1, 1, 2, -1});
            description += "SetAttValue(" + Describe(ints.get()) + ", " + Describe(reals.get()) +
                           ", " + Describe(texts.get()) + ", " + std::to_string(notify) + ")";
            attribute->SetAttValue(ints.get(), reals.get(), texts.get(), notify);
            break;
        }
        case 5: {
            // Read-only mode is for good, so it comes rarely.
            const int mode = source_.Chance(4) ? 0 : source_.Pick(std::vector<int>{1, 2, -1});
            description += "SetEditMode(" + std::to_string(mode) + ")";
            attribute->SetEditMode(mode);
            break;
        }
        case 6: {
            const unsigned long sensitivity =
                source_.Pick(std::vector<unsigned long>{8, 8, 16, 16, 0, 12345});
            description += "SetSensitivity(" + std::to_string(sensitivity) + ")";
            attribute->SetSensitivity(sensitivity);
            break;
        }
        case 7: {
            const int access = source_.Pick(std::vector<int>{0, 1, 1, 2, -1});
            description += "SetContextAccess(" + std::to_string(access) + ")";
            attribute->SetContextAccess(access);
            break;
        }
        case 8: {
            const int state = source_.Between(-1, 2);
            const int notify = source_.Between(-1, 2);
            description +=
                "SetOptionalCheck(" + std::to_string(state) + ", " + std::to_string(notify) + ")";
            attribute->SetOptionalCheck(state, notify);
            break;
        }
        case 9:
        case 10: {
            KesListValKesUnicodeString values;
            const int count = source_.Between(0, 6);
            for (int i = 0; i < count; ++i) {
                values.Append(source_.Chance(75)
                                  ? KesUnicodeString(source_.Pick(std::vector<std::string>{
                                        "1", "-1", "2", "G81", "G83", " G85 ", "G82", "ZIGZAG",
                                        "SPIRAL", "CONTOUR"}))
                                  : KesUnicodeString(RandomText(source_)));
            }
            const int selection =
                source_.Pick(std::vector<int>{-1, -1, 1, 2, 3, 0, 7, INT_MAX, INT_MIN});
            KesRawCollint reserved;
            if (source_.Chance(20)) {
                reserved.Append(RandomInt(source_));
            }
            auto* charList = dynamic_cast<KesMfgAttCharList*>(attribute);
            if (charList != nullptr && source_.Chance(50)) {
                description +=
                    "NewValueList(" + Describe(&values) + ", " + std::to_string(selection) + ")";
                charList->NewValueList(reserved, values, selection);
            } else {
                description +=
                    "ModifyValueList(" + Describe(&values) + ", " + std::to_string(selection) + ")";
                attribute->ModifyValueList(reserved, values, selection);
            }
            break;
        }
        case 11:
            description += "ImpactAttributes()";
            attribute->ImpactAttributes();
            break;
        case 12:
            return NewImpacts(attribute, description);
        case 13: {
            auto help = RandomTexts(source_);
            auto shortHelp = RandomTexts(source_);
            auto icons = RandomTexts(source_);
            auto secondIcons = RandomTexts(source_);
            description += "help and icons";
            attribute->SetHelp(help ? *help : KesListValKesUnicodeString(),
                               shortHelp ? *shortHelp : KesListValKesUnicodeString());
            attribute->SetIconNames(icons.get(), secondIcons.get());
            attribute->SetIconName(KesString(RandomText(source_)));
            break;
        }
        case 14:
            if (member.kind == KesAttKind::Link) {
                return HandHostileValuesToLink(description);
            }
            // Display again is ignored; the visible width waits for a Display that never comes.
            // (The option mode is configuration for Display and is left alone here.)
            description += "Display() again, SetVisibleTextWidth";
            attribute->Display();
            attribute->SetVisibleTextWidth(RandomInt(source_));
            break;
        case 15:
        case 16:
            return CallBack(member, description);
        default: {
            // The reading side of the interface, which must change nothing.
            description += "GetAttributeName, GetContextAccess";
            if (attribute->GetAttributeName() != attribute->GetRecordName()) {
                return {description, "GetAttributeName differs from the record name"};
            }
            (void)attribute->GetContextAccess();
            break;
        }
        }
        return {description, std::string()};
    }

    // New impact tables of any shape, also with null entries and tables shorter than M x N.
    Outcome NewImpacts(KesMfgAttribute* attribute, std::string description) {
        KesListPtrKesMfgAttribute impacted;
        const int count = source_.Between(0, 4);
        for (int i = 0; i < count; ++i) {
            impacted.Append(source_.Chance(10) ? nullptr : PickMember().attribute);
        }
        KesRawCollint flags;
        const int flagCount = source_.Between(0, 12);
        for (int i = 0; i < flagCount; ++i) {
            flags.Append(source_.Chance(90) ? source_.Between(0, 1) : RandomInt(source_));
        }
        KesRawCollint intValues;
        KesListValKesUnicodeString textValues;
        const int valueCount = source_.Between(0, 4);
        for (int i = 0; i < valueCount; ++i) {
            intValues.Append(source_.Chance(80) ? source_.Between(-1, 4) : RandomInt(source_));
            textValues.Append(source_.Chance(80)
                                  ? KesUnicodeString(source_.Pick(
                                        std::vector<std::string>{"ZIGZAG", "SPIRAL", "G81", "G83"}))
                                  : KesUnicodeString(RandomText(source_)));
        }
        description += "AddImpactedAttributes(" + std::to_string(count) + " attributes, " +
                       std::to_string(valueCount) + " values, " + std::to_string(flagCount) +
                       " flags) and ImpactAttributes()";
        if (source_.Chance(50)) {
            attribute->AddImpactedAttributes(impacted, KesRawCollint(), intValues, flags);
        } else {
            attribute->AddImpactedAttributes(impacted, KesRawCollint(), textValues, flags);
        }
        attribute->ImpactAttributes();
        return {description, std::string()};
    }

    Outcome HandHostileValuesToLink(std::string description) {
        // Well-formed records most of the time; sometimes vectors of any length.
        auto names = RandomTexts(source_);
        auto counts = RandomInts(source_);
        auto typeCodes = RandomInts(source_);
        auto ints = RandomInts(source_);
        auto reals = RandomReals(source_);
        auto texts = RandomTexts(source_);
        if (source_.Chance(60) && names != nullptr && counts != nullptr && typeCodes != nullptr) {
            counts->RemoveAll();
            typeCodes->RemoveAll();
            for (int i = 1; i <= names->Size(); ++i) {
                counts->Append(0);
                typeCodes->Append(source_.Between(0, 3));
            }
        }
        description += "link SetAttValue(" + Describe(names.get()) + ", " + Describe(counts.get()) +
                       ", " + Describe(typeCodes.get()) + ", " + Describe(ints.get()) + ", " +
                       Describe(reals.get()) + ", " + Describe(texts.get()) + ")";
        HandToLink(names.get(), counts.get(), typeCodes.get(), ints.get(), reals.get(),
                   texts.get());
        return {description, std::string()};
    }

    // The callbacks are public: a caller (or the library itself) may call them with null
    // arguments whatever the state of the widgets.
    Outcome CallBack(Member& member, std::string description) {
        KesMfgAttribute* attribute = member.attribute;
        const uint32_t which = source_.Below(8);
        description += "callback " + std::to_string(which) + " with null arguments";
        if (which == 0) {
            attribute->OptionCheckModified(nullptr, nullptr, nullptr);
            return {description, std::string()};
        }
        switch (member.kind) {
        case KesAttKind::Int:
            static_cast<KesMfgAttInt*>(attribute)->ControlIntValue(nullptr, nullptr, nullptr);
            break;
        case KesAttKind::Double:
            static_cast<KesMfgAttDouble*>(attribute)->AttributeModified(nullptr, nullptr, nullptr);
            break;
        case KesAttKind::Char:
            static_cast<KesMfgAttChar*>(attribute)->AttributeModified(nullptr, nullptr, nullptr);
            break;
        case KesAttKind::Logic:
            static_cast<KesMfgAttLogic*>(attribute)->AttributeModified(nullptr, nullptr, nullptr);
            break;
        case KesAttKind::Link:
            if (which % 2 == 0) {
                static_cast<KesMfgAttLink*>(attribute)->AttributeActivated(nullptr, nullptr,
                                                                           nullptr);
            } else {
                static_cast<KesMfgAttLink*>(attribute)->AttributeModified(nullptr, nullptr,
                                                                          nullptr);
            }
            break;
        case KesAttKind::IntList:
            static_cast<KesMfgAttIntList*>(attribute)->AttributeModified(nullptr, nullptr, nullptr);
            break;
        case KesAttKind::CharList: {
            auto* list = static_cast<KesMfgAttCharList*>(attribute);
            if (which % 2 == 0) {
                list->AttributeModified(nullptr, nullptr, nullptr);
            } else {
                list->AttributeModifiedWithNewVal(nullptr, nullptr, nullptr);
            }
            break;
        }
        case KesAttKind::MVInt:
            MultiValueCallback(static_cast<KesMfgAttMVInt*>(attribute), which);
            if (which == 7) {
                static_cast<KesMfgAttMVInt*>(attribute)->ControlIntValue(nullptr, nullptr, nullptr);
            }
            break;
        case KesAttKind::MVDouble:
            MultiValueCallback(static_cast<KesMfgAttMVDouble*>(attribute), which);
            break;
        case KesAttKind::MVChar:
            MultiValueCallback(static_cast<KesMfgAttMVChar*>(attribute), which);
            break;
        case KesAttKind::MVLogic:
            MultiValueCallback(static_cast<KesMfgAttMVLogic*>(attribute), which);
            break;
        case KesAttKind::MVCharList:
            static_cast<KesMfgAttMVCharList*>(attribute)->AttributeModified(nullptr, nullptr,
                                                                            nullptr);
            break;
        case KesAttKind::DoubleParam: {
            auto* param = static_cast<KesMfgAttDoubleParam*>(attribute);
            switch (source_.Below(10)) {
            case 0:
                param->AttributeModified(nullptr, nullptr, nullptr);
                break;
            case 1:
                param->DropParameters(nullptr, nullptr, nullptr);
                break;
            case 2:
                param->DisplayParameter(nullptr, nullptr, nullptr);
                break;
            case 3:
                param->UnParametrize(nullptr, nullptr, nullptr);
                break;
            case 4:
                param->CreateParameter(nullptr, nullptr, nullptr);
                break;
            case 5:
                param->EntryCreateParameter(nullptr, nullptr, nullptr);
                break;
            case 6:
                param->YesCreateParameter(nullptr, nullptr, nullptr);
                break;
            case 7:
                param->NoCreateParameter(nullptr, nullptr, nullptr);
                break;
            case 8:
                param->DefineStep(nullptr, nullptr, nullptr);
                break;
            default:
                param->OkStep(nullptr, nullptr, nullptr);
                param->ListParameters();
            }
            break;
        }
        }
        return {description, std::string()};
    }

    template <class MultiValue>
    static void MultiValueCallback(MultiValue* attribute, uint32_t which) {
        switch (which % 4) {
        case 0:
            attribute->AttributeModified(nullptr, nullptr, nullptr);
            break;
        case 1:
            attribute->AddValue(nullptr, nullptr, nullptr);
            break;
        case 2:
            attribute->RemoveValue(nullptr, nullptr, nullptr);
            break;
        default:
            attribute->ScrollModified(nullptr, nullptr, nullptr);
        }
    }

    // -----------------------------------------------------------------------------------------
    // Value collection with vectors that may be null
    // -----------------------------------------------------------------------------------------
    Outcome Collect() {
        Member& member = PickMember();
        KesMfgAttribute* attribute = member.attribute;
        KesMfgValueRecords partial;
        const bool present[6] = {source_.Chance(85), source_.Chance(85), source_.Chance(85),
                                 source_.Chance(85), source_.Chance(85), source_.Chance(85)};
        const bool output = source_.Chance(50);
        const int group = source_.Chance(80) ? attribute->GetGroup() : RandomInt(source_);
        std::string description = "caller " + attribute->GetRecordName().Str() + ": " +
                                  (output ? "Output(" + std::to_string(group) : "GetAttValue(") +
                                  " vectors";
        for (bool given : present) {
            description += given ? " +" : " null";
        }
        description += ")";
        auto* names = present[0] ? &partial.names : nullptr;
        auto* typeCodes = present[1] ? &partial.typeCodes : nullptr;
        auto* counts = present[2] ? &partial.counts : nullptr;
        auto* ints = present[3] ? &partial.ints : nullptr;
        auto* reals = present[4] ? &partial.reals : nullptr;
        auto* texts = present[5] ? &partial.texts : nullptr;
        KesMfgValueRecords whole;
        int writtenGroup = INT_MIN;
        if (output) {
            attribute->Output(group, names, typeCodes, counts, ints, reals, texts);
            whole.Output(*attribute, group);
        } else {
            attribute->GetAttValue(source_.Chance(20) ? nullptr : &writtenGroup, names, typeCodes,
                                   counts, ints, reals, texts);
            whole.GetAttValue(*attribute);
        }
        // All or nothing: the vectors given hold either nothing or what a call with every
        // vector appends.
        if (partial.IsEmpty()) {
            return {description, std::string()};
        }
        const bool same = (!present[0] || partial.names == whole.names) &&
                          (!present[1] || partial.typeCodes == whole.typeCodes) &&
                          (!present[2] || partial.counts == whole.counts) &&
                          (!present[3] || partial.ints == whole.ints) &&
                          (!present[4] || SameReals(partial.reals, whole.reals)) &&
                          (!present[5] || partial.texts == whole.texts);
        if (!same) {
            return {description, "a call with null vectors appended part of a record"};
        }
        return {description, std::string()};
    }

    // -----------------------------------------------------------------------------------------
    // Checks
    // -----------------------------------------------------------------------------------------
    static bool SameReal(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }
    static bool SameReals(const KesRawColldouble& a, const KesRawColldouble& b) {
        if (a.Size() != b.Size()) {
            return false;
        }
        for (int i = 1; i <= a.Size(); ++i) {
            if (!SameReal(a[i], b[i])) {
                return false;
            }
        }
        return true;
    }
    static std::string RecordText(const KesMfgValueRecords& vectors) {
        return vectors.FormatTable();
    }

    std::string CheckMember(const Member& member) {
        KesMfgAttribute& attribute = *member.attribute;
        // Another group: nothing at all.
        KesMfgValueRecords other;
        other.Output(attribute, attribute.GetGroup() + 1);
        other.Output(attribute, attribute.GetGroup() == 1 ? INT_MIN : 1);
        if (!other.IsEmpty()) {
            return "Output for another group appended " + RecordText(other);
        }
        KesMfgValueRecords output;
        output.Output(attribute, attribute.GetGroup());
        KesMfgValueRecords values;
        if (values.GetAttValue(attribute) != attribute.GetGroup()) {
            return "GetAttValue wrote another group number";
        }
        if (member.kind == KesAttKind::Link) {
            return CheckLink(output, values);
        }
        std::vector<KesMfgValueRecords::Record> outputRecords;
        std::vector<KesMfgValueRecords::Record> valueRecords;
        std::string error;
        if (!output.Split(outputRecords, &error)) {
            return "Output appended malformed records: " + error;
        }
        if (!values.Split(valueRecords, &error)) {
            return "GetAttValue appended malformed records: " + error;
        }
        if (outputRecords.size() > 1 || valueRecords.size() > 1) {
            return "more than one record:\n" + RecordText(output) + RecordText(values);
        }
        if (attribute.IsToBeDefined() != 0 && (!outputRecords.empty() || !valueRecords.empty())) {
            return "a record while the value is to be defined:\n" + RecordText(output) +
                   RecordText(values);
        }
        for (const auto* records : {&outputRecords, &valueRecords}) {
            if (records->empty()) {
                continue;
            }
            std::string fault = CheckRecord(member, records->front(), records == &outputRecords);
            if (!fault.empty()) {
                return fault + "\n" + RecordText(records == &outputRecords ? output : values);
            }
        }
        if (!outputRecords.empty() && !valueRecords.empty() &&
            outputRecords.front().count == valueRecords.front().count &&
            (outputRecords.front().ints != valueRecords.front().ints ||
             outputRecords.front().texts != valueRecords.front().texts ||
             outputRecords.front().reals.size() != valueRecords.front().reals.size() ||
             !std::equal(outputRecords.front().reals.begin(), outputRecords.front().reals.end(),
                         valueRecords.front().reals.begin(), SameReal))) {
            return "Output and GetAttValue report different values:\n" + RecordText(output) +
                   RecordText(values);
        }
        std::string fault = CheckWidgets(member);
        if (!fault.empty()) {
            return fault;
        }
        return CheckSensitivity(attribute);
    }

    std::string CheckLink(const KesMfgValueRecords& output, const KesMfgValueRecords& values) {
        if (!linkValues_.given) {
            if (!output.IsEmpty()) {
                return "the link reported values before any were handed over";
            }
            if (values.names.Size() != 1 || values.typeCodes != KesRawCollint{1} ||
                values.counts != KesRawCollint{0} || values.ints.Size() != 0 ||
                values.reals.Size() != 0 || values.texts.Size() != 0) {
                return "the link's placeholder record is wrong: " + RecordText(values);
            }
            return std::string();
        }
        const KesMfgValueRecords& kept = linkValues_.vectors;
        for (const KesMfgValueRecords* relayed : {&output, &values}) {
            if (relayed->names != kept.names || relayed->typeCodes != kept.typeCodes ||
                relayed->counts != kept.counts || relayed->ints != kept.ints ||
                !SameReals(relayed->reals, kept.reals) || relayed->texts != kept.texts) {
                return "the link does not relay what it was handed";
            }
        }
        return std::string();
    }

    // Within the limits (in either order) as a real field shows them: a value brought back to a
    // limit is written with six significant digits, so it may lie beyond the limit by that
    // rounding.
    static bool WithinLimits(double value, double minimum, double maximum) {
        const double low = std::min(minimum, maximum);
        const double high = std::max(minimum, maximum);
        return value >= low - std::fabs(low) * 1e-5 && value <= high + std::fabs(high) * 1e-5;
    }

    std::string CheckRecord(const Member& member, const KesMfgValueRecords::Record& record,
                            bool fromOutput) {
        KesMfgAttribute& attribute = *member.attribute;
        if (!(record.name == attribute.GetRecordName())) {
            return "the record carries another name";
        }
        if (record.typeCode != TypeCodeOf(member.kind)) {
            return "the record carries type code " + std::to_string(record.typeCode);
        }
        if (record.count == -1) {
            if (member.kind != KesAttKind::DoubleParam) {
                return "a count of -1 from a class that binds no parameter";
            }
            if (record.texts.size() != 1 || record.texts.front().GetLengthInChar() != 72) {
                return "a bound value's parameter name is not one text of 72 characters";
            }
            return std::string();
        }
        if (attribute.GetOptionState() == 0) {
            return record.count == 0 ? std::string() : "an unchecked attribute reported values";
        }
        if (IsMultiValue(member.kind)) {
            return CheckListRecord(member, record);
        }
        if (record.count == 0) {
            const bool neitherRadio = member.kind == KesAttKind::Logic && fromOutput;
            return neitherRadio ? std::string() : "a checked attribute reported no value";
        }
        if (record.count != 1) {
            return "a single value reported " + std::to_string(record.count) + " values";
        }
        switch (member.kind) {
        case KesAttKind::Int: {
            const auto& integer = static_cast<const KesMfgAttInt&>(attribute);
            const int value = record.ints.front();
            if (integer.HasLimits() && integer.GetSpinnerWidget() != nullptr &&
                (value < std::min(integer.GetMinimum(), integer.GetMaximum()) ||
                 value > std::max(integer.GetMinimum(), integer.GetMaximum()))) {
                return "an integer outside its limits";
            }
            break;
        }
        case KesAttKind::Double: {
            auto& real = static_cast<KesMfgAttDouble&>(attribute);
            if (!std::isfinite(record.reals.front())) {
                return "a real that is not finite";
            }
            const double shown = real.GetAttValue();
            if (real.HasLimits() && !WithinLimits(shown, real.GetMinimum(), real.GetMaximum())) {
                return "a real outside its limits: " + Number(shown) + " not in " +
                       Number(real.GetMinimum()) + ".." + Number(real.GetMaximum());
            }
            break;
        }
        case KesAttKind::DoubleParam: {
            auto& param = static_cast<KesMfgAttDoubleParam&>(attribute);
            if (!std::isfinite(record.reals.front())) {
                return "a real that is not finite";
            }
            const double shown = param.GetShownValue();
            if (param.HasLimits() && !WithinLimits(shown, param.GetMinimum(), param.GetMaximum())) {
                return "a real outside its limits: " + Number(shown) + " not in " +
                       Number(param.GetMinimum()) + ".." + Number(param.GetMaximum());
            }
            break;
        }
        case KesAttKind::Char:
            if (record.texts.front().GetLengthInChar() != KesMfgAttChar::kTextLength) {
                return "a text that is not of 72 characters";
            }
            break;
        case KesAttKind::Logic:
            if (record.ints.front() != 0 && record.ints.front() != 1) {
                return "a boolean other than 0 and 1";
            }
            break;
        case KesAttKind::IntList: {
            const auto& list = static_cast<const KesMfgAttIntList&>(attribute);
            if (list.GetAllowedValues().Locate(record.ints.front()) == 0) {
                return "a value that is not allowed";
            }
            break;
        }
        case KesAttKind::CharList: {
            const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
            if (list.GetPresentationMode() != KesMfgAttCharList::kEditableComboMode &&
                list.GetAllowedValues().Locate(record.texts.front()) == 0) {
                return "a value that is not allowed";
            }
            break;
        }
        default:
            break;
        }
        return std::string();
    }

    std::string CheckListRecord(const Member& member, const KesMfgValueRecords::Record& record) {
        const KesMfgAttribute& attribute = *member.attribute;
        int size = 0;
        bool same = true;
        switch (member.kind) {
        case KesAttKind::MVInt: {
            const auto& values =
                static_cast<const KesMfgAttMVInt&>(attribute).GetValueList().GetCurrentValues();
            size = values.Size();
            same = record.ints == values.Items();
            break;
        }
        case KesAttKind::MVLogic: {
            const auto& values =
                static_cast<const KesMfgAttMVLogic&>(attribute).GetValueList().GetCurrentValues();
            size = values.Size();
            same = record.ints == values.Items();
            break;
        }
        case KesAttKind::MVDouble:
            size = static_cast<const KesMfgAttMVDouble&>(attribute)
                       .GetValueList()
                       .GetCurrentValues()
                       .Size();
            break;
        case KesAttKind::MVChar: {
            const auto& values =
                static_cast<const KesMfgAttMVChar&>(attribute).GetValueList().GetCurrentValues();
            size = values.Size();
            same = record.texts == values.Items();
            break;
        }
        default: {
            const auto& values =
                static_cast<const KesMfgAttMVCharList&>(attribute).GetCurrentValues();
            size = values.Size();
            same = record.texts == values.Items();
        }
        }
        if (record.count != size) {
            return "a list of " + std::to_string(size) + " values reported " +
                   std::to_string(record.count);
        }
        return same ? std::string() : "the record's values differ from the list's";
    }

    // ---- Widgets ------------------------------------------------------------------------------
    std::string CheckWidgets(const Member& member) {
        KesMfgAttribute& attribute = *member.attribute;
        if (attribute.GetOptionMode() == 1 && attribute.GetOptionCheckButton() != nullptr &&
            attribute.GetOptionState() != (attribute.GetOptionCheckButton()->IsOn() ? 1 : 0)) {
            return "the option state does not follow the option check button";
        }
        const bool toBeDefined = attribute.IsToBeDefined() != 0;
        switch (member.kind) {
        case KesAttKind::MVInt: {
            const auto& multi = static_cast<const KesMfgAttMVInt&>(attribute);
            return CheckWindow(multi.GetValueList(), [&](const KesDialog* field, int value) {
                if (field->GetKind() == KesDlgKind::Spinner) {
                    const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                    const double expected = std::clamp(
                        static_cast<double>(value), spinner->GetMinimum(), spinner->GetMaximum());
                    return !spinner->HasRange() || spinner->GetValue() == expected;
                }
                const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
                int shown = 0;
                return (text.IsEmpty() && toBeDefined) ||
                       (text.ConvertToNum(&shown, "%d") && shown == value);
            });
        }
        case KesAttKind::MVDouble: {
            const auto& multi = static_cast<const KesMfgAttMVDouble&>(attribute);
            return CheckWindow(multi.GetValueList(), [&](const KesDialog* field, double value) {
                if (field->GetKind() == KesDlgKind::Spinner) {
                    const auto* spinner = static_cast<const KesDlgSpinner*>(field);
                    if (std::isnan(value) || !spinner->HasRange()) {
                        return true; // a spinner keeps its value when given NaN
                    }
                    return spinner->GetValue() ==
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
        case KesAttKind::MVChar: {
            const auto& multi = static_cast<const KesMfgAttMVChar&>(attribute);
            return CheckWindow(multi.GetValueList(), [&](const KesDialog* field,
                                                         const KesUnicodeString& value) {
                const KesUnicodeString& text = static_cast<const KesDlgEditor*>(field)->GetText();
                // Display shows the texts without their surrounding blanks, later refreshes as
                // they are stored.
                return (text.IsEmpty() && toBeDefined) || text == Cut(value) ||
                       text == Cut(value.Strip(3, ' '));
            });
        }
        case KesAttKind::MVLogic: {
            const auto& multi = static_cast<const KesMfgAttMVLogic&>(attribute);
            return CheckWindow(multi.GetValueList(), [](const KesDialog* field, int value) {
                return static_cast<const KesDlgCheckButton*>(field)->IsOn() == (value == 1);
            });
        }
        case KesAttKind::MVCharList:
            return CheckSelection(static_cast<const KesMfgAttMVCharList&>(attribute));
        case KesAttKind::IntList:
            return CheckCombo(static_cast<const KesMfgAttIntList&>(attribute).GetComboWidget());
        case KesAttKind::CharList: {
            const auto& list = static_cast<const KesMfgAttCharList&>(attribute);
            return list.GetPresentationMode() == KesMfgAttCharList::kComboMode
                       ? CheckCombo(list.GetComboWidget())
                       : std::string();
        }
        default:
            return std::string();
        }
    }

    static KesUnicodeString Cut(const KesUnicodeString& text) {
        KesUnicodeString cut = text;
        if (cut.GetLengthInChar() > KesMfgAttChar::kTextLength) {
            cut.Resize(KesMfgAttChar::kTextLength, ' ', 1);
        }
        return cut;
    }
    // What a value field shows, for the messages.
    static std::string Shown(const KesDialog* field) {
        switch (field->GetKind()) {
        case KesDlgKind::Editor:
            return "text " + Quoted(static_cast<const KesDlgEditor*>(field)->GetText().Str());
        case KesDlgKind::Spinner:
            return "spinner " + Number(static_cast<const KesDlgSpinner*>(field)->GetValue());
        case KesDlgKind::CheckButton:
            return static_cast<const KesDlgCheckButton*>(field)->IsOn() ? "on" : "off";
        default:
            return "?";
        }
    }
    static std::string Value(int value) { return std::to_string(value); }
    static std::string Value(double value) { return Number(value); }
    static std::string Value(const KesUnicodeString& value) { return Quoted(value.Str()); }

    // The window of a list: the scroll bar runs over 0..n with a box of min(V, n) and a position
    // within 0..n - box; field i shows value p + i when i <= box and is hidden beyond.
    template <class List, class Shows>
    static std::string CheckWindow(const List& list, Shows shows) {
        const KesDlgScrollBar* bar = list.GetValueScrollBar();
        if (bar == nullptr) {
            return std::string(); // not displayed
        }
        const auto& values = list.GetCurrentValues();
        const int count = values.Size();
        const int fieldCount = std::max(list.GetVisibleFieldCount(), 0);
        const int box = std::min(fieldCount, count);
        const int position = bar->GetScrollPos();
        if (bar->GetScrollMinimum() != 0 || bar->GetScrollMaximum() != count ||
            bar->GetScrollBoxSize() != box || position < 0 || position > count - box) {
            return "the scroll bar (range " + std::to_string(bar->GetScrollMinimum()) + ".." +
                   std::to_string(bar->GetScrollMaximum()) + ", box " +
                   std::to_string(bar->GetScrollBoxSize()) + ", position " +
                   std::to_string(position) + ") does not fit " + std::to_string(count) +
                   " values in " + std::to_string(fieldCount) + " fields";
        }
        const auto& fields = list.GetValueFields();
        if (fields.Size() != fieldCount) {
            return "the window has " + std::to_string(fields.Size()) + " fields";
        }
        for (int i = 1; i <= fieldCount; ++i) {
            const KesDialog* field = fields[i];
            const bool shown = field->GetVisibility() == kes::kShown;
            if (i > box) {
                if (shown) {
                    return "field " + std::to_string(i) + " is shown beyond the values";
                }
                continue;
            }
            if (!shown) {
                return "field " + std::to_string(i) + " is hidden though it shows a value";
            }
            if (!shows(field, values[position + i])) {
                return "field " + std::to_string(i) + " (" + Shown(field) +
                       ") does not show value " + std::to_string(position + i) + " (" +
                       Value(values[position + i]) + ", scroll position " +
                       std::to_string(position) + ")";
            }
        }
        return std::string();
    }

    // Every current value that has a line has its line selected.
    static std::string CheckSelection(const KesMfgAttMVCharList& list) {
        const KesDlgSelectorList* selector = list.GetSelectorList();
        if (selector == nullptr || list.IsToBeDefined() != 0) { // nothing shown yet
            return std::string();
        }
        const KesListValKesUnicodeString& allowed = list.GetAllowedValues();
        for (const KesUnicodeString& value : list.GetCurrentValues().Items()) {
            const int position = allowed.Locate(value);
            if (position != 0 && position <= selector->GetLineCount() &&
                !selector->IsSelected(position - 1)) {
                return "the line of a current value is not selected";
            }
        }
        return std::string();
    }

    // A read-only combo shows the selected line in its field.
    static std::string CheckCombo(const KesDlgCombo* combo) {
        if (combo == nullptr) {
            return std::string();
        }
        const int row = combo->GetSelect();
        if (row < -1 || row >= combo->GetLineCount()) {
            return "the combo selects a row it does not have";
        }
        if (row >= 0 && !(combo->GetField() == combo->GetLine(row))) {
            return "the combo's field is not its selected line";
        }
        return std::string();
    }

    // A read-only attribute keeps every child but its label (and a trailing scroll bar)
    // insensitive; so does an unchecked optional attribute, the option check button apart.
    static std::string CheckSensitivity(const KesMfgAttribute& attribute) {
        const bool readOnly = attribute.GetEditMode() == 0;
        const bool unchecked = attribute.GetOptionMode() == 1 && attribute.GetOptionState() == 0 &&
                               attribute.GetOptionCheckButton() != nullptr;
        if (!attribute.IsDisplayed() || (!readOnly && !unchecked)) {
            return std::string();
        }
        int end = attribute.GetChildCount();
        if (attribute.HasTrailingScrollBar() == 1) {
            --end;
        }
        for (int i = 0; i < end; ++i) {
            const KesDialog* child = attribute.GetChildFromChildNumber(i);
            // A dialog is a window of its own: one the caller opened through a callback after
            // the attribute turned read-only or unchecked keeps its own sensitivity.
            if (child == attribute.GetLabelWidget() || child->GetKind() == KesDlgKind::Dialog ||
                (!readOnly && child == attribute.GetOptionCheckButton())) {
                continue;
            }
            if (child->GetSensitivity() != kes::kInsensitive) {
                return std::string(readOnly ? "a read-only" : "an unchecked") +
                       " attribute has the sensitive child " + child->GetName().Str();
            }
        }
        return std::string();
    }

    // ---- Descriptions -------------------------------------------------------------------------
    static std::string Describe(const KesRawCollint* values) {
        if (values == nullptr) {
            return "null";
        }
        std::string text = "{";
        for (int i = 1; i <= std::min(values->Size(), 4); ++i) {
            text += (i > 1 ? "," : "") + std::to_string((*values)[i]);
        }
        return text + (values->Size() > 4 ? ",...#" + std::to_string(values->Size()) : "") + "}";
    }
    static std::string Describe(const KesRawColldouble* values) {
        if (values == nullptr) {
            return "null";
        }
        std::string text = "{";
        for (int i = 1; i <= std::min(values->Size(), 4); ++i) {
            text += (i > 1 ? "," : "") + Number((*values)[i]);
        }
        return text + (values->Size() > 4 ? ",...#" + std::to_string(values->Size()) : "") + "}";
    }
    static std::string Describe(const KesListValKesUnicodeString* values) {
        if (values == nullptr) {
            return "null";
        }
        std::string text = "{";
        for (int i = 1; i <= std::min(values->Size(), 4); ++i) {
            text += (i > 1 ? "," : "") + Quoted((*values)[i].Str());
        }
        return text + (values->Size() > 4 ? ",...#" + std::to_string(values->Size()) : "") + "}";
    }

    KesStepSource& source_;
    KesStdoutCapture stdout_;
    KesStderrCapture stderr_;
    KesChangeCounter changes_;
    std::unique_ptr<KesDlgTestFrame> frame_;
    std::vector<Member> members_;
    KesListValKesUnicodeString logicTitles_{"Off", "On"};
    KesMfgAttLink* link_ = nullptr;
    KesMfgAttNotifyPB linkPressed_{-1};
    KesMfgAttNotifyModif modified_{-1};
    bool reacting_ = false;     // a reaction runs: no reaction to its own notifications
    std::string reactions_;     // what the parent did during the step
    std::string reactionFault_; // what went wrong in it
    KesLinkValues linkValues_;
    int linkPresses_ = 0;
};

} // namespace kes_robust
