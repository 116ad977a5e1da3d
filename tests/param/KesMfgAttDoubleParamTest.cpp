// The parameterised real attribute: its widgets, units, value records, SetAttValue, clamping
// and trace.
#include "KesParamTestSupport.h"

#include "platform/KesDlgPushItem.h"
#include "platform/KesStdoutCapture.h"

namespace {

using kes_test::Padded;
using kes_test::ParamAttributeTest;
using kes_test::Strings;
using kes_test::Vectors;

class KesMfgAttDoubleParamTest : public ParamAttributeTest {
protected:
    static std::vector<std::string> ChildNames(const KesDialog* widget) {
        std::vector<std::string> names;
        for (int i = 0; i < widget->GetChildCount(); ++i) {
            names.push_back(widget->GetChildFromChildNumber(i)->GetName().Str());
        }
        return names;
    }
    static void Push(KesMfgAttDoubleParam* attribute, std::vector<double> values,
                     std::vector<const char*> texts, int notify) {
        KesRawColldouble reals;
        for (double value : values) {
            reals.Append(value);
        }
        KesListValKesUnicodeString names;
        for (const char* text : texts) {
            names.Append(text);
        }
        attribute->SetAttValue(nullptr, &reals, &names, notify);
    }
    static Vectors Record(KesMfgAttDoubleParam* attribute) {
        Vectors out;
        out.GetAttValue(*attribute);
        return out;
    }
};

// ---------------------------------------------------------------------------------------------
// Widgets and units
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, TheValueWidgetFollowsTheLimitsAndTheToBeDefinedFlag) {
    KesMfgAttDoubleParam* free = Shown(Make("Free", 0.1234567891, 0.0, 0.0));
    EXPECT_EQ(ChildNames(free),
              (std::vector<std::string>{"labelatt", "editoratt", "labelsep", "comboatt"}));
    EXPECT_EQ(free->GetEditorWidget()->GetStyle(), 0x400000u);
    EXPECT_EQ(free->GetEditorWidget()->GetText(), "0.123457");
    EXPECT_EQ(free->GetReferenceValue(), 0.123457); // exactly what the editor shows
    EXPECT_EQ(Find<KesDialog>(free, "labelsep")->GetTitle(), "  ");
    Vectors out;
    out.Output(*free, 1);
    EXPECT_TRUE(out.IsEmpty());

    KesMfgAttDoubleParam* bounded = Shown(Make("Bounded", 250.0, 0.0, 100.0));
    EXPECT_EQ(ChildNames(bounded),
              (std::vector<std::string>{"labelatt", "spinneratt", "comboatt"}));
    EXPECT_EQ(bounded->GetSpinnerWidget()->GetStyle(), 0x60000u);
    EXPECT_EQ(bounded->GetReferenceValue(), 100.0); // what the spinner accepted
    EXPECT_NE(Find<KesDlgPushItem>(Find<KesDialog>(bounded, "contextstep"), "defstep"), nullptr);

    KesMfgAttDoubleParam* undefined = Make("Undefined", 5.0, 0.0, 10.0);
    undefined->SetAttToBeDefined();
    undefined->Display();
    EXPECT_EQ(ChildNames(undefined),
              (std::vector<std::string>{"labelatt", "editoratt", "labelsep", "comboatt"}));
    EXPECT_EQ(undefined->GetEditorWidget()->GetText(), "");
    out.Output(*undefined, 1);
    EXPECT_EQ(out.GetAttValue(*undefined), 1);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(KesMfgAttDoubleParamTest, TheComboShowsTheBindingAndOffersCreation) {
    KesMfgAttDoubleParam* plain = Shown(Make("A", 1.0, 0.0, 0.0));
    KesDlgCombo* combo = plain->GetParameterCombo();
    EXPECT_EQ(combo->GetStyle(), 0x140000u);
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none"}));
    EXPECT_EQ(combo->GetField(), "none");
    EXPECT_EQ(combo->GetVisibleTextWidth(), 16);
    EXPECT_EQ(combo->GetVisibleTextHeight(), 5);
    EXPECT_NE(Find<KesDlgPushItem>(Find<KesDialog>(combo, "contextpar"), "createpar"), nullptr);

    KesMfgAttDoubleParam* bound = Make("B", 1.0, 0.0, 0.0, {.parameter = "  P1 "});
    bound->SetVisibleTextWidth(30);
    bound->Display();
    EXPECT_EQ(Lines(bound->GetParameterCombo()), (std::vector<std::string>{"none", "P1"}));
    EXPECT_EQ(bound->GetParameterCombo()->GetSelect(), 1);
    EXPECT_EQ(bound->GetParameterCombo()->GetVisibleTextWidth(), 30);

    EXPECT_EQ(plain->GetResourceFilename(0), "KesMfgAttDoubleParam");
    EXPECT_EQ(plain->GetResourceFilename(-5), "KesMfgAttDoubleParam");
    EXPECT_EQ(plain->GetResourceFilename(1), frame_->GetResourceFilename(0));
}

TEST_F(KesMfgAttDoubleParamTest, UnitsConvertBetweenTheCallerAndTheWidget) {
    KesMfgAttDoubleParam* turns = Shown(Make("Angle", 720.0, 0.0, 0.0, {.third = -1}));
    EXPECT_EQ(turns->GetEditorWidget()->GetText(), "2");
    EXPECT_EQ(Record(turns).reals.Items(), (std::vector<double>{720.0}));

    KesMfgAttDoubleParam* bounded = Shown(Make("Angle2", 720.0, 0.0, 3600.0, {.third = -1}));
    EXPECT_EQ(bounded->GetSpinnerWidget()->GetValue(), 2.0);
    EXPECT_EQ(bounded->GetSpinnerWidget()->GetMaximum(), 10.0);
    ASSERT_TRUE(bounded->GetSpinnerWidget()->UserSetValue(3.0));
    Vectors changed;
    changed.Output(*bounded, 1);
    EXPECT_EQ(changed.reals.Items(), (std::vector<double>{1080.0}));

    KesMfgAttDoubleParam* minutes = Shown(Make("T", 2.0, 0.0, 0.0, {.third = 1, .unitFlag = 1}));
    KesMfgAttDoubleParam* plain = Shown(Make("T2", 2.0, 0.0, 0.0, {.third = 1}));
    EXPECT_EQ(minutes->GetEditorWidget()->GetText(), "120");
    EXPECT_EQ(plain->GetEditorWidget()->GetText(), "2");
    EXPECT_EQ(Record(minutes).reals.Items(), (std::vector<double>{2.0}));
}

// ---------------------------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, ABoundValueIsReportedByItsUpperCasedNamePadded) {
    KesMfgAttDoubleParam* lower = Shown(Make("Lower", 3.0, 0.0, 0.0, {.parameter = "p1"}));
    KesMfgAttDoubleParam* upper = Shown(Make("Upper", 3.0, 0.0, 0.0, {.parameter = "P1"}));
    const std::string longName(80, 'Q');
    KesMfgAttDoubleParam* cut = Shown(Make("Cut", 3.0, 0.0, 0.0, {.parameter = longName.c_str()}));
    Vectors out;
    out.Output(*upper, 1); // nothing changed
    out.Output(*lower, 1); // "P1" differs from the constructor's "p1"
    out.GetAttValue(*cut);
    EXPECT_EQ(Strings(out.names), (std::vector<std::string>{"Lower", "Cut"}));
    EXPECT_EQ(out.typeCodes.Items(), (std::vector<int>{2, 2}));
    EXPECT_EQ(out.counts.Items(), (std::vector<int>{-1, -1}));
    EXPECT_EQ(Strings(out.texts),
              (std::vector<std::string>{Padded("P1", 72), std::string(72, 'Q')}));
    EXPECT_EQ(out.reals.Size() + out.ints.Size(), 0);
}

