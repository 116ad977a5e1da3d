// The headless toolkit's contract: the widget tree, notify flags, notification order and
// re-entrancy, clamping, and user actions refused on hidden or insensitive widgets.
#include "platform/KesDebug.h"
#include "platform/KesDlgCheckButton.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgContextualMenu.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgKindTraits.h"
#include "platform/KesDlgLabel.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgResource.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesDlgTestFrame.h"
#include "platform/KesStdoutCapture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

// A command that binds to widgets and records, in order, which widget called which method.
class Listener : public KesDlgFrame {
public:
    explicit Listener(KesDialog* parent) : KesDlgFrame(parent, "listener") {}

    void Listen(KesCommand* sender, KesNotification* kind) {
        AddAnalyseNotificationCB(sender, kind, &Listener::Heard, nullptr);
    }
    void Heard(KesCommand* sender, KesNotification* notification, void**) {
        heard.push_back({sender, notification->IsA()});
        if (onHeard) {
            onHeard(sender);
        }
    }

    struct Call {
        KesCommand* sender;
        std::string kind;
    };
    std::vector<Call> heard;
    std::function<void(KesCommand*)> onHeard;
};

class KesToolkitTest : public ::testing::Test {
protected:
    KesDlgTestFrame frame;
    Listener* listener = new Listener(&frame);
};

// ---------------------------------------------------------------------------------------------
// Widget tree
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, ChildrenAreNumberedFromZeroInCreationOrderAndRenumberedOnDelete) {
    auto* first = new KesDlgLabel(listener, "first");
    auto* second = new KesDlgEditor(listener, "second");
    auto* third = new KesDlgLabel(listener, "third");
    EXPECT_EQ(listener->GetChildCount(), 3);
    EXPECT_EQ(listener->GetChildFromChildNumber(0), first);
    EXPECT_EQ(listener->GetChildFromChildNumber(2), third);
    EXPECT_EQ(listener->GetChildFromChildNumber(3), nullptr);
    EXPECT_EQ(listener->GetChildFromChildNumber(-1), nullptr);
    delete second;
    EXPECT_EQ(listener->GetChildCount(), 2);
    EXPECT_EQ(listener->GetChildFromChildNumber(1), third);
    EXPECT_EQ(frame.FindDescendant("third"), third);
}

TEST_F(KesToolkitTest, DeletingASenderDropsItsBindings) {
    auto* editor = new KesDlgEditor(listener, "e");
    listener->Listen(editor, editor->GetEditModifyNotification());
    delete editor;
    // A new widget, possibly at the same address, is not heard through the old binding.
    auto* other = new KesDlgEditor(listener, "e2");
    other->UserType("1");
    EXPECT_TRUE(listener->heard.empty());
}

