// The session driver over a small panel built here, and the panel picture.
#include "tools/KesPanelDriver.h"
#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLogic.h"
#include "tools/KesPanelHands.h"
#include "tools/KesPanelPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class KesPanelDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool = new KesMfgAttInt("Tool_Number", "Tool <number>", 4, 1, 10, 0, &frame, 1);
        passes = new KesMfgAttInt("Passes", "Passes", 2, 0, 0, 0, &frame, 2);
        passes->SetOptionMode(1, 1);
        tool->Display();
        passes->Display();
    }
    int RunScript(const std::string& script) {
        std::istringstream in(script);
        return driver.RunSession(in, false);
    }

    KesDlgTestFrame frame;
    KesMfgAttInt* tool = nullptr;
    KesMfgAttInt* passes = nullptr;
    std::ostringstream out;
    std::ostringstream err;
    KesPanelDriver driver{frame, out, err};
};

TEST_F(KesPanelDriverTest, TheTranscriptShowsTheWidgetsUserCommandsNotificationsAndRecords) {
    EXPECT_EQ(RunScript("# a comment\n"
                        "show\n"
                        "spin Tool_Number 7.9\n"
                        "option Passes off\n"
                        "values\n"),
              0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "> show\n"
                         "Tool_Number \"Tool <number>\" group 1\n"
                         "  label labelatt \"Tool <number>\"\n"
                         "  spinner spinneratt value=4 range=1..10 step=1\n"
                         "Passes \"Passes\" group 2\n"
                         "  check OptionCheck on\n"
                         "  label labelatt \"Passes\"\n"
                         "  editor editoratt text=\"2\"\n"
                         "> spin Tool_Number 7.9\n"
                         "  <- KesMfgAttNotifyModif from Tool_Number\n"
                         "> option Passes off\n"
                         "  <- KesMfgAttNotifyModif from Passes\n"
                         "> values\n"
                         "Tool_Number | integer | 1 | 7\n"
                         "Passes | integer | 0 |\n");
}

TEST_F(KesPanelDriverTest, AScriptStopsAtItsFirstErrorWithStatusTwo) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump Tool_Number", "unknown command 'jump' (try 'help')"},
        {"spin Nothing 3", "no attribute named 'Nothing' (the command 'show' lists them)"},
        // Names are exact: the toolkit's identifier (underscores stripped) names no attribute.
        {"spin ToolNumber 3", "no attribute 'ToolNumber' (did you mean 'Tool_Number'?)"},
        {"spin Tool_Number", "'spin' needs a value"},
        {"spin Tool_Number ten", "'ten' is not a number"},
        {"type Tool_Number[0] 3", "field number in 'Tool_Number[0]' must be a whole "
                                  "number from 1"},
        {"type Tool_Number[2 3", "malformed field in 'Tool_Number[2': write NAME[i]"},
        {"type Tool_Number[2] 3", "Tool_Number has no field 2 to type into"},
        {"option Tool_Number on", "Tool_Number is not optional"},
        {"option Passes maybe", "'option' takes on or off"},
        {"output first", "'output' needs a group number, not 'first'"},
        {"add Tool_Number", "Tool_Number has no menu item Add"},
        {"select Passes x", "Passes offers no choice 'x'"},
        {"type Passes \xFF", "line is not valid UTF-8"},
        // Caller commands.
        {"set Tool_Number [1 null null 0",
         "'set': INTS: a vector's items are separated by commas and end with ]"},
        {"set Tool_Number [2147483648] null null 0",
         "'set': INTS: '2147483648' is not a whole number of the int range"},
        {"set Tool_Number 7 null null 0", "'set': INTS: a vector begins with [ or is null"},
        {"set Tool_Number null [1e] null 0", "'set': REALS: '1e' is not a number"},
        {"set Tool_Number null null [\"a] 0", "'set': TEXTS: a text in a vector is not closed"},
        {"set Tool_Number null null null", "'set': NOTIFY is missing"},
        {"set Tool_Number null null null 0 1", "'set': unexpected '1'"},
        {"set Tool_Number [1*100001] null null 0",
         "'set': INTS: '*100001' must repeat 0 to 100000 times"},
        {"set Tool_Number [1*60000, 2*60000] null null 0",
         "'set': INTS: a vector holds at most 100000 items"},
        {"hand Tool_Number null null null null null null", "Tool_Number is not a link"},
        {"newlist Tool_Number [] 0", "Tool_Number is not a text choice list"},
        {"editmode Tool_Number", "'editmode': MODE is missing"},
        {"sensitivity Tool_Number -8", "'sensitivity': VALUE '-8' is not a whole number from 0"},
        {"impacts Tool_Number [\"Nothing\"] [] []", "'impacts': no attribute named 'Nothing'"},
        {"impacts Tool_Number null [] []", "'impacts': ATTRIBUTES cannot be null"},
        {"impacts Tool_Number [] [1, \"a\"] []",
         "'impacts': VALUES are all whole numbers or all texts"},
        {"get Tool_Number ++", "the vectors are given as six + or - (names, type codes, counts, "
                               "ints, reals, texts), not '++'"},
        {"put Tool_Number x", "'put' needs a group number of the int range"},
        {"on-notify Tool_Number", "'on-notify' needs a command"},
        {"nudge Tool_Number 1.5", "'nudge' needs a whole number of clicks, not '1.5'"},
        {"drag Tool_Number 1", "Tool_Number has no scroll bar"},
        {"callback Tool_Number AddValue", "Tool_Number has no callback 'AddValue'"},
        {"icons Tool_Number [] []", "'icons': ICON is missing"},
        {"keys Tool_Number[2] 3", "Tool_Number has no field 2 to type into"},
        {"focus Passes x", "'focus' takes an attribute name only"},
        {"tab now", "'tab' takes no argument"},
        {"delete Passes now", "'delete' takes an attribute name only"},
        {"rebuild", "this panel cannot be rebuilt"},
        {"type Passes " + std::string(1 << 20, '7'), "line of 1048588 bytes is longer than 4096"},
    };
    for (const auto& [line, message] : cases) {
        err.str("");
        EXPECT_EQ(RunScript(line + "\nspin Tool_Number 9\n"), 2) << line;
        EXPECT_EQ(err.str(), "line 1: " + message + "\n") << line;
        EXPECT_EQ(tool->GetAttValue(), 4) << line; // the script stopped before the second line
    }
    EXPECT_EQ(frame.GetReceived().size(), 0u);
}