TEST_F(KesMfgAttDoubleParamTest, AnUncheckedAttributeReportsNoValueWhateverItsBinding) {
    KesMfgAttDoubleParam* attribute = Make("Opt", 3.0, 0.0, 0.0, {.parameter = "P1"});
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    ASSERT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_EQ(Modifications(), 1);
    Vectors out;
    out.Output(*attribute, 1);
    EXPECT_EQ(out.counts.Items(), (std::vector<int>{0}));
    EXPECT_EQ(out.texts.Size() + out.reals.Size(), 0);
}

TEST_F(KesMfgAttDoubleParamTest, NullVectorsAndCallsBeforeDisplayAppendNothing) {
    KesMfgAttDoubleParam* bound = Shown(Make("B", 3.0, 0.0, 0.0, {.parameter = "p1"}));
    KesMfgAttDoubleParam* plain = Shown(Make("P", 3.0, 0.0, 0.0));
    Vectors out;
    bound->Output(1, &out.names, &out.typeCodes, &out.counts, nullptr, &out.reals, nullptr);
    plain->GetAttValue(nullptr, &out.names, &out.typeCodes, &out.counts, nullptr, nullptr,
                       &out.texts);
    out.Output(*bound, 2);

    KesMfgAttDoubleParam* early = Make("Early", 3.0, 0.0, 10.0, {.parameter = "P1"});
    out.Output(*early, 1);
    EXPECT_EQ(out.GetAttValue(*early), 1);
    Push(early, {4.0}, {"P2"}, 1);
    early->DropParameters(nullptr, nullptr, nullptr);
    early->EntryCreateParameter(nullptr, nullptr, nullptr);
    early->CreateParameter(nullptr, nullptr, nullptr);
    early->DefineStep(nullptr, nullptr, nullptr);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(early->GetChildCount(), 0);
    EXPECT_EQ(Modifications(), 0);
}