// Each party of a binding drops it when it goes, whatever the order: the bindings left still
// deliver, once each, and nothing reaches a party that is gone.
TEST(KesBindingLifetimeTest, TheBindingsLeftDeliverWhateverGoesFirst) {
    struct Row {
        const char* name;
        std::vector<int> deleted;       // editors deleted, in this order
        bool boundTwice;                // editor 0 is bound twice
        bool strangerGoesFirst;         // a command outside the editors' parents bound to all of
                                        // them is deleted before them
        std::vector<std::string> heard; // what the listener hears when each editor left types
    };
    const Row rows[] = {
        {"none deleted", {}, false, false, {"e0", "e1", "e2"}},
        {"first bound goes first", {0, 1}, false, false, {"e2"}},
        {"last bound goes first", {2, 1}, false, false, {"e0"}},
        {"the middle one goes", {1}, false, false, {"e0", "e2"}},
        {"a sender bound twice keeps both", {1}, true, false, {"e0", "e0", "e2"}},
        {"a sender bound twice goes", {0}, true, false, {"e1", "e2"}},
        {"a stranger target goes before its senders", {2}, false, true, {"e0", "e1"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        KesDlgTestFrame frame;
        auto* listener = new Listener(&frame);
        auto* stranger = new Listener(&frame);
        std::vector<KesDlgEditor*> editors;
        for (int i = 0; i < 3; ++i) {
            editors.push_back(new KesDlgEditor(listener, KesString("e" + std::to_string(i))));
            listener->Listen(editors.back(), editors.back()->GetEditModifyNotification());
            stranger->Listen(editors.back(), editors.back()->GetEditModifyNotification());
        }
        if (row.boundTwice) {
            listener->Listen(editors[0], editors[0]->GetEditModifyNotification());
        }
        if (row.strangerGoesFirst) {
            delete stranger;
            stranger = nullptr;
        }
        for (int i : row.deleted) {
            delete editors[static_cast<size_t>(i)];
            editors[static_cast<size_t>(i)] = nullptr;
        }
        for (KesDlgEditor* editor : editors) {
            if (editor != nullptr) {
                editor->UserType("1");
            }
        }
        std::vector<std::string> heard;
        for (const Listener::Call& call : listener->heard) {
            heard.push_back(static_cast<KesDialog*>(call.sender)->GetName().Str());
        }
        EXPECT_EQ(heard, row.heard);
        EXPECT_TRUE(stranger == nullptr || stranger->heard.empty()); // not on the way up
        delete listener; // the listener and its editors go before the stranger bound to them
    }
}

// ---------------------------------------------------------------------------------------------
// Notify flags
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, NotifyFlagOneRaisesAndZeroDoesNot) {
    auto* editor = new KesDlgEditor(listener, "e", KesDlgEditor::kIntegerStyle);
    auto* spinner = new KesDlgSpinner(listener, "s");
    auto* combo = new KesDlgCombo(listener, "c", 0x40000);
    auto* scroll = new KesDlgScrollBar(listener, "b");
    listener->Listen(editor, editor->GetEditModifyNotification());
    listener->Listen(spinner, spinner->GetSpinnerModifyNotification());
    listener->Listen(combo, combo->GetComboSelectNotification());
    listener->Listen(scroll, scroll->GetScrollBarModifyNotification());
    combo->SetLine("a", -1, 64);

    editor->SetValue(5, 0);
    spinner->SetValue(1.0, 0);
    combo->SetSelect(0, 0);
    scroll->SetScrollPos(0, 0);
    editor->SetText("7");
    EXPECT_TRUE(listener->heard.empty());

    editor->SetValue(5, 1);
    spinner->SetCurrentValue(2.0, 1);
    combo->SetSelect(0, 1); // raised again although the row was selected already
    scroll->SetScrollPos(0, 1);
    listener->Listen(scroll, scroll->GetScrollBarDragNotification());
    scroll->SetScrollRange(0, 10);
    scroll->UserDrag(3); // a drag raises its own notification
    std::vector<std::string> kinds;
    for (const auto& call : listener->heard) {
        kinds.push_back(call.kind);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{
                         "KesDlgEditModifyNotification", "KesDlgSpinnerModifyNotification",
                         "KesDlgComboSelectNotification", "KesDlgScrollBarModifyNotification",
                         "KesDlgScrollBarDragNotification"}));
}

TEST_F(KesToolkitTest, CheckButtonNotifiesOnlyWhenItsStateChanges) {
    auto* check = new KesDlgCheckButton(listener, "c");
    listener->Listen(check, check->GetChkBModifyNotification());
    check->SetState(kes::kOff, 1); // already off
    check->SetState(0x12345, 1);   // not a state
    EXPECT_TRUE(listener->heard.empty());
    check->SetState(kes::kOn, 1);
    check->SetState(kes::kOn, 1);
    EXPECT_EQ(listener->heard.size(), 1u);
    EXPECT_TRUE(check->UserClick());
    EXPECT_EQ(check->GetState(), kes::kOff);
    EXPECT_EQ(listener->heard.size(), 2u);
}

// ---------------------------------------------------------------------------------------------
// Radio buttons
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, RadioButtonsOfOneParentAreExclusive) {
    auto* a = new KesDlgRadioButton(listener, "a");
    auto* b = new KesDlgRadioButton(listener, "b");
    auto* elsewhere = new KesDlgRadioButton(&frame, "x");
    elsewhere->SetState(kes::kOn, 0);
    a->SetState(kes::kOn, 0);
    EXPECT_TRUE(b->UserClick());
    EXPECT_EQ(a->GetState(), kes::kOff);
    EXPECT_EQ(b->GetState(), kes::kOn);
    EXPECT_EQ(elsewhere->GetState(), kes::kOn); // another parent, another group
    listener->Listen(a, a->GetRadBModifyNotification());
    a->SetState(kes::kOn, 0); // a program switch follows the notify flag
    EXPECT_EQ(b->GetState(), kes::kOff);
    a->SetState(kes::kOff, 1); // switching off leaves none on
    EXPECT_EQ(listener->heard.size(), 1u);
    EXPECT_EQ(b->GetState(), kes::kOff);
}

TEST_F(KesToolkitTest, RadioSwitchedOffNotifiesFirstAfterEveryStateChanged) {
    auto* a = new KesDlgRadioButton(listener, "a");
    auto* b = new KesDlgRadioButton(listener, "b");
    auto* c = new KesDlgRadioButton(listener, "c");
    for (auto* button : {a, b, c}) {
        listener->Listen(button, button->GetRadBModifyNotification());
    }
    a->SetState(kes::kOn, 0);
    std::vector<unsigned long> statesOfCWhenAHeard;
    listener->onHeard = [&](KesCommand* sender) {
        if (sender == a) {
            statesOfCWhenAHeard.push_back(c->GetState());
        }
    };
    EXPECT_TRUE(c->UserClick());
    ASSERT_EQ(listener->heard.size(), 2u);
    EXPECT_EQ(listener->heard[0].sender, a);
    EXPECT_EQ(listener->heard[1].sender, c);
    EXPECT_EQ(statesOfCWhenAHeard, std::vector<unsigned long>{kes::kOn});

    listener->heard.clear();
    EXPECT_TRUE(c->UserClick()); // already on: nothing changes, nothing raised
    EXPECT_TRUE(listener->heard.empty());
}

