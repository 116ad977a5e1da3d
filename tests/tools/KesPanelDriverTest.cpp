// The session driver over a small panel built here, and the panel picture.
#include "tools/KesPanelDriver.h"
#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLogic.h"
#include "tools/KesPanelPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

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
        std::string shown; // a part of the transcript
        std::string error;
    };
    const std::string notified = "  <- KesMfgAttNotifyModif from ";
    const Case cases[] = {
        {"combo line by its value", "select Thread_Type NPT\nget Thread_Type\n",
         notified + "Thread_Type\n> get Thread_Type\nThread_Type | text | 1 | \"NPT\"\n", ""},
        {"combo line by its display text", "select Thread_Type British\nget Thread_Type\n",
         "Thread_Type | text | 1 | \"BSP\"\n", ""},
        {"integer choice by its value", "select Direction -1\nget Direction\n",
         notified + "Direction\n> get Direction\nDirection | integer | 1 | -1\n", ""},
        {"value of one line, text of another", "select Tricky B\n", "",
         "line 1: 'B' is ambiguous in Tricky: the value of the choice \"C\" and the display text "
         "of the choice 'A' (write #row)\n"},
        {"a line by the word both are of it", "select Tricky A\nget Tricky\n",
         "Tricky | text | 1 | \"A\"\n", ""},
        {"radio button by its title", "click Internal External\nget Internal\n",
         notified + "Internal\n> get Internal\nInternal | boolean | 1 | 0\n", ""},
        {"radio button by its value", "click Side L\nget Side\n", "Side | text | 1 | \"L\"\n", ""},
        {"radio title of one, value of another", "click Side R\n", "",
         "line 1: 'R' is ambiguous in Side: the value of the choice \"Left\" and the display "
         "text of the choice 'L'\n"},
        {"no such radio button", "click Internal Inside\n", "",
         "line 1: Internal has no radio button for 'Inside'\n"},
        {"typed into a spinner", "type Tool_Number \" 7 \"\nget Tool_Number\n",
         notified + "Tool_Number\n> get Tool_Number\nTool_Number | integer | 1 | 7\n", ""},
        {"typed: the keys a number takes", "type Tool_Number 8mm\nget Tool_Number\n",
         "Tool_Number | integer | 1 | 8\n", ""},
        {"typed: no number, nothing changes", "type Tool_Number 1e\nget Tool_Number\n",
         "> type Tool_Number 1e\n> get Tool_Number\nTool_Number | integer | 1 | 4\n", ""},
        {"keys at the end of a spinner's field, left", "keys Tool_Number 5\ntab\nget Tool_Number\n",
         "> tab\n  focus: Passes OptionCheck\n" + notified +
             "Tool_Number\n> get Tool_Number\nTool_Number | integer | 1 | 10\n",
         ""},
        {"greyed by an impact", "click Internal 0\nshow\n",
         "Thread_Type \"Thread type\" group 1 (insensitive)\n"
         "  label labelatt \"Thread type\" (insensitive)\n"
         "  combo comboatt field=\"Pipe taper\" row=1 lines=Pipe taper|Unified|British "
         "(insensitive)\n",
         ""},
        {"greyed by the caller", "sensitivity Direction 16\nshow\n",
         "Direction \"Direction\" group 1 (insensitive)\n  label labelatt \"Direction\" "
         "(insensitive)\n",
         ""},
        {"greyed by an unchecked option", "option Passes off\nshow\n",
         "  editor editoratt text=\"2\" (insensitive)\n", ""},
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

} // namespace