// ---------------------------------------------------------------------------------------------
// SetAttValue
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, ARealPushedSilentlyUnbindsSilently) {
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 0.0, {.parameter = "P1"}));
    Push(attribute, {5.0}, {}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "5");
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 0);
    EXPECT_EQ(Record(attribute).reals.Items(), (std::vector<double>{5.0}));
}

TEST_F(KesMfgAttDoubleParamTest, ARealPushedWithNotificationUnbindsThroughTheSpinner) {
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 10.0, {.parameter = "P1"}));
    Push(attribute, {7.0}, {}, 1);
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 7.0);
    EXPECT_EQ(attribute->GetParameterCombo()->GetField(), "none");
    EXPECT_EQ(Modifications(), 1);
    Push(attribute, {70.0}, {}, 0); // the spinner holds its own range
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetValue(), 10.0);
    EXPECT_EQ(Modifications(), 1);
}

TEST_F(KesMfgAttDoubleParamTest, ABoundedEditorClampsAPushedReal) {
    KesMfgAttDoubleParam* attribute = Make("A", 3.0, 0.0, 10.0);
    attribute->SetAttToBeDefined();
    attribute->Display();
    Push(attribute, {50.0}, {}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "10");
    EXPECT_EQ(attribute->IsToBeDefined(), 0);
    Push(attribute, {-5.0}, {}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "0");
}

TEST_F(KesMfgAttDoubleParamTest, ATextBindsPaddedTo16Characters) {
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 0.0));
    KesDlgCombo* combo = attribute->GetParameterCombo();
    Push(attribute, {}, {"P1"}, 0);
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none", Padded("P1", 16)}));
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(Strings(Record(attribute).texts), (std::vector<std::string>{Padded("P1", 72)}));
    Push(attribute, {}, {"none"}, 0);
    EXPECT_EQ(Lines(combo), (std::vector<std::string>{"none", Padded("P1", 16), "none"}));
    EXPECT_EQ(combo->GetField(), "none");
    // A real and a text together: the real is shown, bound to the text.
    Push(attribute, {5.0}, {"P2"}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "5");
    EXPECT_EQ(attribute->GetBindingText(), Padded("P2", 16));
    EXPECT_EQ(Modifications(), 0);
}