// Caller commands with hostile arguments; a command armed with on-notify runs from inside the
// next notification of its attribute, once; a refused user action is shown and changes nothing.
TEST_F(KesPanelDriverTest, CallerCommandsReachTheInterfaceReactionsRunInsideANotification) {
    EXPECT_EQ(RunScript("set Tool_Number [7] [nan] [\"\\xFF\"*3] 1\n"
                        "on-notify Tool_Number set Passes [2147483647] null null 0\n"
                        "spin Tool_Number 5\n"
                        "spin Tool_Number 6\n"
                        "values\n"
                        "optional Passes 0 1\n"
                        "get Passes ++-+++\n"
                        "editmode Tool_Number 0\n"
                        "spin Tool_Number 9\n"
                        "check\n"),
              0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "> set Tool_Number [7] [nan] [\"\\xFF\"*3] 1\n"
                         "  <- KesMfgAttNotifyModif from Tool_Number\n"
                         "> on-notify Tool_Number set Passes [2147483647] null null 0\n"
                         "> spin Tool_Number 5\n"
                         "  <- KesMfgAttNotifyModif from Tool_Number\n"
                         "  on-notify from Tool_Number:\n"
                         "> set Passes [2147483647] null null 0\n"
                         "> spin Tool_Number 6\n" // armed once only
                         "  <- KesMfgAttNotifyModif from Tool_Number\n"
                         "> values\n"
                         "Tool_Number | integer | 1 | 6\n"
                         "Passes | integer | 1 | 2147483647\n"
                         "> optional Passes 0 1\n"
                         "  <- KesMfgAttNotifyModif from Passes\n"
                         "> get Passes ++-+++\n"
                         "  (no record)\n" // a null vector: nothing appended
                         "> editmode Tool_Number 0\n"
                         "> spin Tool_Number 9\n"
                         "  refused: Tool_Number is hidden or insensitive\n"
                         "> check\n"
                         "  every check holds\n");
}