// ---------------------------------------------------------------------------------------------
// Combo
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, ComboSelectsByTextAndAnswersNegativeWithoutMatch) {
    auto* combo = new KesDlgCombo(listener, "c", 0x40000);
    combo->SetLine("ROUGH", -1, 64);
    combo->SetLine("FINISH", -1, 64);
    EXPECT_EQ(combo->SetSelect(KesUnicodeString("FINISH"), 0), 1);
    EXPECT_EQ(combo->GetField(), "FINISH");
    EXPECT_LT(combo->SetSelect(KesUnicodeString("finish"), 0), 0);
    EXPECT_EQ(combo->GetSelect(), 1);
    EXPECT_EQ(combo->SetSelect(5, 0), -1);
    EXPECT_EQ(combo->SetSelect(2, 0), -1); // one past the last line
    combo->SetLine("FIRST", 0, 64);        // inserting above keeps the same line selected
    EXPECT_EQ(combo->GetSelect(), 2);
    combo->ClearLine();
    EXPECT_EQ(combo->GetSelect(), -1);
    EXPECT_EQ(combo->GetField(), "FINISH");
}

TEST_F(KesToolkitTest, OnlyAnEditableComboTakesTypedText) {
    auto* readOnly = new KesDlgCombo(listener, "r", 0x40000);
    auto* editable = new KesDlgCombo(listener, "e", 0x140000);
    listener->Listen(editable, editable->GetComboModifyNotification());
    listener->Listen(editable, editable->GetComboDropNotification());
    EXPECT_FALSE(readOnly->UserType("x"));
    EXPECT_TRUE(editable->UserType(" SEMI "));
    EXPECT_EQ(editable->GetField(), " SEMI ");
    EXPECT_TRUE(editable->UserDrop());
    ASSERT_EQ(listener->heard.size(), 2u);
    EXPECT_EQ(listener->heard[1].kind, "KesDlgComboDropNotification");
    EXPECT_FALSE(editable->UserSelect(0)); // no line
}

// ---------------------------------------------------------------------------------------------
// Spinner, scroll bar, editor limits
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, SpinnerKeepsItsValueInsideItsRange) {
    auto* spinner = new KesDlgSpinner(listener, "s", 0x60000);
    spinner->SetValue(50.0, 0);
    spinner->SetMinMaxStep(0.0, 10.0, 0.5);
    EXPECT_EQ(spinner->GetValue(), 10.0); // a new range clamps
    spinner->SetValue(-3.0, 0);
    EXPECT_EQ(spinner->GetValue(), 0.0);
    spinner->SetValue(std::nan(""), 0);
    EXPECT_EQ(spinner->GetValue(), 0.0);
    EXPECT_TRUE(spinner->UserSetValue(INFINITY));
    EXPECT_EQ(spinner->GetValue(), 10.0);
    EXPECT_FALSE(spinner->UserSetValue(std::nan("")));
    EXPECT_TRUE(spinner->UserStep(-3));
    EXPECT_EQ(spinner->GetValue(), 8.5);
    spinner->SetMinMaxStep(0.0, std::nan(""), 1.0); // refused
    spinner->SetRange(0.0, INFINITY, 10);           // refused
    EXPECT_EQ(spinner->GetMaximum(), 10.0);
    spinner->SetRange(static_cast<double>(INT_MIN), static_cast<double>(INT_MAX), INT_MAX);
    EXPECT_EQ(spinner->GetMinimum(), static_cast<double>(INT_MIN));
    EXPECT_GT(spinner->GetStep(), 0.0);
}

