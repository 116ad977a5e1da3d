// The parameterised real attribute: its widgets, units, value records, SetAttValue, clamping
// and trace.
#include "KesParamTestSupport.h"

namespace {

using kes_test::KesMfgAttDoubleParamTest;
using kes_test::Padded;

void Push(KesMfgAttDoubleParam* attribute, KesRawColldouble reals, KesListValKesUnicodeString texts,
          int notify) {
    attribute->SetAttValue(nullptr, &reals, &texts, notify);
}

// ---------------------------------------------------------------------------------------------
// Widgets and units
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, TheValueShownAtDisplayBecomesTheReferenceValue) {
    KesMfgAttDoubleParam* free = Shown(Make("Free", 0.1234567891, 0.0, 0.0));
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "0.123457");
    EXPECT_EQ(free->GetReferenceValue(), 0.123457); // exactly what the editor shows
    EXPECT_EQ(Find<KesDialog>(free, "labelsep")->GetTitle(), "  ");
    KesMfgAttDoubleParam* bounded = Shown(Make("Bounded", 250.0, 0.0, 100.0));
    EXPECT_EQ(bounded->GetEditorWidget(), nullptr);
    EXPECT_EQ(bounded->GetReferenceValue(), 100.0); // what the spinner accepted
    KesValueVectors out;
    EXPECT_TRUE(out.Output(*free, 1).Output(*bounded, 1).IsEmpty());
}

TEST_F(KesMfgAttDoubleParamTest, UnitsConvertBetweenTheCallerAndTheWidget) {
    KesMfgAttDoubleParam* angle = Angle();
    EXPECT_EQ(angle->GetSpinnerWidget()->GetMaximum(), 10.0);
    ASSERT_TRUE(angle->GetSpinnerWidget()->UserSetValue(3.0));
    EXPECT_EQ(Record(angle).FormatTable(), "Angle | real | 1 | 1080\n");
    KesMfgAttDoubleParam* minutes = Shown(Make("T", 2.0, 0.0, 0.0, {.third = 1, .unitFlag = 1}));
    EXPECT_EQ(minutes->GetEditorWidget()->GetText(), "120");
    EXPECT_EQ(Record(minutes).reals, (KesRawColldouble{2.0}));
    EXPECT_EQ(Shown(Make("T2", 2.0, 0.0, 0.0, {.third = 1}))->GetEditorWidget()->GetText(), "2");
}

// ---------------------------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, ABoundValueIsReportedByItsUpperCasedNamePadded) {
    KesMfgAttDoubleParam* lower = Shown(Make("Lower", 3.0, 0.0, 0.0, {.parameter = "p1"}));
    KesMfgAttDoubleParam* upper = Shown(Make("Upper", 3.0, 0.0, 0.0, {.parameter = "P1"}));
    const std::string longName(80, 'Q');
    KesMfgAttDoubleParam* cut = Shown(Make("Cut", 3.0, 0.0, 0.0, {.parameter = longName.c_str()}));
    KesValueVectors out;
    out.Output(*upper, 1); // nothing changed
    out.Output(*lower, 1); // "P1" differs from the constructor's "p1"
    out.GetAttValue(*cut);
    EXPECT_EQ(out.FormatTable(), "Lower | real | -1 | \"" + Padded("P1", 72) + "\"\n" +
                                     "Cut | real | -1 | \"" + std::string(72, 'Q') + "\"\n");
}

TEST_F(KesMfgAttDoubleParamTest, NullVectorsAndCallsBeforeDisplayAppendNothing) {
    KesMfgAttDoubleParam* bound = Shown(Make("B", 3.0, 0.0, 0.0, {.parameter = "p1"}));
    KesValueVectors out;
    bound->Output(1, &out.names, &out.typeCodes, &out.counts, nullptr, &out.reals, nullptr);
    Free()->GetAttValue(nullptr, &out.names, &out.typeCodes, &out.counts, nullptr, nullptr,
                        &out.texts);
    KesMfgAttDoubleParam* early = Make("Early", 3.0, 0.0, 10.0, {.parameter = "P1"});
    EXPECT_EQ(out.Output(*early, 1).GetAttValue(*early), 1);
    Push(early, {4.0}, {"P2"}, 1);
    early->CreateParameter(nullptr, nullptr, nullptr);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(Modifications(), 0);
}

// ---------------------------------------------------------------------------------------------
// SetAttValue
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, APushedRealUnbindsAndIsClampedByTheValueWidget) {
    KesMfgAttDoubleParam* free = Free("P1");
    Push(free, {5.0}, {}, 0);
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "5");
    EXPECT_EQ(free->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 0);
    EXPECT_EQ(Record(free).reals, (KesRawColldouble{5.0}));

    KesMfgAttDoubleParam* spun = Shown(Make("S", 3.0, 0.0, 10.0, {.parameter = "P1"}));
    Push(spun, {7.0}, {}, 1); // through the spinner's own notification
    EXPECT_EQ(spun->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 1);
    Push(spun, {70.0}, {}, 0);
    EXPECT_EQ(spun->GetSpinnerWidget()->GetValue(), 10.0);

    KesMfgAttDoubleParam* bounded = Make("E", 3.0, 0.0, 10.0);
    bounded->SetAttToBeDefined();
    bounded->Display();
    Push(bounded, {-5.0}, {}, 0);
    EXPECT_EQ(bounded->GetEditorWidget()->GetText(), "0");
    EXPECT_EQ(bounded->IsToBeDefined(), 0);
    EXPECT_EQ(Modifications(), 1);
}