// The driver takes the words the window takes: a choice by its value or its display text (a
// word that is the one of a choice and the other of another choice is refused), a radio button
// by value or title, text typed into a spinner's field as the window reads it; "show" marks
// what the window greys, whatever greyed it.
TEST_F(KesPanelDriverTest, TheDriverTakesWhatTheWindowTakes) {
    struct Case {
        const char* what;
        std::string script;
        std::string shown;      // a part of the transcript
        std::string error = {}; // none: the script runs
    };
    const std::string notified = "  <- KesMfgAttNotifyModif from ";
    const Case cases[] = {
        {"combo line by its value", "select Thread_Type NPT\nget Thread_Type\n",
         notified + "Thread_Type\n> get Thread_Type\nThread_Type | text | 1 | \"NPT\"\n"},
        {"combo line by its display text", "select Thread_Type British\nget Thread_Type\n",
         "Thread_Type | text | 1 | \"BSP\"\n"},
        {"integer choice by its value", "select Direction -1\nget Direction\n",
         notified + "Direction\n> get Direction\nDirection | integer | 1 | -1\n"},
        {"value of one line, text of another", "select Tricky B\n", "",
         "line 1: 'B' is ambiguous in Tricky: the value of the choice \"C\" and the display text "
         "of the choice 'A' (write #row)\n"},
        {"a line by the word both are of it", "select Tricky A\nget Tricky\n",
         "Tricky | text | 1 | \"A\"\n"},
        {"radio button by its title", "click Internal External\nget Internal\n",
         notified + "Internal\n> get Internal\nInternal | boolean | 1 | 0\n"},
        {"radio button by its value", "click Side L\nget Side\n", "Side | text | 1 | \"L\"\n"},
        {"radio title of one, value of another", "click Side R\n", "",
         "line 1: 'R' is ambiguous in Side: the value of the choice \"Left\" and the display "
         "text of the choice 'L'\n"},
        {"no such radio button", "click Internal Inside\n", "",
         "line 1: Internal has no radio button for 'Inside'\n"},
        {"typed into a spinner", "type Tool_Number \" 7 \"\nget Tool_Number\n",
         notified + "Tool_Number\n> get Tool_Number\nTool_Number | integer | 1 | 7\n"},
        {"typed: the keys a number takes", "type Tool_Number 8mm\nget Tool_Number\n",
         "Tool_Number | integer | 1 | 8\n"},
        {"typed: no number, nothing changes", "type Tool_Number 1e\nget Tool_Number\n",
         "> type Tool_Number 1e\n> get Tool_Number\nTool_Number | integer | 1 | 4\n"},
        {"keys at the end of a spinner's field, left", "keys Tool_Number 5\ntab\nget Tool_Number\n",
         "> tab\n  focus: Passes OptionCheck\n" + notified +
             "Tool_Number\n> get Tool_Number\nTool_Number | integer | 1 | 10\n"},
        {"greyed by an impact", "click Internal 0\nshow\n",
         "Thread_Type \"Thread type\" group 1 (insensitive)\n"
         "  label labelatt \"Thread type\" (insensitive)\n"
         "  combo comboatt field=\"Pipe taper\" row=1 lines=Pipe taper|Unified|British "
         "(insensitive)\n"},
        {"greyed by the caller", "sensitivity Direction 16\nshow\n",
         "Direction \"Direction\" group 1 (insensitive)\n  label labelatt \"Direction\" "
         "(insensitive)\n"},
        {"greyed by an unchecked option", "option Passes off\nshow\n",
         "  editor editoratt text=\"2\" (insensitive)\n"},
    };
    for (const Case& row : cases) {
        KesDlgTestFrame panel;
        auto* tool = new KesMfgAttInt("Tool_Number", "Tool", 4, 1, 10, 0, &panel, 1);
        auto* passes = new KesMfgAttInt("Passes", "Passes", 2, 0, 0, 0, &panel, 1);
        passes->SetOptionMode(1, 1);
        auto* thread =
            new KesMfgAttCharList("Thread_Type", "Thread type", "NPT", {"NPT", "UN", "BSP"},
                                  {"Pipe taper", "Unified", "British"}, "", &panel, 1, 0);
        auto* tricky = new KesMfgAttCharList("Tricky", "Tricky", "A", {"A", "B"}, {"B", "C"}, "",
                                             &panel, 1, 0);
        auto* side =
            new KesMfgAttCharList("Side", "Side", "R", {"L", "R"}, {"R", "Left"}, "", &panel, 1, 1);
        auto* direction = new KesMfgAttIntList("Direction", "Direction", 1, {1, -1},
                                               {"Climb", "Conventional"}, 0, &panel, 1, 0);
        KesListValKesUnicodeString titles;
        titles.Append("External");
        titles.Append("Internal");
        auto* internal = new KesMfgAttLogic("Internal", "Internal", 1, 0, &panel, 1, 1, &titles);
        for (KesMfgAttribute* attribute : std::initializer_list<KesMfgAttribute*>{
                 tool, passes, thread, tricky, side, direction, internal}) {
            attribute->Display();
        }
        KesListPtrKesMfgAttribute impacted;
        impacted.Append(thread);
        internal->AddImpactedAttributes(impacted, KesRawCollint(), {1, 0}, {1, 0});
        internal->ImpactAttributes();
        panel.Clear();
        std::ostringstream shown;
        std::ostringstream errors;
        KesPanelDriver choices(panel, shown, errors);
        std::istringstream script(row.script);
        EXPECT_EQ(choices.RunSession(script, false), row.error.empty() ? 0 : 2) << row.what;
        EXPECT_EQ(errors.str(), row.error) << row.what;
        EXPECT_NE(shown.str().find(row.shown), std::string::npos) << row.what << "\n"
                                                                  << shown.str();
        std::istringstream check("check\n");
        EXPECT_EQ(choices.RunSession(check, false), 0) << row.what << "\n" << errors.str();
    }
}