// Typed into the field and confirmed: only the keys a number is written with are taken, and what
// the field then holds, read as a number whatever the C library's locale, goes the way of the
// arrows; any other text changes nothing and notifies nothing. An insensitive spinner refuses.
TEST_F(KesToolkitTest, SpinnerTakesATypedNumberAsTheWindowReadsIt) {
    struct Row {
        const char* typed;
        double value; // after typing over 3 in 0..100
        int notified;
    };
    // clang-format off
    for (const Row& row : std::vector<Row>{
             {"12.5", 12.5, 1}, {"  7 ", 7.0, 1}, {"+4", 4.0, 1}, {"1e1", 10.0, 1}, {".5", 0.5, 1},
             {"-2", 0.0, 1},    // clamped, as the arrows are
             {"8mm", 8.0, 1},   // the letters are not taken: the field holds "8"
             {"0x10", 10.0, 1}, // "010"
             {"1,5", 15.0, 1},  // a comma is no key of a number
             {"1e", 3.0, 0}, {"--1", 3.0, 0}, {"1 5", 3.0, 0}, {"", 3.0, 0},
             {"inf", 3.0, 0},   // "" once the letters are dropped
             {"1e999", 3.0, 0}, // no finite number
         }) {
        // clang-format on
        auto* spinner = new KesDlgSpinner(listener, "s", 0x60000);
        spinner->SetMinMaxStep(0.0, 100.0, 1.0);
        spinner->SetValue(3.0, 0);
        listener->heard.clear();
        listener->Listen(spinner, spinner->GetSpinnerModifyNotification());
        EXPECT_TRUE(spinner->UserType(row.typed)) << row.typed;
        EXPECT_EQ(spinner->GetValue(), row.value) << row.typed;
        EXPECT_EQ(static_cast<int>(listener->heard.size()), row.notified) << row.typed;
        spinner->SetSensitivity(kes::kInsensitive);
        EXPECT_FALSE(spinner->UserType("50")) << row.typed;
        EXPECT_EQ(spinner->GetValue(), row.value) << row.typed;
        delete spinner;
    }
}

// A real shows as a machinist reads it; the value itself is kept whole.
TEST_F(KesToolkitTest, SpinnerShowsARealWithoutPaddingOrTrailingZeros) {
    struct Row {
        double value;
        const char* displayFormat;
        int precision;
        const char* shown;
    };
    // clang-format off
    for (const Row& row : std::vector<Row>{
             {50.0, "%12.7f", 10, "50"}, {2.5, "%12.7f", 10, "2.5"}, {0.125, "%12.7f", 0, "0.125"},
             {3000.0, "%12.7f", 15, "3000"},
             {1.23456789, "%12.7f", 10, "1.2345679"}, // the format's seven decimals at most
             {1.23456789, "%12.7f", 3, "1.235"},      // and the precision's, when fewer
             {-0.00000001, "%12.7f", 10, "0"},
             {1.5, "%.2f mm", 0, "1.50 mm"}, // text after the number: kept as written
             {1.5e20, "%e", 0, "1.500000e+20"},
             {1.5, "", 0, "1.5"}, // no display format: the format, "%g"
         }) {
        // clang-format on
        auto* spinner = new KesDlgSpinner(listener, "s", 0x60000);
        spinner->SetPrecision(row.precision);
        spinner->SetDisplayFormat(row.displayFormat);
        spinner->SetValue(row.value, 0);
        EXPECT_EQ(spinner->GetText().Str(), row.shown) << row.value << " " << row.displayFormat;
        EXPECT_EQ(spinner->GetValue(), row.value);
        delete spinner;
    }
}

TEST_F(KesToolkitTest, ScrollBarPositionStaysWithinRangeLessBox) {
    auto* bar = new KesDlgScrollBar(listener, "b", 0x80000);
    bar->SetScrollRange(0, 7);
    bar->SetScrollBoxSize(5);
    bar->SetScrollPos(9, 0);
    EXPECT_EQ(bar->GetScrollPos(), 2);
    bar->SetScrollPos(-4, 0);
    EXPECT_EQ(bar->GetScrollPos(), 0);
    EXPECT_TRUE(bar->UserScroll(INT_MAX));
    EXPECT_EQ(bar->GetScrollPos(), 2);
    bar->SetScrollRange(0, 6); // one value fewer: the box moves back inside
    EXPECT_EQ(bar->GetScrollPos(), 1);
    bar->SetScrollBoxSize(10); // a box larger than the range pins the position at the minimum
    EXPECT_EQ(bar->GetScrollPos(), 0);
    bar->SetScrollRange(INT_MIN, INT_MAX);
    bar->SetScrollBoxSize(-5);
    bar->SetScrollPos(INT_MAX, 0);
    EXPECT_EQ(bar->GetScrollPos(), INT_MAX);
}

