// KesPanelHistory: undo and redo for any panel of attributes, above the attributes and through
// their public interface only.
//
// A step is one user gesture: what it changed, for each attribute whose value records
// (GetAttValue) or option state changed, the state before and after. Steps keep only what
// changed, so memory grows with the edits, not with the size of the panel. Finding what changed
// costs what the gesture touched: the history keeps each attribute's last state and, through a
// toolkit observer, reads again only the attributes whose widgets changed (and those touched
// explicitly, and the links, whose values live outside their widgets).
//
// Undo brings each attribute of the last step back to its state before, Redo to its state
// after, with the notifications a person's gesture gives: through SetOptionalCheck and
// SetAttValue with notification where a caller's call brings the records and the widgets back
// whole, so the parent frame hears it and the impacts follow; through the person's own gesture
// where no call does (KesPanelHistory.cpp, Restore): the text of an editable combo's field or a
// parameterised real's editor typed again, a binding typed into the parameter combo again (the
// parameter's value shows, as when the person bound it), "none" typed to unbind. An impact
// cascade is part of the gesture that set it off, so it is one step. Afterwards every attribute
// of the step is read again: one that is not as it was is named (Shortfall) and the history
// ends.
//
// What neither a call nor a gesture brings back ends the history at the gesture: the step
// stays, but Undo refuses it and says why (UndoRefusal), and what came before it is forgotten;
// a step whose state after cannot be given again is undone, and Redo then refuses it
// (RedoRefusal):
//   - an attribute whose value was still to be given, or a choice with nothing selected: no
//     call or gesture takes a value away, nor gives back what it showed meanwhile;
//   - an unchecked list whose values the gesture changed: no call gives an unchecked
//     attribute values;
//   - a list emptied by the user: a caller cannot give an empty list;
//   - a bounded number outside its limits (an optional integer checked before it had a value
//     reads 0 whatever its minimum; a parameterised real's editor whose limits are swapped,
//     which its own check after an edit brings to the minimum): calls and gestures both keep
//     to the limits;
//   - a link that relayed no values: no call takes its values away;
//   - a bound real whose binding a person cannot make again as it stood: bound to a name that
//     is no parameter of the model it takes (typing it would create one), showing another
//     value than its parameter's (binding shows the parameter's), or with blanks around the
//     name (a caller's binding pads it, typing strips it).
// What is accepted as it stands, since it is no value of the panel:
//   - a model parameter created by a step stays in the model (the binding is undone);
//   - a spinner step stored by a step stays stored;
//   - the lines of a combo that takes typing (texts typed into an editable combo, the
//     parameters a parameter combo listed) stay among its lines, and which line the list
//     highlights follows them;
//   - where a list's window is scrolled to stays where the person left it.
// A caller's change of values ends the history (CommitCall), as an editor forgets its undo
// steps when its document changes from outside; reads change nothing and keep it. A change of
// the panel itself (an attribute created or destroyed) ends it too.
#pragma once

#include "framework/KesMfgValueRecords.h"
#include "platform/KesDialog.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One attribute's state as the history and the values files see it: its value records, as
// GetAttValue appends them (none while the value is to be given; several for a link), and its
// option state.
struct KesAttributeState {
    KesMfgValueRecords records;
    int optionState = 1;

    // Equal records (reals bit for bit, NaN equal to NaN) and option states.
    bool operator==(const KesAttributeState& other) const;
    bool operator!=(const KesAttributeState& other) const { return !(*this == other); }

    static KesAttributeState Read(KesMfgAttribute& attribute);
    // Brings `attribute` to this state as a caller does: SetOptionalCheck when the option
    // state differs, then SetAttValue with `notify` (the link's seven-vector SetAttValue for a
    // link; an empty parameter name first to unbind a bound real given a value). A state with
    // no record, or unchecked, leaves the values as they are.
    void Apply(KesMfgAttribute& attribute, int notify = 1) const;
};

class KesPanelHistory {
public:
    // One attribute as the history keeps it: its state, and the texts of its fields that its
    // records do not tell (an editable combo's field, showing a line's display text or a typed
    // text; a parameterised real's editor as typed and its parameter combo's field).
    struct Look {
        KesAttributeState state;
        std::vector<KesUnicodeString> fields;
        bool sensitive = true;    // the attribute's own sensitivity (an impact's)
        int editMode = 1;         // a caller's: while not 1, no impact reaches the sensitivity
        int row = -1;             // the row selected in its read-only combo, if it has one
        std::string list;         // a list's values while unchecked (its records then hold none)
        std::string spin;         // its own spinner's value, bit for bit ("" without a spinner)
        bool rebindable = true;   // a bound real shows its parameter's value (binding shows it)
        bool withinLimits = true; // a parameterised real's editor shows a value its limits hold
        std::string output;       // its Output for its group, as a table ("" when it reports none)
        std::string widgets;      // its widgets as a person sees them (Seen)

