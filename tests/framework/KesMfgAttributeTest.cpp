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
    attribute->Display(); // builds the widgets once
    EXPECT_EQ(attribute->GetChildCount(), 2);
    EXPECT_EQ(attribute->GetName(), "Nbofpasses");
    KesValueVectors values;
    EXPECT_EQ(values.GetAttValue(*attribute), 2);
    EXPECT_EQ(values.names[1], "Nb_of passes");
    auto* odd =
        new KesMfgAttInt("Vitesse_\xC3\xA9 broche\xFF", "\xE9tiquette", 1, 0, 0, 0, &frame, 1);
    odd->Display();
    EXPECT_EQ(odd->GetName(), "Vitesse\xC3\xA9"
                              "broche\xEF\xBF\xBD");
    EXPECT_EQ(odd->GetLabelWidget()->GetTitle().GetLengthInChar(), 9);
}

// ---------------------------------------------------------------------------------------------
// Option mode
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, InitialOptionStatesAndWhatOutputReports) {
    for (int state : {5, -2}) { // taken as 1
        KesMfgAttInt attribute("A", "A", 1, 0, 0, 0, nullptr, 1);
        attribute.SetOptionMode(1, state);
        EXPECT_EQ(attribute.GetInitialOptionState(), 1);
    }
    // Option mode 0 with initial state 0: checked, and reported on every Output.
    auto* always = new KesMfgAttInt("A", "A", 1, 0, 0, 0, &frame, 1);
    always->SetOptionMode(0, 0);
    always->Display();
    KesValueVectors values;
    values.Output(*always, 1).Output(*always, 1);
    EXPECT_EQ(values.counts, (KesRawCollint{1, 1}));
    // Initially unchecked: the value widgets start off, and building sends nothing.
    auto* unchecked = MakeInt(1, 0);
    EXPECT_EQ(unchecked->GetOptionCheckButton()->GetState(), kes::kOff);
    EXPECT_FALSE(unchecked->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_EQ(frame.GetReceived().size(), 0u);
}

TEST_F(KesMfgAttributeTest, UncheckingTurnsTheValueWidgetsOffAndReportsCountZero) {
    auto* attribute = MakeInt(1);
    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick());
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
    EXPECT_TRUE(attribute->GetOptionCheckButton()->IsSetSensitivity());
    EXPECT_FALSE(attribute->GetSpinnerWidget()->UserSetValue(5.0));
    EXPECT_EQ(frame.Count("KesMfgAttNotifyModif", attribute), 1);
    KesValueVectors values;
    values.Output(*attribute, 1);
    EXPECT_EQ(values.FormatTable(), "Tool | integer | 0 |\n");
    EXPECT_TRUE(attribute->GetOptionCheckButton()->UserClick()); // checked again: no change
    values.Clear();
    EXPECT_TRUE(values.Output(*attribute, 1).IsEmpty());
}

TEST_F(KesMfgAttributeTest, SetOptionalCheckNotifiesOnlyOnRequestAndOnlyOnAChange) {
    const struct {
        int optionMode, display, wanted, notify;
        int state;    // the option state afterwards
        size_t heard; // notifications received by the frame
    } cases[] = {
        {1, 1, 0, 0, 0, 0}, {1, 1, 0, 1, 0, 1}, {1, 1, 1, 1, 1, 0}, // already checked
        {1, 0, 0, 1, 1, 0},                                         // before Display
        {0, 1, 0, 1, 1, 0},                                         // no option mode
    };
    for (const auto& c : cases) {
        frame.Clear();
        auto* attribute = new KesMfgAttInt("Tool", "Tool", 4, 1, 10, 0, &frame, 1);
        attribute->SetOptionMode(c.optionMode, 1);
        if (c.display != 0) {
            attribute->Display();
        }
        attribute->SetOptionalCheck(c.wanted, c.notify);
        EXPECT_EQ(attribute->GetOptionState(), c.state) << c.optionMode << c.display << c.notify;
        EXPECT_EQ(frame.GetReceived().size(), c.heard) << c.optionMode << c.display << c.notify;
    }
}

// ---------------------------------------------------------------------------------------------
// Edit mode, sensitivity and context access
// ---------------------------------------------------------------------------------------------
TEST_F(KesMfgAttributeTest, ReadOnlyLeavesOnlyTheLabelSensitiveForGood) {
    auto* attribute = MakeInt(1);
    attribute->SetEditMode(0);
    attribute->SetEditMode(0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    attribute->SetOptionalCheck(0, 0); // from the program, still applied
    EXPECT_EQ(attribute->GetOptionState(), 0);
    attribute->SetOptionalCheck(1, 0);
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    EXPECT_EQ(attribute->GetOptionState(), 1);
    attribute->SetEditMode(1); // records the mode only
    EXPECT_TRUE(AllInsensitiveButLabel(*attribute));
    auto* plain = MakeInt();
    plain->SetEditMode(0);
    plain->SetSensitivity(kes::kInsensitive); // ignored while read-only
    plain->SetContextAccess(0);               // stored only
    EXPECT_TRUE(plain->IsSetSensitivity());
    EXPECT_EQ(plain->GetContextAccess(), 0);
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

TEST_F(KesMfgAttributeTest, ContextAccessKeepsAnUncheckedOptionalOff) {
    auto* attribute = MakeInt(1, 0);
    attribute->SetContextAccess(0);
    EXPECT_FALSE(attribute->IsSetSensitivity());
    attribute->SetContextAccess(1);
    EXPECT_TRUE(attribute->IsSetSensitivity());
    EXPECT_FALSE(attribute->GetSpinnerWidget()->IsSetSensitivity());
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
