// Undo, redo and values files over the pocketing panel (every attribute class), driven by the
// session driver as a person and a caller would.
#include "KesPocketingPanel.h"
#include "platform/KesMfgModel.h"
#include "robustness/KesScopedSettingsFolder.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"
#include "tools/KesValuesFile.h"

#include <gtest/gtest.h>

#include <sstream>

// Failures show the records, not the bytes.
void PrintTo(const KesAttributeState& state, std::ostream* out) {
    *out << state.records.FormatTable() << "option " << state.optionState;
}

namespace {

class KesPanelHistoryTest : public ::testing::Test {
protected:
    // Runs the lines; answers what the driver printed for them.
    std::string Run(const std::string& lines) {
        out.str(std::string());
        std::istringstream in(lines);
        EXPECT_EQ(driver.RunSession(in, false), 0) << err.str();
        return out.str();
    }
    // Whether running the lines printed the text.
    bool Prints(const std::string& lines, const std::string& text) {
        return Run(lines).find(text) != std::string::npos;
    }
    void SetUp() override { driver.SetModelPrinter(&KesPocketingPanel::PrintModel); }
    std::vector<KesAttributeState> State() {
        std::vector<KesAttributeState> state;
        for (KesMfgAttribute* attribute : driver.Attributes()) {
            state.push_back(KesAttributeState::Read(*attribute));
        }
        return state;
    }

    KesScopedSettingsFolder settings;
    KesDlgTestFrame frame{"Pocketing"};
    KesPocketingPanel panel{frame};
    std::ostringstream out;
    std::ostringstream err;
    KesPanelDriver driver{frame, out, err};
};

// One gesture per attribute class (and the option), taken back whole and applied again: every
// attribute's records and option state as before, then as after; the driver's own checks hold.
TEST_F(KesPanelHistoryTest, EachClassUndoesAndRedoesOneGesture) {
    const struct {
        const char* gesture;
        const char* label;
    } rows[] = {
        {"spin Stepover 30", "Stepover (%)"},                // real
        {"select Strategy Spiral", "Strategy"},              // text choice, radios
        {"select Direction Conventional", "Cut direction"},  // integer choice, steers
        {"spin Tool_Number 12", "Tool number"},              // integer
        {"bind Feed_Rate FEED_ROUGH", "Feed rate (mm/min)"}, // parameterised real
        {"option Coolant_Pressure off", "Coolant pressure (bar)"},
        {"click Coolant", "Coolant"},                                // boolean
        {"spin Pass_Depths[2] 4.5", "Pass depths (mm)"},             // list of reals
        {"add Pass_Counts", "Passes per level"},                     // list of integers
        {"type Pass_Names[1] roughing", "Pass names"},               // list of texts
        {"click Pass_Switches[2]", "Passes on"},                     // list of booleans
        {"select Allowed_Cycles \"Dwell, Bore\"", "Allowed cycles"}, // multiple selection
        {"type Comment Second pocket", "Comment"},                   // text
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.gesture);
        const std::vector<KesAttributeState> before = State();
        Run(std::string(row.gesture) + "\n");
        const std::vector<KesAttributeState> after = State();
        ASSERT_NE(before, after);
        EXPECT_EQ(driver.History().UndoLabel(), row.label);
        EXPECT_TRUE(Prints("undo\n", std::string("  undone: ") + row.label + "\n"));
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(Prints("redo\n", std::string("  redone: ") + row.label + "\n"));
        EXPECT_EQ(State(), after);
        EXPECT_EQ(driver.Check().Text(), "");
    }
    EXPECT_EQ(driver.History().UndoCount(), std::size(rows));
}

TEST_F(KesPanelHistoryTest, AnImpactCascadeIsOneStepAndItsImpactsFollowTheUndo) {
    KesMfgAttribute* direction = driver.FindAttribute("Direction");
    Run("select Strategy Contour\n"); // turns Direction off, and Stepover with it
    EXPECT_FALSE(direction->IsSetSensitivity());
    EXPECT_EQ(Run("undo\n"), "> undo\n"
                             "  undone: Strategy\n"
                             "  <- KesMfgAttNotifyModif from Strategy\n");
    EXPECT_TRUE(direction->IsSetSensitivity());
    EXPECT_FALSE(driver.History().CanUndo());
    EXPECT_EQ(Run("undo\nredo\nredo\n"), "> undo\n"
                                         "  refused: nothing to undo\n"
                                         "> redo\n"
                                         "  redone: Strategy\n"
                                         "  <- KesMfgAttNotifyModif from Strategy\n"
                                         "> redo\n"
                                         "  refused: nothing to redo\n");
    EXPECT_FALSE(direction->IsSetSensitivity());
}