TEST_F(KesMfgAttDoubleParamTest, APushedTextBindsPaddedTo16CharactersAndABlankOneUnbinds) {
    KesMfgAttDoubleParam* attribute = Free();
    KesDlgCombo* combo = attribute->GetParameterCombo();
    Push(attribute, {}, {"P1"}, 0);
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none", Padded("P1", 16)}));
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(Record(attribute).texts, (KesListValKesUnicodeString{Padded("P1", 72)}));
    Push(attribute, {}, {"   "}, 0); // an empty text would otherwise bind to a name of blanks
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none", Padded("P1", 16), "none"}));
    EXPECT_EQ(Record(attribute).counts, (KesRawCollint{1}));
    // A real and a text together: the real is shown, bound to the text.
    Push(attribute, {5.0}, {"P2"}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "5");
    EXPECT_EQ(attribute->GetBindingText(), Padded("P2", 16));
    EXPECT_EQ(Modifications(), 0);
}

// A caller pushing a stored binding gets the name back whole in the record, and a selection of
// the bound line reads that parameter's value from the model.
TEST_F(KesMfgAttDoubleParamTest, APushedNameIsPaddedTo16ButNeverCut) {
    const std::string longest = "FEED_" + std::string(62, 'X') + "_PASS"; // 72 characters
    const struct {
        std::string pushed;
        std::string field; // the combo's field after the push
        std::string name;  // GetBoundParameterName
    } cases[] = {
        {"P1", Padded("P1", 16), "P1"},
        {"FEED_FINISHING_P", "FEED_FINISHING_P", "FEED_FINISHING_P"}, // exactly the width
        {"FEED_FINISHING_PASS", "FEED_FINISHING_PASS", "FEED_FINISHING_PASS"},
        {longest, longest, longest},
        {"feed_finishing_pass", "feed_finishing_pass", "FEED_FINISHING_PASS"},
        {"none", "none", "none"},
    };
    AddParameter("P1", {1.5});
    AddParameter("FEED_FINISHING_P", {2.5});
    AddParameter("FEED_FINISHING_PASS", {4.5});
    AddParameter(longest, {7.5});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pushed);
        KesMfgAttDoubleParam* attribute = Free();
        Push(attribute, {}, {c.pushed.c_str()}, 0);
        KesDlgCombo* combo = attribute->GetParameterCombo();
        EXPECT_EQ(combo->GetField().Str(), c.field);
        EXPECT_EQ(attribute->GetBoundParameterName().Str(), c.name);
        const KesValueVectors record = Record(attribute);
        EXPECT_EQ(record.texts,
                  (c.name == "none" ? KesListValKesUnicodeString{}
                                    : KesListValKesUnicodeString{Padded(c.name, 72)}));
        ASSERT_TRUE(combo->UserSelect(combo->GetSelect()));
        const double expected = c.name == "P1"                    ? 1.5
                                : c.name == "FEED_FINISHING_P"    ? 2.5
                                : c.name == "FEED_FINISHING_PASS" ? 4.5
                                : c.name == longest               ? 7.5
                                                                  : 3.0;
        EXPECT_EQ(attribute->GetShownValue(), expected);
    }
}

TEST_F(KesMfgAttDoubleParamTest, VectorsOfOtherSizesAndNonFiniteRealsAreIgnored) {
    KesMfgAttDoubleParam* attribute = Free("P1");
    Push(attribute, {1.0, 2.0}, {"X", "Y"}, 0);
    Push(attribute, {NAN}, {}, 0);
    Push(attribute, {INFINITY}, {}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(Lines(attribute->GetParameterCombo()), (std::vector<std::string>{"none", "P1"}));
    // A finite caller's value that overflows in the shown unit is no value either.
    KesMfgAttDoubleParam* minutes = Shown(Make("M", 1.0, 0.0, 0.0, {.third = 1, .unitFlag = 1}));
    Push(minutes, {1e307}, {}, 0);
    EXPECT_EQ(minutes->GetEditorWidget()->GetText(), "60");
}

// ---------------------------------------------------------------------------------------------
// Edits and trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, TraceLinesFollowTheSwitchAskedAtEveryCall) {
    KesMfgAttribute::_debug = 0; // keep the base's own trace out of the way
    KesStdoutCapture captured;
    SetDebug("Access", 1);
    KesMfgAttDoubleParam* attribute = Free();
    attribute->GetResourceFilename(0);
    EXPECT_EQ(captured.Text(), ""); // construction, display and the resource file are silent

    KesValueVectors out;
    out.Output(*attribute, 1).GetAttValue(*attribute);
    Push(attribute, {}, {"P1"}, 0);
    attribute->SetHelp(KesListValKesUnicodeString(), KesListValKesUnicodeString());
    attribute->AttributeModified(nullptr, nullptr, nullptr);
    EXPECT_EQ(captured.Lines(), (std::vector<std::string>{
                                    "XXXXXXXXXXXXXX Output",
                                    "XXXXXXXXXXXXXX GetAttValue",
                                    "XXXXXXXXXXXXXX SetAttValue",
                                    "je fais le set select",
                                    "!P1              !",
                                    "Drop Parm OK",
                                    "XXXXXXXXXXXXXX SetHelp",
                                    "XXXXXXXXXXXXXX AttributeModified",
                                }));
    captured.Clear();
    SetDebug("Access", 2); // only exactly 1 traces
    out.Output(*attribute, 1);
    EXPECT_EQ(captured.Text(), "");
    SetDebug("Access", 1);
    out.Output(*attribute, 1);
    EXPECT_EQ(captured.Lines(), (std::vector<std::string>{"XXXXXXXXXXXXXX Output"}));
}

} // namespace
