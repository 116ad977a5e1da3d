// The attribute base: identity, options, edit mode, context access, the to-be-defined state and
// the trace lines, driven through a concrete attribute as a caller and a user would.
#include "framework/KesMfgAttribute.h"
#include "platform/KesDebug.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"
#include "single/KesMfgAttInt.h"
#include "support/KesValueVectors.h"

#include "support/KesTraceSwitches.h"

#include <gtest/gtest.h>

namespace {

// An attribute whose last child is a scroll bar that must stay usable.
class ScrolledAttribute : public KesMfgAttribute {
public:
    ScrolledAttribute(KesDlgFrame* parent) : KesMfgAttribute("Scrolled", "Scrolled", parent, 1) {
        trailingScrollBar_ = 1;
    }
    void Display() override {
        if (!StartDisplay(&ScrolledAttribute::AttributeModified)) {
            return;
        }
        field = new KesDlgEditor(this, "editoratt");
        bar = new KesDlgScrollBar(this, "Scrol", 0x80000);
        FinishDisplay();
    }
    void AttributeModified(KesCommand*, KesNotification*, void**) { SendModification(); }
    void Output(int, KesListValKesUnicodeString*, KesRawCollint*, KesRawCollint*, KesRawCollint*,
                KesRawColldouble*, KesListValKesUnicodeString*) override {}
    void GetAttValue(int*, KesListValKesUnicodeString*, KesRawCollint*, KesRawCollint*,
                     KesRawCollint*, KesRawColldouble*, KesListValKesUnicodeString*) override {}
    void SetAttValue(KesRawCollint*, KesRawColldouble*, KesListValKesUnicodeString*, int) override {
    }

    KesDlgEditor* field = nullptr;
    KesDlgScrollBar* bar = nullptr;
};

class KesMfgAttributeTest : public KesTraceSwitchesTest {
protected:
    // An integer attribute with limits (a spinner), optional when asked.
    KesMfgAttInt* MakeInt(int optionMode = 0, int initialState = 1) {
        auto* attribute = new KesMfgAttInt("Tool", "Tool number", 4, 1, 10, 0, &frame, 1);
        if (optionMode != 0) {
            attribute->SetOptionMode(optionMode, initialState);
        }
        attribute->Display();
        return attribute;
    }
    static bool AllInsensitiveButLabel(const KesMfgAttribute& attribute, int skipLast = 0) {
        for (int i = 0; i < attribute.GetChildCount() - skipLast; ++i) {
            const KesDialog* child = attribute.GetChildFromChildNumber(i);
            const bool label = child == attribute.GetLabelWidget();
            if (child->IsSetSensitivity() != label) {
                return false;
            }
        }
        return true;
    }

    KesDlgTestFrame frame;
};

// ---------------------------------------------------------------------------------------------
// Identity
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, NameIsKeptWholeWhileTheFrameIdentifierIsStripped) {
    auto* attribute = new KesMfgAttInt("Nb_of passes", "Passes", 3, 0, 0, 0, &frame, 2);
    attribute->Display();
    EXPECT_EQ(attribute->GetName(), "Nbofpasses");
    EXPECT_EQ(attribute->GetAttributeName(), "Nb_of passes");
    KesValueVectors values;
    EXPECT_EQ(values.GetAttValue(*attribute), 2);
    EXPECT_EQ(values.names[1], "Nb_of passes");
    EXPECT_EQ(attribute->GetParent(), &frame);
    EXPECT_EQ(attribute->GetStyle(), 0x80000u);
    EXPECT_EQ(attribute->GetDefaultOrientation(), 1);
}

TEST_F(KesMfgAttributeTest, MultiByteAndInvalidNamesGiveStableIdentifiers) {
    auto* attribute =
        new KesMfgAttInt("Vitesse_\xC3\xA9 broche\xFF", "\xE9tiquette", 1, 0, 0, 0, &frame, 1);
    attribute->Display();
    EXPECT_EQ(attribute->GetName(), "Vitesse\xC3\xA9"
                                    "broche\xEF\xBF\xBD");
    EXPECT_EQ(attribute->GetLabelWidget()->GetTitle().GetLengthInChar(), 9);
}

TEST_F(KesMfgAttributeTest, DisplayBuildsTheWidgetsOnce) {
    auto* attribute = MakeInt(1);
    const int children = attribute->GetChildCount();
    attribute->Display();
    EXPECT_EQ(attribute->GetChildCount(), children);
    EXPECT_EQ(attribute->GetChildFromChildNumber(0), attribute->GetOptionCheckButton());
    EXPECT_EQ(attribute->GetChildFromChildNumber(0)->GetName(), "OptionCheck");
    EXPECT_EQ(attribute->GetChildFromChildNumber(1)->GetName(), "labelatt");
}