// An empty text would otherwise bind the attribute to a name made of blanks.
TEST_F(KesMfgAttDoubleParamTest, AnEmptyTextStandsForNone) {
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 0.0, {.parameter = "P1"}));
    Push(attribute, {}, {"   "}, 0);
    EXPECT_EQ(attribute->GetBindingText(), "none");
    EXPECT_EQ(Record(attribute).counts.Items(), (std::vector<int>{1}));
}

TEST_F(KesMfgAttDoubleParamTest, VectorsOfOtherSizesAndNonFiniteRealsAreIgnored) {
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 0.0, {.parameter = "P1"}));
    Push(attribute, {1.0, 2.0}, {"X", "Y"}, 0);
    Push(attribute, {NAN}, {}, 0);
    Push(attribute, {INFINITY}, {}, 0);
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "3");
    EXPECT_EQ(Lines(attribute->GetParameterCombo()), (std::vector<std::string>{"none", "P1"}));
    EXPECT_EQ(attribute->GetBindingText(), "P1");
    // A finite caller's value that overflows in the shown unit is no value either.
    KesMfgAttDoubleParam* minutes = Shown(Make("M", 1.0, 0.0, 0.0, {.third = 1, .unitFlag = 1}));
    Push(minutes, {1e307}, {}, 0);
    EXPECT_EQ(minutes->GetEditorWidget()->GetText(), "60");
}

// ---------------------------------------------------------------------------------------------
// Edits, help and trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttDoubleParamTest, ATypedValueOutsideTheLimitsIsReplacedByTheNearerLimit) {
    KesMfgAttDoubleParam* attribute = Make("A", 3.0, 0.0, 10.0, {.parameter = "P1"});
    attribute->SetAttToBeDefined();
    attribute->Display();
    KesDlgEditor* editor = attribute->GetEditorWidget();
    std::vector<std::string> shown;
    for (const char* typed : {"50", "-3", "4.5"}) {
        ASSERT_TRUE(editor->UserType(typed));
        shown.push_back(editor->GetText().Str());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"10", "0", "4.5"}));
    EXPECT_EQ(attribute->GetBindingText(), "none");
    EXPECT_EQ(Modifications(), 3);
    Vectors out;
    out.Output(*attribute, 1);
    EXPECT_EQ(out.reals.Items(), (std::vector<double>{4.5}));
}

TEST_F(KesMfgAttDoubleParamTest, HelpGoesToTheValueWidgetOnly) {
    KesMfgAttDoubleParam* attribute = Make("A", 3.0, 0.0, 10.0);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    KesListValKesUnicodeString help;
    help.Append("help");
    attribute->SetHelp(help, help);
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetHelp(), "help");
    EXPECT_EQ(attribute->GetSpinnerWidget()->GetShortHelp(), "help");
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetHelp(), "");
    EXPECT_EQ(attribute->GetParameterCombo()->GetHelp(), "");
}

TEST_F(KesMfgAttDoubleParamTest, TraceLinesFollowTheSwitchAskedAtEveryCall) {
    KesMfgAttribute::_debug = 0; // keep the base's own trace out of the way
    KesStdoutCapture captured;
    SetDebug("Access", 1);
    KesMfgAttDoubleParam* attribute = Shown(Make("A", 3.0, 0.0, 0.0));
    attribute->GetResourceFilename(0);
    EXPECT_EQ(captured.Text(), ""); // construction, display and the resource file are silent

    Vectors out;
    out.Output(*attribute, 1);
    out.GetAttValue(*attribute);
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
