// KesPanelDriver: drives any panel of attributes from commands, one per line, as a person and
// a caller would, and prints what the parent frame receives and the value records.
//
// Attributes are addressed by the exact name of their value records (an unknown name is
// answered with the closest one, "no attribute 'Toolname' (did you mean 'Tool_Name'?)"); widgets as
// a person sees them: the value field, field i of a list's window (NAME[i], from 1 at the top of
// the window), the combo's lines and the radio buttons by display text or by the value they stand
// for (a word that is the value of one choice and the display text of another is refused, naming
// both), the combo's lines by #row (from 1) too, the option check button, the context menu items.
// "type" and "keys" go into the field a person types into: an editor, an editable combo or a
// spinner (KesDlgSpinner::UserType, as the window reads it). Every input goes through the
// toolkit's user actions, so hidden and insensitive widgets refuse it as they would a person;
// "show" marks what a window greys (KesPanelPicture::IsGreyed), whatever greyed it. The caller
// commands call the attributes' interface as a program does, with any argument: vectors written [a,
// b, "text"] (null for a null vector, ITEM*N for N copies), reals such as nan, inf and -inf, texts
// with \xNN escapes for any byte.
//
// User commands (see HelpText()): type, spin, nudge, select, click, option, add, remove,
// scroll, drag, drop, bind, create, step, press, focus, keys, tab; caller commands: set, hand,
// modify, newlist, editmode, sensitivity, optional, access, impact, impacts, get, put,
// on-notify, callback, display, width, helps, icons, delete, rebuild; output,
// values, show, model, svg, check, help; undo, redo, save-values, load-values; "#" starts a
// comment.
// A command that cannot be carried out (unknown command or attribute, missing or malformed
// argument, no such widget or field, a line too long or not valid UTF-8) changes nothing and
// writes "line N: what is wrong" to the error stream.
//
// The gestures go through a pair of hands (KesPanelHands): the toolkit's own by default, or a
// window's (SetHands), so that a session runs alike headless and through a window. The driver
// keeps the keyboard focus: "focus", "keys" and "tab" move it; other gestures leave it where it
// is but first confirm text typed with "keys" (the person leaves the field).
//
// Checks: every user action that a widget refuses must change no widget and notify nothing,
// and a hidden or insensitive widget must refuse; "get" and "put" with null vectors must append
// a whole record or nothing. A breach is kept as a fault that the next Check() (the command
// "check") reports first, before the invariants of KesPanelChecks.
#pragma once

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgTestFrame.h"
#include "tools/KesPanelChecks.h"
#include "tools/KesPanelHands.h"
#include "tools/KesPanelHistory.h"

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

class KesPanelDriver {
public:
    enum class Status {
        Done,   // carried out (a refused user action is carried out too, and said so)
        Failed, // not carried out: the message went to the error stream
    };

    // The longest command line taken, in bytes.
    static constexpr size_t kMaxLineLength = 4096;

    // `frame` holds the panel; `out` receives the transcript, `err` the error messages.
    KesPanelDriver(KesDlgTestFrame& frame, std::ostream& out, std::ostream& err);
    ~KesPanelDriver();
    KesPanelDriver(const KesPanelDriver&) = delete;
    KesPanelDriver& operator=(const KesPanelDriver&) = delete;

    // Runs one command line.
    Status Run(const std::string& line, int lineNumber);
    // Runs commands from `in` until its end. A script (interactive false) stops at its first
    // failed command and answers 2; an interactive session shows a prompt, goes on after
    // errors and answers 0. "quit" ends either.
    int RunSession(std::istream& in, bool interactive);

    // What the "model" command prints (the host's model parameters).
    void SetModelPrinter(std::function<void(std::ostream&)> printer) {
        modelPrinter_ = std::move(printer);
    }

    // Called after each command that acted on the panel, to print what the host shows besides
    // notifications (for example the codes reported to the user).
    void SetAfterCommand(std::function<void(std::ostream&)> hook) {
        afterCommand_ = std::move(hook);
    }

    // The hands that make the user commands' gestures (not owned; null: the toolkit's own).
    void SetHands(KesPanelHands* hands);
    // Builds the panel again in the frame, for "rebuild" (which first deletes every
    // attribute). Without it, "rebuild" fails.
    void SetRebuild(std::function<void()> rebuild) { rebuild_ = std::move(rebuild); }
    // A check of the host's own, run by Check() when the panel's hold (a window's mirrors).
    void SetExtraCheck(std::function<KesPanelFault()> check) { extraCheck_ = std::move(check); }

    // The attributes of the panel, in creation order (depth first under the frame).
    std::vector<KesMfgAttribute*> Attributes() const;
    // The attribute whose value records are named `name` exactly; null when none is.
    KesMfgAttribute* FindAttribute(const std::string& name) const;

    // The fault kept since the last call (a refused action that changed something, a partial
    // record), else the first broken invariant of the panel; empty when all hold. Forgets the
    // kept fault.
    KesPanelFault Check();

    // The public callbacks of the attribute's class that the command "callback" calls.
    static std::vector<std::string> CallbacksOf(KesMfgAttribute& attribute);

    static std::string HelpText();
    // The words "select" (and "click", for radio buttons) take for one of the attribute's
    // choices: the values and display texts of its combo's lines or radio buttons, each naming
    // one choice (a word that is the value of one and the display text of another is left out).
    static std::vector<std::string> ChoiceWords(KesMfgAttribute& attribute);