// ---------------------------------------------------------------------------------------------
// Option mode
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, InitialStatesOutsideZeroAndOneAreTakenAsOne) {
    for (int state : {5, -2}) {
        KesMfgAttInt attribute("A", "A", 1, 0, 0, 0, nullptr, 1);
        attribute.SetOptionMode(1, state);
        EXPECT_EQ(attribute.GetOptionState(), 1);
        EXPECT_EQ(attribute.GetInitialOptionState(), 1);
    }
}

TEST_F(KesMfgAttributeTest, OptionModeZeroWithInitialStateZeroReportsOnEveryOutput) {
    auto* attribute = new KesMfgAttInt("A", "A", 1, 0, 0, 0, &frame, 1);
    attribute->SetOptionMode(0, 0);
    attribute->Display();
    EXPECT_EQ(attribute->GetOptionState(), 1);
    KesValueVectors values;
    values.Output(*attribute, 1).Output(*attribute, 1);
    EXPECT_EQ(values.names.Size(), 2);
    EXPECT_EQ(values.counts, (KesRawCollint{1, 1}));
}

TEST_F(KesMfgAttributeTest, UncheckingTurnsTheValueWidgetsOffAndReportsCountZero) {
    auto* attribute = MakeInt(1);
    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_EQ(attribute->GetOptionState(), 0);
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_TRUE(attribute->GetLabelWidget()->IsSetSensitivity());
    EXPECT_TRUE(attribute->GetOptionCheckButton()->IsSetSensitivity());
    EXPECT_FALSE(attribute->GetSpinnerWidget()->UserSetValue(5.0));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif", attribute), 1);

    KesValueVectors values;
    values.Output(*attribute, 1);
    EXPECT_EQ(values.names, (KesListValKesUnicodeString{"Tool"}));
    EXPECT_EQ(values.typeCodes, (KesRawCollint{1}));
    EXPECT_EQ(values.counts, (KesRawCollint{0}));
    EXPECT_EQ(values.ints.Size(), 0);

    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick()); // checked again: no change
    values.Clear();
    values.Output(*attribute, 1);
    EXPECT_TRUE(values.IsEmpty());
}

TEST_F(KesMfgAttributeTest, InitiallyUncheckedOptionalStartsWithItsValueWidgetsOff) {
    auto* attribute = MakeInt(1, 0);
    EXPECT_EQ(attribute->GetOptionCheckButton()->GetState(), kes::kOff);
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif"), 0); // building sends nothing
}

TEST_F(KesMfgAttributeTest, SetOptionalCheckWithoutNotifyIsSilent) {
    auto* attribute = MakeInt(1);
    attribute->SetOptionalCheck(0, 0);
    EXPECT_EQ(attribute->GetOptionState(), 0);
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_EQ(frame.GetReceived().size(), 0u);
    attribute->SetOptionalCheck(0, 1); // already unchecked: nothing
    EXPECT_EQ(frame.GetReceived().size(), 0u);
}

TEST_F(KesMfgAttributeTest, SetOptionalCheckWithNotifyReachesTheParentOnce) {
    auto* attribute = MakeInt(1);
    attribute->SetOptionalCheck(0, 1);
    EXPECT_EQ(attribute->GetOptionState(), 0);
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif", attribute), 1);
    EXPECT_EQ(frame.GetReceived().size(), 1u);
}

TEST_F(KesMfgAttributeTest, SetOptionalCheckIsIgnoredWithoutOptionModeOrBeforeDisplay) {
    KesMfgAttInt notDisplayed("A", "A", 1, 0, 0, 0, nullptr, 1);
    notDisplayed.SetOptionMode(1, 1);
    notDisplayed.SetOptionalCheck(0, 1);
    EXPECT_EQ(notDisplayed.GetOptionState(), 1);
    auto* plain = MakeInt(0);
    plain->SetOptionalCheck(0, 0);
    EXPECT_EQ(plain->GetOptionState(), 1);
}