TEST_F(KesPanelDriverTest, AnInteractiveSessionGoesOnAfterErrors) {
    std::istringstream in("spin Nothing 3\nspin Tool_Number 6\nquit\nspin Tool_Number 8\n");
    EXPECT_EQ(driver.RunSession(in, true), 0);
    EXPECT_EQ(err.str(), "line 1: no attribute named 'Nothing' (the command 'show' lists them)\n");
    EXPECT_EQ(tool->GetAttValue(), 6); // the line after "quit" was not run
    EXPECT_NE(out.str().find("kes> "), std::string::npos);
}

// The svg command writes the picture: what is shown with its states, in creation order.
TEST_F(KesPanelDriverTest, SvgCommandDrawsWhatIsShownWithItsStates) {
    auto* hidden = new KesMfgAttInt("Hidden", "Never <drawn>", 2, 0, 0, 0, &frame, 1);
    hidden->Display();
    hidden->SetVisibility(kes::kHidden);
    const std::string file = ::testing::TempDir() + "kes_panel_driver.svg";
    EXPECT_EQ(RunScript("option Passes off\nsvg " + file + "\n"), 0);
    std::stringstream svg;
    svg << std::ifstream(file).rdbuf();
    std::remove(file.c_str());
    EXPECT_EQ(svg.str(), KesPanelPicture::Draw(frame));
    EXPECT_EQ(svg.str().rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    for (const char* shown : {">Tool &lt;number&gt;</text>", ">4</text>", "class=\"off\"",
                              "fill=\"#9a9a9a\">2</text>", "</svg>\n"}) {
        EXPECT_NE(svg.str().find(shown), std::string::npos) << shown;
    }
    EXPECT_EQ(svg.str().find("Never"), std::string::npos);
    EXPECT_LT(svg.str().find("Tool &lt;"), svg.str().find(">Passes<"));
    EXPECT_EQ(RunScript("svg /nonexistent-folder/x.svg\n"), 2);
    EXPECT_EQ(err.str(),
              "line 1: cannot write '/nonexistent-folder/x.svg': No such file or directory\n");
}

// Hands that note each gesture, then make it with the toolkit's own.
class NotingHands final : public KesPanelHands {
public:
    bool Type(KesDialog& field, const std::string& text) override {
        return Note("Type", toolkit_.Type(field, text));
    }
    bool Keys(KesDialog& field, const std::string& text) override {
        return Note("Keys", toolkit_.Keys(field, text));
    }
    void FinishTyping() override { toolkit_.FinishTyping(); }
    bool Focus(KesDialog& widget) override { return Note("Focus", toolkit_.Focus(widget)); }
    bool SetValue(KesDlgSpinner& spinner, double value) override {
        return Note("SetValue", toolkit_.SetValue(spinner, value));
    }
    bool Step(KesDlgSpinner& spinner, int clicks) override {
        return Note("Step", toolkit_.Step(spinner, clicks));
    }
    bool SelectRow(KesDlgCombo& combo, int row) override {
        return Note("SelectRow", toolkit_.SelectRow(combo, row));
    }
    bool Drop(KesDlgCombo& combo) override { return Note("Drop", toolkit_.Drop(combo)); }
    bool Click(KesDlgStateButton& button) override { return Note("Click", toolkit_.Click(button)); }
    bool Press(KesDlgPushButton& button) override { return Note("Press", toolkit_.Press(button)); }
    bool Scroll(KesDlgScrollBar& bar, int position) override {
        return Note("Scroll", toolkit_.Scroll(bar, position));
    }
    bool Drag(KesDlgScrollBar& bar, int position) override {
        return Note("Drag", toolkit_.Drag(bar, position));
    }
    bool SelectRows(KesDlgSelectorList& list, const std::vector<int>& rows) override {
        return Note("SelectRows", toolkit_.SelectRows(list, rows));
    }
    bool Activate(KesDlgPushItem& item) override {
        return Note("Activate", toolkit_.Activate(item));
    }
    bool Close(KesDlgDialog& dialog, bool ok) override {
        return Note("Close", toolkit_.Close(dialog, ok));
    }

    std::vector<std::string> gestures;

private:
    bool Note(const char* gesture, bool taken) {
        gestures.emplace_back(gesture);
        return taken;
    }
    KesPanelToolkitHands toolkit_;
};

// The hands a window gives make every gesture of the session; none given (null) brings back
// the toolkit's own.
TEST_F(KesPanelDriverTest, TheGesturesGoThroughTheHandsGiven) {
    NotingHands hands;
    driver.SetHands(&hands);
    struct Row {
        const char* line;
        std::vector<std::string> gestures;
    };
    const Row rows[] = {
        {"spin Tool_Number 7", {"SetValue"}},
        {"nudge Tool_Number 1", {"Step"}},
        {"type Passes 3", {"Type"}},
        {"option Passes off", {"Click"}},
    };
    for (const Row& row : rows) {
        hands.gestures.clear();
        EXPECT_EQ(RunScript(std::string(row.line) + "\n"), 0) << row.line << "\n" << err.str();
        EXPECT_EQ(hands.gestures, row.gestures) << row.line;
    }
    EXPECT_EQ(tool->GetAttValue(), 8);

    hands.gestures.clear();
    driver.SetHands(nullptr);
    EXPECT_EQ(RunScript("spin Tool_Number 5\n"), 0);
    EXPECT_TRUE(hands.gestures.empty());
    EXPECT_EQ(tool->GetAttValue(), 5);
}

// An attribute whose record, when a vector is null, lacks its entry in one of the vectors
// given: a part of a record, which the check after a read must catch.
class PartialRecords final : public KesMfgAttInt {
public:
    PartialRecords(KesDlgFrame* frame, int dropped)
        : KesMfgAttInt("Partial", "Partial", 1, 0, 0, 0, frame, 1), dropped_(dropped) {}
    void GetAttValue(int* group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                     KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                     KesListValKesUnicodeString* texts) override {
        if (group != nullptr) {
            *group = 1;
        }
        const bool anyNull = names == nullptr || typeCodes == nullptr || counts == nullptr ||
                             ints == nullptr || reals == nullptr || texts == nullptr;
        const auto append = [&](int vector, auto* into, auto value) {
            if (into != nullptr && !(anyNull && vector == dropped_)) {
                into->Append(value);
            }
        };
        append(0, names, KesUnicodeString("Partial"));
        append(1, typeCodes, 2);
        append(2, counts, 1);
        append(3, ints, 7);
        append(4, reals, 2.5);
        append(5, texts, KesUnicodeString("t"));
    }

private:
    int dropped_; // the vector (names, type codes, counts, ints, reals, texts) left out
};

TEST_F(KesPanelDriverTest, AReadWithNullVectorsMustAppendNothingOrTheWholeRecord) {
    const std::string partial = "a call with null vectors appended part of a record";
    struct Row {
        const char* what;
        int dropped; // -1: none
        const char* mask;
        bool caught;
    };
    const Row rows[] = {
        {"the whole record, texts null", -1, "+++++-", false},
        {"the whole record, every vector given", 0, "++++++", false},
        {"no name, texts null", 0, "+++++-", true},
        {"no type code, names null", 1, "-+++++", true},
        {"no count, names null", 2, "-+++++", true},
        {"no int, reals null", 3, "++++-+", true},
        {"no real, ints null", 4, "+++-++", true},
        {"no text, counts null", 5, "++-+++", true},
    };
    for (const Row& row : rows) {
        KesDlgTestFrame panel;
        auto* attribute = new PartialRecords(&panel, row.dropped);
        attribute->Display();
        std::ostringstream shown, errors;
        KesPanelDriver reader(panel, shown, errors);
        EXPECT_EQ(reader.Run("get Partial " + std::string(row.mask), 1),
                  KesPanelDriver::Status::Done)
            << row.what << ": " << errors.str();
        EXPECT_EQ(reader.Check().invariant == partial, row.caught) << row.what;
    }
}

} // namespace