TEST_F(KesToolkitTest, EditorHoldsAtMostItsMaximumWidthInCharacters) {
    auto* editor = new KesDlgEditor(listener, "e");
    editor->SetText("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"); // four é
    editor->SetMaxCharacterWidth(3);
    EXPECT_EQ(editor->GetText(), "\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_TRUE(editor->UserType("abcdef"));
    EXPECT_EQ(editor->GetText(), "abc");
    EXPECT_TRUE(editor->UserType("\xC3\xA9-\xC3\xA9")); // exactly the maximum: kept whole
    EXPECT_EQ(editor->GetText(), "\xC3\xA9-\xC3\xA9");
    editor->SetText("line1\nline2");
    EXPECT_EQ(editor->GetLine(-1), "lin");
}

TEST_F(KesToolkitTest, EditorReadsNumbersWithoutOverflow) {
    auto* editor = new KesDlgEditor(listener, "e", KesDlgEditor::kIntegerStyle);
    const std::pair<std::string, int> cases[] = {{"42", 42},
                                                 {"abc", 0},
                                                 {"99999999999", INT_MAX},
                                                 {"-99999999999", INT_MIN},
                                                 {"3.7", 3},
                                                 {"-2.5", -2},
                                                 {"1e999", 0},
                                                 {"", 0},
                                                 {std::string(300, '9'), INT_MAX}};
    for (const auto& [text, expected] : cases) {
        editor->SetText(text);
        EXPECT_EQ(editor->GetIntegerValue(), expected) << text;
    }
    editor->SetValue(1e12, 0); // a real in an integer editor saturates
    EXPECT_EQ(editor->GetText(), "2147483647");
    auto* real = new KesDlgEditor(listener, "r", KesDlgEditor::kRealStyle);
    real->SetValue(0.1, 0);
    EXPECT_EQ(real->GetValue(), 0.1); // written so that it reads back exactly
    real->SetValue(std::nan(""), 0);
    EXPECT_EQ(real->GetText(), "0.1");
}

TEST_F(KesToolkitTest, SelectorListReportsRowsAscending) {
    auto* list = new KesDlgSelectorList(listener, "l", 0x40000);
    for (const char* line : {"a", "b", "c", "d"}) {
        list->SetLine(line, -1, 64);
    }
    const int picked[] = {3, 0};
    EXPECT_TRUE(list->UserSelect(picked, 2));
    int rows[4] = {};
    EXPECT_EQ(list->GetSelect(rows, 4), 2);
    EXPECT_EQ(std::vector<int>(rows, rows + 2), (std::vector<int>{0, 3}));
    const int bad[] = {1, 9};
    EXPECT_FALSE(list->UserSelect(bad, 2));
    EXPECT_EQ(list->GetSelectCount(), 2);
    EXPECT_TRUE(list->UserSelect(nullptr, 0)); // deselect every line
    EXPECT_EQ(list->GetSelectCount(), 0);
    list->SetSelect(bad, 2, 0); // the row that exists is added, the other ignored
    EXPECT_EQ(list->GetSelectedRows(), std::vector<int>{1});
}

// ---------------------------------------------------------------------------------------------
// User actions on hidden and insensitive widgets
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, UserActionsAreRefusedOnHiddenOrInsensitiveWidgetsAndAncestors) {
    auto* inner = new KesDlgFrame(listener, "inner");
    auto* editor = new KesDlgEditor(inner, "e");
    auto* check = new KesDlgCheckButton(inner, "c");
    auto* menu = new KesDlgContextualMenu(inner, "m");
    auto* item = new KesDlgPushItem(menu, "Add");
    listener->Listen(editor, editor->GetEditModifyNotification());
    listener->Listen(item, item->GetMenuIActivateNotification());

    inner->SetSensitivity(kes::kInsensitive);
    EXPECT_FALSE(editor->UserType("x"));
    EXPECT_FALSE(check->UserClick());
    EXPECT_FALSE(item->UserActivate());
    EXPECT_TRUE(editor->IsSetSensitivity()); // its own flag is still on
    EXPECT_EQ(editor->GetText(), "");
    inner->SetSensitivity(kes::kSensitive);

    item->SetVisibility(kes::kHidden);
    EXPECT_FALSE(item->UserActivate());
    frame.SetVisibility(kes::kHidden);
    EXPECT_FALSE(editor->UserType("x"));
    frame.SetVisibility(kes::kShown);
    EXPECT_EQ(check->GetState(), kes::kOff);
    EXPECT_TRUE(listener->heard.empty());

    EXPECT_TRUE(editor->UserType("x"));
    EXPECT_EQ(listener->heard.size(), 1u);
}

TEST_F(KesToolkitTest, ADialogIsAWindowOfItsOwn) {
    auto* dialog = new KesDlgDialog(listener, "dlg", 1536);
    auto* field = new KesDlgEditor(dialog, "StepEditor");
    EXPECT_FALSE(field->UserType("1")); // hidden until shown
    dialog->SetVisibility(kes::kShown);
    listener->SetSensitivity(kes::kInsensitive);
    EXPECT_TRUE(field->UserType("1"));
    EXPECT_TRUE(dialog->UserCancel());
    EXPECT_EQ(dialog->GetVisibility(), kes::kHidden);
}

template <class Widget> KesDialog* Make(KesDialog* parent) {
    return new Widget(parent, "w");
}