// ---------------------------------------------------------------------------------------------
// Edit mode and sensitivity
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, ReadOnlyLeavesOnlyTheLabelSensitiveForGood) {
    auto* attribute = MakeInt(1);
    attribute->SetEditMode(0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    attribute->SetEditMode(1); // records the mode only
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    attribute->SetOptionalCheck(0, 0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    EXPECT_EQ(attribute->GetOptionState(), 0);
}

TEST_F(KesMfgAttributeTest, ReadOnlyAttributeStaysReadOnlyThroughOptionChanges) {
    auto* attribute = MakeInt(1);
    attribute->SetEditMode(0);
    attribute->SetEditMode(0);
    attribute->SetOptionalCheck(0, 0); // from the program, still applied
    attribute->SetOptionalCheck(1, 0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    EXPECT_EQ(attribute->GetOptionState(), 1);
}

TEST_F(KesMfgAttributeTest, SensitivityIsIgnoredWhileReadOnly) {
    auto* attribute = MakeInt();
    attribute->SetEditMode(0);
    attribute->SetSensitivity(kes::kInsensitive);
    EXPECT_TRUE(attribute->IsSetSensitivity());
    auto* other = MakeInt();
    other->SetSensitivity(kes::kInsensitive);
    EXPECT_FALSE(other->IsSetSensitivity());
    EXPECT_FALSE(other->GetSpinnerWidget()->UserSetValue(3.0));
}

TEST_F(KesMfgAttributeTest, TrailingScrollBarKeepsItsSensitivity) {
    auto* attribute = new ScrolledAttribute(&frame);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    attribute->SetOptionalCheck(0, 0);
    EXPECT_FALSE(attribute->field->IsSetSensitivity());
    EXPECT_TRUE(attribute->bar->IsSetSensitivity());
    attribute->SetEditMode(0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute, 1));
    EXPECT_TRUE(attribute->bar->IsSetSensitivity());
}

// ---------------------------------------------------------------------------------------------
// Context access
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, ContextAccessKeepsAnUncheckedOptionalOff) {
    auto* attribute = MakeInt(1, 0);
    attribute->SetContextAccess(0);
    EXPECT_FALSE(attribute->IsSetSensitivity());
    attribute->SetContextAccess(1);
    EXPECT_TRUE(attribute->IsSetSensitivity());
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_EQ(attribute->GetContextAccess(), 1);
    attribute->SetContextAccess(7);
    EXPECT_EQ(attribute->GetContextAccess(), 7);
    EXPECT_TRUE(attribute->IsSetSensitivity());
}

TEST_F(KesMfgAttributeTest, ContextAccessOnlyStoresWhileReadOnly) {
    auto* attribute = MakeInt();
    attribute->SetEditMode(0);
    attribute->SetContextAccess(0);
    EXPECT_EQ(attribute->GetContextAccess(), 0);
    EXPECT_TRUE(attribute->IsSetSensitivity());
}

// ---------------------------------------------------------------------------------------------
// To be defined
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, ToBeDefinedReportsNothingUntilEditedThenAlways) {
    auto* attribute = new KesMfgAttInt("Depth", "Depth", 4, 0, 0, 0, &frame, 3);
    attribute->SetAttToBeDefined();
    attribute->Display();
    EXPECT_EQ(attribute->GetEditorWidget()->GetText(), "");
    KesValueVectors values;
    values.Output(*attribute, 3);
    EXPECT_EQ(values.GetAttValue(*attribute), 3);
    EXPECT_TRUE(values.IsEmpty());

    EXPECT_TRUE(attribute->GetEditorWidget()->UserType("4")); // the constructor's value
    values.Output(*attribute, 3).Output(*attribute, 3);
    EXPECT_EQ(values.counts, (KesRawCollint{1, 1}));
    EXPECT_EQ(values.ints, (KesRawCollint{4, 4}));
    EXPECT_EQ(attribute->IsForcedOutput(), 1);
}

TEST_F(KesMfgAttributeTest, OutputForAnotherGroupAppendsNothing) {
    auto* attribute = MakeInt();
    attribute->GetSpinnerWidget()->UserSetValue(8.0);
    KesValueVectors values;
    values.Output(*attribute, 2);
    EXPECT_TRUE(values.IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, TraceLinesOfTheBaseOperations) {
    SetDebug("Access", 1);
    KesStdoutCapture capture;
    auto* attribute = new KesMfgAttInt("Nb_Passes", "Passes", 4, 1, 10, 0, &frame, 1);
    attribute->SetOptionMode(1, 1);
    attribute->Display();
    attribute->SetSensitivity(kes::kInsensitive);
    attribute->SetOptionalCheck(0, 0);
    attribute->SetEditMode(0);
    attribute->SetSensitivity(kes::kSensitive);
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{
                                   "YYYYYYYYYYYYYYYYYYYY SetOptionMode",
                                   "YYYYYYYYYYYYYYYYYYYY DisplayOptionalCheck",
                                   "YYYYYYYYYYYYYYYYYYYY OptionCheckModified",
                                   "OptionCheckModified check",
                                   "YYYYYYYYYYYYYYYYYYYY SetSensitivity",
                                   " JE SUIS BIEN PASSE par la Nb_Passes sensitivity 16",
                                   "YYYYYYYYYYYYYYYYYYYY OptionCheckModified",
                                   "OptionCheckModified uncheck",
                                   "YYYYYYYYYYYYYYYYYYYY SetEditMode",
                                   "YYYYYYYYYYYYYYYYYYYY SetSensitivity",
                               }));
}

TEST_F(KesMfgAttributeTest, TraceSwitchIsAskedOncePerProcessAndSilentWhenOff) {
    KesStdoutCapture capture;
    const long before = GetDebugCallCount();
    auto* attribute = MakeInt(1);
    attribute->SetEditMode(0);
    attribute->SetContextAccess(1);
    attribute->GetContextAccess();
    attribute->SetVisibleTextWidth(20);
    attribute->SetIconName("icon");
    attribute->GetAttributeName();
    EXPECT_EQ(GetDebugCallCount() - before, 1);
    EXPECT_EQ(capture.Text(), "");
}

} // namespace
