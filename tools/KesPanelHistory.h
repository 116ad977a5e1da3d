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
// after, through SetOptionalCheck and SetAttValue with notification, so the parent frame hears
// it and the impacts follow; an impact cascade is part of the gesture that set it off, so it is
// one step. A bound real's binding is part of its value: undoing a bind unbinds.
//
// What cannot be taken back:
//   - a model parameter created by a step stays in the model (the binding is undone);
//   - a spinner step stored by a step stays stored (it is no value of the panel);
//   - an attribute whose value was still to be given keeps the value it was given;
//   - a list emptied by the user is not emptied again (a caller cannot give an empty list);
//   - a binding to a parameter whose name is longer than 16 characters (a person may type
//     one, a caller's name is cut to 16) is not brought back;
//   - a text choice typed into an editable combo comes back as the text of its line, when it
//     is an allowed value, and not at all when it is none (a caller selects allowed values);
//   - a parameterised real in a text field comes back with the six significant digits it
//     shows every value a caller gives it;
//   - what an attribute's own class refuses from a caller (SetAttValue ignores it) stays: for
//     example a bounded number outside its limits (an optional integer checked before it had
//     a value reads 0 whatever its minimum) is not given back.
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
    // Ends a caller's command: when it changed a state, the history ends (nothing to undo or
    // redo). Answers whether it ended.
    bool CommitCall();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The label of the attribute the step to undo (redo) began with; "" when there is none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    // Takes the last step back (applies it again). False, doing nothing, when there is none.
    // What the attributes do meanwhile (impacts, notifications) is part of it, not a step.
    bool Undo();
    bool Redo();

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
        KesAttributeState before;
        KesAttributeState after;
    };
    struct Step {
        std::vector<Change> changes; // in the order the attributes first changed
    };
    struct Entry {
        KesMfgAttribute* attribute = nullptr;
        KesAttributeState state; // as last read
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

    KesDialog& panel_;
    std::vector<Entry> entries_;
    std::unordered_map<const void*, int> index_; // attribute -> entry
    std::vector<int> marked_;                    // entries marked since the last commit
    std::vector<int> links_; // read at every commit: their values live outside their widgets
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    bool structureChanged_ = false;
    long version_ = 0;
    std::unique_ptr<Watcher> watcher_;
};