// Every widget class answers the row of its own kind, and every kind has a row of its own name
// (the picture, the window and the monkey tell widgets apart by it).
TEST_F(KesToolkitTest, EveryWidgetClassAnswersTheTraitsOfItsKind) {
    struct Row {
        KesDialog* (*make)(KesDialog*);
        KesDlgKind kind;
        std::string name;
        bool laidOut, takesText, hasValue, container;
    };
    const std::vector<Row> rows = {
        {Make<KesDlgFrame>, KesDlgKind::Frame, "frame", true, false, false, true},
        {Make<KesDlgLabel>, KesDlgKind::Label, "label", true, false, false, false},
        {Make<KesDlgEditor>, KesDlgKind::Editor, "editor", true, true, true, false},
        {Make<KesDlgSpinner>, KesDlgKind::Spinner, "spinner", true, true, true, false},
        {Make<KesDlgCombo>, KesDlgKind::Combo, "combo", true, true, true, false},
        {Make<KesDlgCheckButton>, KesDlgKind::CheckButton, "check", true, false, true, false},
        {Make<KesDlgRadioButton>, KesDlgKind::RadioButton, "radio", true, false, true, false},
        {Make<KesDlgPushButton>, KesDlgKind::PushButton, "button", true, false, false, false},
        {Make<KesDlgContextualMenu>, KesDlgKind::ContextualMenu, "menu", false, false, false,
         false},
        {Make<KesDlgPushItem>, KesDlgKind::PushItem, "item", false, false, false, false},
        {Make<KesDlgDialog>, KesDlgKind::Dialog, "dialog", false, false, false, true},
        {Make<KesDlgScrollBar>, KesDlgKind::ScrollBar, "scrollbar", true, false, true, false},
        {Make<KesDlgSelectorList>, KesDlgKind::SelectorList, "list", true, false, true, false},
    };
    ASSERT_EQ(rows.size(), static_cast<size_t>(kKesDlgKindCount)) << "a widget class is missing";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        KesDialog* widget = row.make(listener);
        ASSERT_EQ(widget->GetKind(), row.kind);
        const KesDlgKindTraits& traits = KesDlgTraitsOf(widget->GetKind());
        EXPECT_EQ(traits.kind, row.kind);
        EXPECT_EQ(traits.name, row.name);
        EXPECT_EQ(
            std::make_tuple(traits.laidOut, traits.takesText, traits.hasValue, traits.container),
            std::make_tuple(row.laidOut, row.takesText, row.hasValue, row.container));
        delete widget;
    }
    // Count is no kind: asking for it answers a row all the same (the frame's), never garbage.
    EXPECT_EQ(KesDlgTraitsOf(KesDlgKind::Count).kind, KesDlgKind::Frame);
}

// ---------------------------------------------------------------------------------------------
// Delivery and re-entrancy
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, CallbacksRunInBindingOrderAndStopAtTheFirstLevelThatBinds) {
    auto* button = new KesDlgPushButton(listener, "pb");
    std::vector<int> order;
    listener->AddCallback(button, button->GetPushBActivateNotification(),
                          [&](KesCommand*, KesNotification*, void**) { order.push_back(1); });
    listener->AddCallback(button, button->GetPushBActivateNotification(),
                          [&](KesCommand*, KesNotification*, void**) { order.push_back(2); });
    EXPECT_TRUE(button->UserPress());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    // Handled by the listener: the frame above never sees it.
    EXPECT_EQ(frame.Count("KesDlgPushBActivateNotification"), 0);

    auto* unbound = new KesDlgPushButton(listener, "other");
    unbound->UserPress();
    EXPECT_EQ(frame.Count("KesDlgPushBActivateNotification", unbound), 1);
}

TEST_F(KesToolkitTest, ACallbackMayChangeTheWidgetThatCalledIt) {
    auto* spinner = new KesDlgSpinner(listener, "s");
    spinner->SetMinMaxStep(0.0, 10.0, 1.0);
    listener->Listen(spinner, spinner->GetSpinnerModifyNotification());
    int depth = 0;
    listener->onHeard = [&](KesCommand*) {
        // Write back once with notification (nested delivery), then silently.
        if (++depth == 1) {
            spinner->SetValue(std::floor(spinner->GetValue()), 1);
        } else {
            spinner->SetValue(spinner->GetValue(), 0);
        }
    };
    EXPECT_TRUE(spinner->UserSetValue(3.7));
    EXPECT_EQ(spinner->GetValue(), 3.0);
    EXPECT_EQ(listener->heard.size(), 2u);
}

TEST_F(KesToolkitTest, ADialogDeletedFromItsOwnOkCallbackIsNeverTouchedAgain) {
    auto* dialog = new KesDlgDialog(listener, "dlg");
    dialog->SetVisibility(kes::kShown);
    int calls = 0;
    listener->AddCallback(dialog, dialog->GetDiaOKNotification(),
                          [&](KesCommand* sender, KesNotification*, void**) {
                              ++calls;
                              delete sender;
                          });
    listener->AddCallback(dialog, dialog->GetDiaOKNotification(),
                          [&](KesCommand*, KesNotification*, void**) { ++calls; });
    EXPECT_TRUE(dialog->UserOK());
    EXPECT_EQ(calls, 2); // both bound callbacks ran; the target, not the sender, was deleted
    EXPECT_EQ(listener->GetChildCount(), 0);
}