// Undoing a bind unbinds; a parameter the step created stays in the model.
TEST_F(KesPanelHistoryTest, ABoundRealsBindingIsPartOfItsValue) {
    Run("create Feed_Rate FEED_NEW\n");
    EXPECT_TRUE(Prints("get Feed_Rate\n", "Feed_Rate | real | -1 | \"FEED_NEW"));
    EXPECT_TRUE(Prints("undo\nget Feed_Rate\n", "Feed_Rate | real | 1 | 800\n"));
    EXPECT_TRUE(Prints("model\n", "FEED_NEW"));
    EXPECT_TRUE(Prints("redo\nget Feed_Rate\n", "| -1 | \"FEED_NEW"));
    EXPECT_EQ(driver.Check().Text(), "");
}

// A caller's change of values ends the history; reads and a caller's change of nothing do not.
TEST_F(KesPanelHistoryTest, ACallerCommandThatChangesValuesEndsTheHistory) {
    const struct {
        const char* command;
        bool ends;
    } rows[] = {
        {"get Depth", false},
        {"values", false},
        {"put Depth 1", false},
        {"set Depth null [5] null 1", false}, // the value it has already
        {"helps Depth [\"h\"] [\"s\"]", false},
        {"set Depth null [7] null 1", true},
        {"optional Coolant_Pressure 0 1", true},
        {"on-notify Tool_Number set Depth null [9] null 0", false}, // armed, not run yet
    };
    int tool = 10;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        Run("spin Tool_Number " + std::to_string(++tool) + "\n");
        Run(std::string(row.command) + "\n");
        EXPECT_EQ(driver.History().CanUndo(), !row.ends);
    }
    // A caller's change run from inside a gesture's notification makes it a caller's.
    Run("spin Tool_Number 2\n");
    EXPECT_FALSE(driver.History().CanUndo());
}

// Written from a panel where every class was edited, read into a fresh panel: the same records.
TEST_F(KesPanelHistoryTest, ValuesFilesRoundTripEveryClass) {
    Run("spin Stepover 30\nselect Strategy Spiral\nselect Direction Conventional\n"
        "spin Tool_Number 12\nbind Feed_Rate FEED_ROUGH\nclick Coolant\nspin Pass_Depths[2] 4.5\n"
        "add Pass_Counts\ntype Pass_Names[1] roughing\nclick Pass_Switches[2]\n"
        "select Allowed_Cycles \"Dwell, Bore\"\ntype Comment Second pocket\n"
        "press Approach_Retract\ntype Stock_Allowance 0.25\noption Coolant_Pressure off\n");
    const std::string file = KesValuesFile::Write(driver.Attributes(), "Pocketing");
    KesDlgTestFrame freshFrame("Pocketing");
    KesPocketingPanel fresh(freshFrame);
    std::ostringstream freshOut;
    KesPanelDriver freshDriver(freshFrame, freshOut, freshOut);
    const KesValuesFile::Result read =
        KesValuesFile::Parse(file, "v.json", freshDriver.Attributes());
    EXPECT_TRUE(read.IsValuesFile()) << read.error;
    EXPECT_EQ(read.report, std::vector<std::string>());
    std::vector<KesAttributeState> readInto;
    for (KesMfgAttribute* attribute : freshDriver.Attributes()) {
        readInto.push_back(KesAttributeState::Read(*attribute));
    }
    EXPECT_EQ(readInto, State());
    EXPECT_EQ(KesValuesFile::Write(freshDriver.Attributes(), "Pocketing"), file);
}

