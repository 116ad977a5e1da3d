// The session driver over a small panel built here, and the panel picture.
#include "tools/KesPanelDriver.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttInt.h"
#include "tools/KesPanelPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

class KesPanelDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool = new KesMfgAttInt("Tool_Number", "Tool number", 4, 1, 10, 0, &frame, 1);
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

TEST_F(KesPanelDriverTest, CommandsReachTheWidgetsAndTheTranscriptShowsNotificationsAndRecords) {
    EXPECT_EQ(RunScript("# a comment\n"
                        "spin Tool_Number 7.9\n"
                        "type Passes \" 5 \"\n"
                        "output 1\n"
                        "option Passes off\n"
                        "values\n"),
              0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "> spin Tool_Number 7.9\n"
                         "  <- KesMfgAttNotifyModif from Tool_Number\n"
                         "> type Passes \" 5 \"\n"
                         "  <- KesMfgAttNotifyModif from Passes\n"
                         "> output 1\n"
                         "Tool_Number | integer | 1 | 7\n"
                         "> option Passes off\n"
                         "  <- KesMfgAttNotifyModif from Passes\n"
                         "> values\n"
                         "Tool_Number | integer | 1 | 7\n"
                         "Passes | integer | 0 |\n");
}

TEST_F(KesPanelDriverTest, RefusedActionsAreShownAndChangeNothing) {
    tool->SetEditMode(0);
    EXPECT_EQ(RunScript("spin Tool_Number 9\n"), 0);
    EXPECT_EQ(out.str(), "> spin Tool_Number 9\n"
                         "  refused: Tool_Number is hidden or insensitive\n");
    EXPECT_EQ(tool->GetAttValue(), 4);
}

TEST_F(KesPanelDriverTest, AScriptStopsAtItsFirstErrorWithStatusTwo) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump Tool_Number", "line 1: unknown command 'jump' (try 'help')\n"},
        {"spin Nothing 3",
         "line 1: no attribute named 'Nothing' (the command 'show' lists them)\n"},
        {"spin Tool_Number", "line 1: 'spin' needs a value\n"},
        {"spin Tool_Number ten", "line 1: 'ten' is not a number\n"},
        {"type Tool_Number[0] 3", "line 1: field number in 'Tool_Number[0]' must be a whole "
                                  "number from 1\n"},
        {"type Tool_Number[2 3", "line 1: malformed field in 'Tool_Number[2': write NAME[i]\n"},
        {"type Tool_Number[2] 3", "line 1: Tool_Number has no editor field 2\n"},
        {"option Tool_Number on", "line 1: Tool_Number is not optional\n"},
        {"option Passes maybe", "line 1: 'option' takes on or off\n"},
        {"output first", "line 1: 'output' needs a group number, not 'first'\n"},
        {"add Tool_Number", "line 1: Tool_Number has no menu item Add\n"},
        {"select Passes x", "line 1: Passes offers no choice 'x'\n"},
        {"type Passes \xFF", "line 1: line is not valid UTF-8\n"},
        {"type Passes " + std::string(1 << 20, '7'),
         "line 1: line of 1048588 bytes is longer than 4096\n"},
    };
    for (const auto& [line, message] : cases) {
        err.str("");
        out.str("");
        EXPECT_EQ(RunScript(line + "\nspin Tool_Number 9\n"), 2) << line;
        EXPECT_EQ(err.str(), message) << line;
        EXPECT_EQ(tool->GetAttValue(), 4) << line; // the script stopped before the second line
        EXPECT_EQ(passes->GetAttValue(), 2) << line;
    }
    EXPECT_EQ(frame.GetReceived().size(), 0u);
}

TEST_F(KesPanelDriverTest, AnInteractiveSessionGoesOnAfterErrors) {
    std::istringstream in("spin Nothing 3\nspin Tool_Number 6\nquit\nspin Tool_Number 8\n");
    EXPECT_EQ(driver.RunSession(in, true), 0);
    EXPECT_EQ(err.str(), "line 1: no attribute named 'Nothing' (the command 'show' lists them)\n");
    EXPECT_EQ(tool->GetAttValue(), 6); // the line after "quit" was not run
    EXPECT_NE(out.str().find("kes> "), std::string::npos);
}

TEST_F(KesPanelDriverTest, ShowDescribesEveryWidget) {
    EXPECT_EQ(RunScript("show\n"), 0);
    EXPECT_EQ(out.str(), "> show\n"
                         "Tool_Number \"Tool number\" group 1\n"
                         "  label labelatt \"Tool number\"\n"
                         "  spinner spinneratt value=4 range=1..10 step=1\n"
                         "Passes \"Passes\" group 2\n"
                         "  check OptionCheck on\n"
                         "  label labelatt \"Passes\"\n"
                         "  editor editoratt text=\"2\"\n");
}

TEST(KesPanelPictureTest, DrawsWhatIsShownWithItsStates) {
    KesDlgTestFrame frame;
    auto* tool = new KesMfgAttInt("Tool", "Tool <number>", 4, 1, 10, 0, &frame, 1);
    auto* passes = new KesMfgAttInt("Passes", "Passes", 2, 0, 0, 0, &frame, 1);
    auto* hidden = new KesMfgAttInt("Hidden", "Never drawn", 2, 0, 0, 0, &frame, 1);
    passes->SetOptionMode(1, 0);
    for (KesMfgAttribute* attribute : std::vector<KesMfgAttribute*>{tool, passes, hidden}) {
        attribute->Display();
    }
    hidden->SetVisibility(kes::kHidden);
    const std::string svg = KesPanelPicture::Draw(frame);
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_NE(svg.find(">Tool &lt;number&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find(">4</text>"), std::string::npos);                 // the spinner's value
    EXPECT_NE(svg.find("class=\"off\""), std::string::npos);             // the unchecked option
    EXPECT_NE(svg.find("fill=\"#9a9a9a\">2</text>"), std::string::npos); // greyed field
    EXPECT_EQ(svg.find("Never drawn"), std::string::npos);
    // Children in creation order: the tool's label above the passes' label.
    EXPECT_LT(svg.find("Tool &lt;"), svg.find(">Passes<"));
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST_F(KesPanelDriverTest, SvgCommandWritesThePicture) {
    const std::string file = ::testing::TempDir() + "kes_panel_driver.svg";
    EXPECT_EQ(RunScript("svg " + file + "\n"), 0);
    std::ifstream written(file);
    std::stringstream content;
    content << written.rdbuf();
    EXPECT_EQ(content.str(), KesPanelPicture::Draw(frame));
    std::remove(file.c_str());
    EXPECT_EQ(RunScript("svg /nonexistent-folder/x.svg\n"), 2);
    EXPECT_EQ(err.str(), "line 1: cannot write '/nonexistent-folder/x.svg'\n");
}

} // namespace