TEST_F(KesToolkitTest, ATargetDeletedByItsCallbackStopsDelivery) {
    // The callback deletes its own command and, with it, the button that raised the
    // notification: the second callback must not run on the deleted command.
    auto* target = new Listener(&frame);
    auto* button = new KesDlgPushButton(target, "pb");
    int calls = 0;
    target->AddCallback(button, button->GetPushBActivateNotification(),
                        [&](KesCommand*, KesNotification*, void**) {
                            ++calls;
                            delete target;
                        });
    target->AddCallback(button, button->GetPushBActivateNotification(),
                        [&](KesCommand*, KesNotification*, void**) { ++calls; });
    EXPECT_TRUE(button->UserPress());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(frame.GetChildCount(), 1); // only the fixture's listener is left
    EXPECT_EQ(frame.Count("KesDlgPushBActivateNotification"), 0);
}

// ---------------------------------------------------------------------------------------------
// Observers
// ---------------------------------------------------------------------------------------------
TEST_F(KesToolkitTest, ObserversSeeEveryStateChange) {
    struct Recorder : KesDlgObserver {
        std::vector<KesDlgProperty> seen;
        void WidgetChanged(KesDialog&, KesDlgProperty property) override {
            seen.push_back(property);
        }
    } recorder;
    KesDialog::AddObserver(&recorder);
    auto* editor = new KesDlgEditor(listener, "e");
    editor->UserType("x");
    editor->SetSensitivity(kes::kInsensitive);
    delete editor;
    KesDialog::RemoveObserver(&recorder);
    EXPECT_EQ(recorder.seen, (std::vector<KesDlgProperty>{
                                 KesDlgProperty::Created, KesDlgProperty::Text,
                                 KesDlgProperty::Sensitivity, KesDlgProperty::Destroyed}));
}

// A window deleted by another window's doing (the second view of a panel closed from the first)
// is not told of the change under way.
TEST_F(KesToolkitTest, AnObserverRemovedByAnotherIsNotToldAgain) {
    struct Counter : KesDlgObserver {
        int seen = 0;
        std::function<void()> then;
        void WidgetChanged(KesDialog&, KesDlgProperty) override {
            ++seen;
            if (then) {
                then();
            }
        }
    } first, second;
    first.then = [&] { KesDialog::RemoveObserver(&second); };
    KesDialog::AddObserver(&first);
    KesDialog::AddObserver(&second);
    listener->SetTitle("x");
    KesDialog::RemoveObserver(&first);
    EXPECT_EQ(first.seen, 1);
    EXPECT_EQ(second.seen, 0);
}