    // Undo and redo (tools/KesPanelHistory.h): every user command is a step, a caller command
    // that changes values ends the history; "undo" and "redo" check that the panel is back to
    // its state before (after) the step. Values files: "save-values", "load-values"; strict
    // reading makes each report line an error.
    KesPanelHistory& History() { return *history_; }
    // Ends the history, as a caller's change of values does (values pushed by the host).
    void EndHistory();
    void SetStrictValues(bool strict) { strictValues_ = strict; }

private:
    struct Target {
        KesMfgAttribute* attribute = nullptr;
        int field = 0; // NAME[i]: 1-based field of the window; 0 when not given
    };
    Status Fail(int lineNumber, const std::string& message);
    bool ResolveTarget(const std::string& word, Target& target, int lineNumber);
    void ReportNotifications();
    // Runs a user action on `widget`, says when it was refused and keeps a fault when a
    // refusal changed something or a widget that must refuse took it. `widget` may be gone
    // after the action (a dialog closed by its OK).
    bool Act(KesDialog* widget, const std::string& what, const std::function<bool()>& action);
    void KeepFault(const std::string& invariant, const std::string& detail);
    void React(KesMfgAttribute* sender);
    void ShowPanel();

    Status Type(const Target& target, const std::string& text, int lineNumber);
    Status Spin(const Target& target, const std::string& value, int lineNumber);
    Status Select(const Target& target, const std::string& choice, int lineNumber);
    Status Click(const Target& target, const std::string& value, int lineNumber);
    Status ClickRadio(const Target& target, const std::string& word, int lineNumber);
    Status Option(const Target& target, const std::string& state, int lineNumber);
    Status Activate(const Target& target, const char* item, int lineNumber);
    Status Scroll(const Target& target, const std::string& position, int lineNumber);
    Status Drop(const Target& target, int lineNumber);
    Status Bind(const Target& target, const std::string& parameter, int lineNumber);
    Status Dialog(const Target& target, const char* item, const char* dialog, const char* field,
                  const std::string& text, int lineNumber);
    Status Press(const Target& target, int lineNumber);
    Status Nudge(const Target& target, const std::string& clicks, int lineNumber);
    Status Drag(const Target& target, const std::string& position, int lineNumber);
    Status Collect(const std::string& group, bool all, int lineNumber);
    Status Call(const std::string& command, const Target& target, const std::string& arguments,
                int lineNumber);
    Status Read(const Target& target, bool output, const std::string& arguments, int lineNumber);
    Status Arm(const Target& target, const std::string& command, int lineNumber);
    Status Picture(const std::string& file, int lineNumber);
    // In KesPanelDriverHistory.cpp: undo, redo, values files, and the end of each command.
    Status Edit(const std::string& command, const std::string& argument, int lineNumber);
    void EndCommand(KesMfgAttribute* target, bool caller, const std::string& command);
    // What a caller and a person see of the panel: every attribute's records (GetAttValue) and
    // option state, each group's Output, and every attribute's widgets.
    struct Sight {
        std::vector<KesAttributeState> states;
        std::vector<std::string> outputs; // one table per group, in the order of the groups
        std::vector<std::string> widgets; // one description per attribute
    };
    Sight PanelSight() const;
    void CompareSight(const Sight& expected, const char* breach);
    void ResetSnapshots();
    bool SnapshotsFollow() const;
    Status Keys(const Target& target, const std::string& text, int lineNumber);
    Status Focus(const Target& target, int lineNumber);
    Status Tab();
    Status Delete(const Target& target);
    Status Rebuild(int lineNumber);
    // Before the caller deletes `attribute`: what the driver and the steering attributes
    // hold of it goes.
    void Forget(KesMfgAttribute* attribute);
    KesDialog* Focused() const;
    bool LeaveField(const KesDialog* next);

    KesDlgTestFrame& frame_;
    std::ostream& out_;
    std::ostream& err_;
    std::function<void(std::ostream&)> modelPrinter_;
    std::function<void(std::ostream&)> afterCommand_;

    class ChangeCounter;
    std::unique_ptr<ChangeCounter> changes_; // every change of every widget
    KesPanelFault keptFault_;
    std::map<KesMfgAttribute*, std::string> armed_; // on-notify: the command to run once
    std::map<KesMfgAttribute*, bool> bound_;        // senders the frame calls back for us
    std::unique_ptr<KesPanelToolkitHands> toolkitHands_;
    KesPanelHands* hands_ = nullptr;
    KesDialog* focused_ = nullptr; // the widget with the keyboard focus, while it lives
    std::shared_ptr<const bool> focusedAlive_;
    std::function<void()> rebuild_;
    std::function<KesPanelFault()> extraCheck_;
    std::shared_ptr<KesPanelDriver*> self_; // cleared when the driver goes
    int lineNumber_ = 0;                    // of the line running
    int depth_ = 0;                         // commands running (reactions nest)
    bool strictValues_ = false;
    bool callerWrote_ = false; // a caller's command that may change values ran inside a gesture
    std::unique_ptr<KesPanelHistory> history_;
    // The panel at the last history positions, from position snapshotBase_ on.
    std::deque<Sight> snapshots_;
    size_t snapshotBase_ = 0;
    long snapshotsVersion_ = -1; // the history's version the snapshots follow
    bool reactionFailed_ = false;
};