        bool operator==(const Look& other) const {
            return state == other.state && fields == other.fields && sensitive == other.sensitive &&
                   editMode == other.editMode && row == other.row && list == other.list &&
                   spin == other.spin && output == other.output && widgets == other.widgets;
        }
        static Look Read(KesMfgAttribute& attribute);
    };

    // Watches the attributes of `panel` (depth first, as the driver finds them) and reads
    // their states once. The panel must outlive the history.
    explicit KesPanelHistory(KesDialog& panel);
    ~KesPanelHistory();
    KesPanelHistory(const KesPanelHistory&) = delete;
    KesPanelHistory& operator=(const KesPanelHistory&) = delete;

    // Has `widget` (an attribute or any widget under one) read again at the next commit, for a
    // change no widget shows (a value given to an attribute still to be defined). Others are
    // ignored; `widget` is compared, never followed, so it may be gone.
    void Touch(const void* widget);

    // Ends a user gesture: a step of what changed since the last commit, when something did
    // (then the steps that were undone are forgotten). Answers whether a step was made.
    bool CommitGesture();
    // Ends a caller's command: when it changed a state or what a person sees of an attribute,
    // the history ends (nothing to undo or redo). Answers whether it ended.
    bool CommitCall();

    // A step to take back (apply again) that is not refused.
    bool CanUndo() const { return !undo_.empty() && undo_.back().undoRefusal.empty(); }
    bool CanRedo() const { return !redo_.empty() && redo_.back().redoRefusal.empty(); }
    // The label of the attribute the step to undo (redo) began with; "" when there is none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    // Why the last step cannot be taken back (applied again): "cannot undo LABEL: what and
    // why"; "" when it can or there is none.
    std::string UndoRefusal() const;
    std::string RedoRefusal() const;
    // Takes the last step back (applies it again). False, doing nothing, when there is none or
    // it is refused. What the attributes do meanwhile (impacts, notifications) is part of it,
    // not a step. When an attribute of the step is not as it was afterwards, Shortfall() names
    // it and the history ends.
    bool Undo();
    bool Redo();
    // What the last Undo or Redo did not bring back; "" when it brought everything back.
    const std::string& Shortfall() const { return shortfall_; }

    // `widget` and everything under it as a person sees it: kind, name, title, what it shows,
    // sensitivity and visibility. Left out, as what no value of the panel holds and undo leaves
    // where it is: the lines of a combo that takes typing and which of them is highlighted, a
    // spinner's step, an open dialog (a window of its own), and where a list's window is
    // scrolled to, with the values its fields show from there (the records hold the list, and
    // the panel checks see that the fields show it at the scroll position).
    static std::string Seen(const KesDialog& widget);

    // Forgets every step (the states are read again).
    void Clear();

    size_t UndoCount() const { return undo_.size(); }
    size_t RedoCount() const { return redo_.size(); }
    // Counts every change of the history (a step, an undo, a redo, an end): a host that keeps
    // something per step sees from it that the history moved without it.
    long Version() const { return version_; }

private:
    struct Change {
        int attribute = 0; // index into entries_
        Look before;
        Look after;
    };
    struct Step {
        std::vector<Change> changes; // in the order the attributes first changed
        std::string undoRefusal;     // why its states before cannot be brought back; "" if they can
        std::string redoRefusal;     // why its states after cannot be given again; "" if they can
    };
    struct Entry {
        KesMfgAttribute* attribute = nullptr;
        Look look; // as last read
        bool dirty = false;
    };
    class Watcher;
    friend class Watcher;

    void Rescan();
    void MarkOwner(const KesDialog* widget, bool created);
    // Reads the marked attributes again; the changes found, in order of marking.
    std::vector<Change> Collect();
    std::string LabelOf(const Step& step) const;
    void Move(std::vector<Step>& from, std::vector<Step>& to, bool back);
    // Why `look` cannot be brought back to the attribute of `change`; "" when it can. `when`
    // says which of its states it is ("before it", "after it").
    std::string Unrestorable(const Change& change, const Look& look, const char* when) const;
    static void Restore(KesMfgAttribute& attribute, const Look& target);

    KesDialog& panel_;
    std::vector<Entry> entries_;
    std::unordered_map<const void*, int> index_; // attribute -> entry
    std::vector<int> marked_;                    // entries marked since the last commit
    std::vector<int> links_; // read at every commit: their values live outside their widgets
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    bool structureChanged_ = false;
    long version_ = 0;
    std::string shortfall_;
    std::unique_ptr<Watcher> watcher_;
};