// A host told that a frame goes (a window hiding its mirror, whose field then loses the focus)
// acts on a widget under it: nothing is carried out and nothing reaches the frame's callbacks.
TEST_F(KesToolkitTest, WidgetsOfAFrameBeingDestroyedTakeNoInputAndNotifyNothing) {
    auto* editor = new KesDlgEditor(listener, "e");
    auto* spinner = new KesDlgSpinner(listener, "s");
    auto* dialog = new KesDlgDialog(listener, "d");
    dialog->SetVisibility(kes::kShown);
    int heard = 0;
    const auto count = [&](KesCommand*, KesNotification*, void**) { ++heard; };
    listener->AddCallback(editor, editor->GetEditModifyNotification(), count);
    listener->AddCallback(spinner, spinner->GetSpinnerModifyNotification(), count);
    listener->AddCallback(dialog, dialog->GetDiaOKNotification(), count);
    struct Host : KesDlgObserver {
        KesDialog* going = nullptr;
        std::function<void()> act;
        void WidgetChanged(KesDialog& widget, KesDlgProperty property) override {
            if (property == KesDlgProperty::Destroyed && &widget == going) {
                act();
            }
        }
    } host;
    std::vector<bool> accepted;
    host.going = listener;
    host.act = [&] {
        accepted = {editor->AcceptsUserInput(), editor->UserType("typed"), dialog->UserOK()};
        spinner->SetValue(2.0, 1); // a program change that notifies
    };
    KesDialog::AddObserver(&host);
    delete listener;
    KesDialog::RemoveObserver(&host);
    EXPECT_EQ(accepted, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(heard, 0);
    EXPECT_TRUE(frame.GetReceived().empty());
    listener = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Resource files
// ---------------------------------------------------------------------------------------------
TEST(KesDlgResourceTest, LinesAreReadOrTheFileIsRefusedWithTheBadLine) {
    struct Row {
        const char* content;
        const char* error; // empty: read
        const char* title; // of "item"
        const char* help;
    };
    for (const Row& row : std::vector<Row>{
             {"# texts\n\n item.title = Define step…  \r\nitem.help=Why\n", "", "Define step…",
              "Why"},
             {"a.b.title = dotted identifier\nitem.shorthelp = s", "", "", ""},
             {"item.title Define step\n", "line 1: expected IDENTIFIER.PROPERTY = TEXT", "", ""},
             {"\n.title = x", "line 2: expected IDENTIFIER.PROPERTY = TEXT", "", ""},
             {"item.tilte = x", "line 1: unknown property \"tilte\" (title, help or shorthelp)", "",
              ""},
         }) {
        KesDlgResource::Table table;
        std::string error;
        EXPECT_EQ(KesDlgResource::Parse(row.content, table, error), *row.error == '\0');
        EXPECT_EQ(error, row.error);
        if (error.empty()) {
            EXPECT_EQ(table["item"].title.Str(), row.title);
            EXPECT_EQ(table["item"].help.Str(), row.help);
        }
    }
}

// Where a widget's texts come from: the built-in texts unless a file of the name is found, a
// file that cannot be used never hides them, and a name found nowhere is said once.
TEST(KesDlgResourceTest, TextsComeFromTheFileFoundElseFromTheLibraryAndAMissingOneIsSaidOnce) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kes-resources-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    struct Row {
        const char* what;
        const char* file;  // KesMfgAttDoubleParam.kesres in KES_RESOURCE_DIR; null: none
        const char* name;  // the resource looked for
        const char* title; // of "defstep"
        const char* said;  // on standard error (the folder's name replaced by DIR)
    };
    const Row rows[] = {
        {"built in", nullptr, "KesMfgAttDoubleParam", "Define step…", ""},
        {"reworded", "defstep.title = Arrow step…\n", "KesMfgAttDoubleParam", "Arrow step…", ""},
        {"a file that cannot be used", "defstep.tilte = x\n", "KesMfgAttDoubleParam",
         "Define step…",
         "kes: resource file DIR/KesMfgAttDoubleParam.kesres, line 1: unknown property \"tilte\" "
         "(title, help or shorthelp); its texts are not used\n"},
        {"found nowhere", nullptr, "KesNoSuchResource", "",
         "kes: resource file KesNoSuchResource.kesres not found in DIR; its widgets keep the "
         "texts their owner sets\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::filesystem::path file = folder / "KesMfgAttDoubleParam.kesres";
        std::filesystem::remove(file);
        if (row.file != nullptr) {
            std::ofstream(file) << row.file;
        }
        ::setenv("KES_RESOURCE_DIR", folder.c_str(), 1);
        KesDlgResource::Reload();
        KesStderrCapture captured;
        const KesDlgResourceTexts* first = KesDlgResource::Find(row.name, "defstep");
        const KesDlgResourceTexts* second = KesDlgResource::Find(row.name, "defstep");
        ::unsetenv("KES_RESOURCE_DIR");
        EXPECT_EQ(first, second); // read once
        EXPECT_EQ(first != nullptr ? first->title.Str() : std::string(), row.title);
        std::string said = captured.Text();
        // Only the folders of the environment and beside this program are named.
        for (size_t at = said.find(folder.string()); at != std::string::npos;
             at = said.find(folder.string())) {
            said.replace(at, folder.string().size(), "DIR");
        }
        const size_t beside = said.find("DIR, ");
        if (beside != std::string::npos) {
            said.erase(beside + 3, said.find(';', beside) - beside - 3);
        }
        EXPECT_EQ(said, row.said);
    }
    KesDlgResource::Reload();
    std::filesystem::remove_all(folder);
}

// ---------------------------------------------------------------------------------------------
// Debug switches
// ---------------------------------------------------------------------------------------------
TEST(KesDebugTest, SwitchesFromTheEnvironmentAndFromTheProgram) {
    setenv("KES_DEBUG", " Access = 1 ,AttIntList=2,Bare, Bad=x", 1);
    ResetDebug();
    EXPECT_EQ(GetDebug("Access"), 1);
    EXPECT_EQ(GetDebug("AttIntList"), 2);
    EXPECT_EQ(GetDebug("Bare"), 1);
    EXPECT_EQ(GetDebug("Bad"), 0);
    EXPECT_EQ(GetDebug("Missing"), 0);
    EXPECT_EQ(GetDebug(nullptr), 0);
    SetDebug("Access", 0);
    EXPECT_EQ(GetDebug("Access"), 0);
    unsetenv("KES_DEBUG");
    ResetDebug();
    EXPECT_EQ(GetDebug("AttIntList"), 0);
}

} // namespace