// Undo and redo over a thread-milling panel with an editable combo whose display texts differ
// from its values (Coolant), one whose display texts are its values (Thread_Form), bound and
// plain parameterised reals: each row is a session and what it must print, in order.
TEST(KesPanelHistoryFaultsTest, UndoAndRedoAreExactOrRefuse) {
    const struct {
        const char* session;
        std::vector<std::string> printed; // each found after the previous one
    } rows[] = {
        // The file's value is reported as the value, not as its display text, and unchanged.
        {"get Coolant\noutput 1\n",
         {"Coolant | text | 1 | \"FLOOD\"", "> output 1\n  (no record)"}},
        // A typed text is undone with a notification, and the value is back.
        {"type Coolant \"MQL\"\nundo\nget Coolant\n",
         {"undone: Coolant\n  <- KesMfgAttNotifyModif from Coolant",
          "Coolant | text | 1 | \"FLOOD\""}},
        // A typed text that is no allowed value is applied again by typing it.
        {"type Thread_Form \"BSP\"\nundo\nredo\nget Thread_Form\n",
         {"redone: Thread form\n  <- KesMfgAttNotifyModif from Thread_Form",
          "Thread_Form | text | 1 | \"BSP\""}},
        // A nudge unbinds; undo binds again, with the notification a person's binding gives.
        {"nudge Feed_Rate 3\nundo\nget Feed_Rate\n",
         {"undone: Feed rate (mm/min)\n  <- KesMfgAttNotifyModif from Feed_Rate",
          "Feed_Rate | real | -1 | \"FEED_THREAD "}},
        // A value still to be given cannot be taken away: the gesture ends the history.
        {"type Pitch 2\nundo\n",
         {"refused: cannot undo Pitch (mm): Pitch (mm) had no value before it"}},
        {"undo\n", {"refused: nothing to undo"}},
        // A text comes back as the field showed it (a caller's would show its padding), with
        // one notification, as the person's typing gives.
        {"type Comment \"  M12  \"\nundo\nredo\nget Comment\n",
         {"redone: Comment\n  <- KesMfgAttNotifyModif from Comment\n> get",
          "Comment | text | 1 | \"M12 "}},
        // A real typed with more digits than a caller's value shows comes back as typed.
        {"type Plunge_Rate 130.123457\nundo\nredo\nget Plunge_Rate\n",
         {"redone: Plunge rate (mm/min)", "Plunge_Rate | real | 1 | 130.12345"}},
        // A sensitivity a caller set against its steering attribute comes back after the
        // steering attribute's impacts.
        {"select Coolant \"Air blast\"\nsensitivity Coolant_Pressure 8\nselect Coolant Mist\n"
         "undo\nshow\n",
         {"undone: Coolant", "spinner spinneratt value=20 range=5..80 step=0.5\n"}},
        // A caller's change of the edit mode ends the history.
        {"spin Coolant_Pressure 30\neditmode Coolant_Pressure 2\nundo\n",
         {"refused: nothing to undo"}},
        // A list brought back to two values offers Remove again.
        {"remove Pass_Depths\nremove Pass_Depths\nundo\nshow\n",
         {"undone: Pass depths (mm)", "item Remove\n"}},
        // A binding to a parameter created by the name "none" is undone by typing "none".
        {"create Feed_Rate \"none\"\nundo\nget Feed_Rate\n",
         {"undone: Feed rate (mm/min)", "Feed_Rate | real | -1 | \"FEED_THREAD"}},
        // A name a caller bound shows padded; typing the same name binds it with no change of
        // record but strips the field, which nothing pads again: the gesture is refused.
        {"set Feed_Rate null [3.7] [\"00012\"] 0\ncreate Feed_Rate \"00012   \"\nundo\n",
         {"refused: cannot undo Feed rate (mm/min): Feed rate (mm/min) showed its parameter's "
          "name with blanks around it before it"}},
        // The same by blanks typed into the parameter combo and handed over when the focus
        // leaves for another attribute: the binding stays, the field shows the name stripped.
        {"set Feed_Rate [] [] [\"FEED_ROUGH%\"] 1\nkeys Feed_Rate \"   \"\n"
         "spin Coolant_Pressure 30\nundo\n",
         {"refused: cannot undo Feed rate (mm/min): Feed rate (mm/min) showed its parameter's "
          "name with blanks around it before it"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.session);
        KesMfgModel::Clear();
        KesPanelDescription description;
        ASSERT_EQ(KesPanelFile::Read(KES_SOURCE_DIR "/tests/tools/panels/thread-milling.json",
                                     description),
                  "");
        KesDlgTestFrame frame;
        KesPanelBuilder builder;
        ASSERT_EQ(builder.Build(description, frame), "");
        std::ostringstream out;
        KesPanelDriver driver(frame, out, out);
        std::istringstream in(row.session);
        EXPECT_EQ(driver.RunSession(in, false), 0) << out.str();
        const std::string printed = out.str();
        size_t at = 0;
        for (const std::string& expected : row.printed) {
            at = printed.find(expected, at);
            ASSERT_NE(at, std::string::npos) << expected << "\n" << printed;
        }
        EXPECT_EQ(driver.Check().Text(), "");
        EXPECT_FALSE(driver.History().CanUndo() && row.printed.back().find("refused") == 0);
    }
}

// A value and a binding pushed together with notification, whose notification's receiver
// deletes the attribute: the binding is not made on what is gone.
TEST_F(KesPanelHistoryTest, APushWhoseNotificationDeletesTheAttributeStopsThere) {
    EXPECT_TRUE(
        Prints("on-notify Feed_Rate delete Feed_Rate\nset Feed_Rate null [500] [\"FEED_X\"] 1\n",
               "<- KesMfgAttNotifyModif from Feed_Rate"));
    EXPECT_EQ(driver.FindAttribute("Feed_Rate"), nullptr);
    EXPECT_EQ(driver.Check().Text(), "");
}

// A link that relayed no values before its press cannot be given none again.
TEST_F(KesPanelHistoryTest, ALinksFirstPressIsRefusedToUndo) {
    EXPECT_TRUE(Prints("press Approach_Retract\nundo\n",
                       "  refused: cannot undo Approach and retract: Approach and retract relayed "
                       "no values before it"));
    EXPECT_FALSE(driver.History().CanUndo());
}

} // namespace
