// KesPanelDriver: undo and redo, values files, and the end of every command for the history.
//
// The driver checks undo and redo against what a caller and a person saw, taken whole after
// each step: after an undo, every attribute's records (GetAttValue) and option state, each
// group's Output and every widget must be as they were before the step, after a redo as they
// were after it, save the few things no value holds (KesPanelHistory::Seen names them). A breach is
// kept as a fault for the next Check, as the refusals are.
#include "tools/KesPanelDriver.h"

#include "tools/KesAtomicFile.h"
#include "tools/KesValuesFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string Trimmed(const std::string& line) {
    const size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first);
}

// The first line where two descriptions differ, as "was ... now ...".
std::string FirstDifference(const std::string& expected, const std::string& now) {
    std::istringstream a(expected);
    std::istringstream b(now);
    std::string lineA;
    std::string lineB;
    while (true) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB) {
            return std::string();
        }
        if (!moreA || !moreB || lineA != lineB) {
            return "was '" + (moreA ? Trimmed(lineA) : std::string()) + "', now '" +
                   (moreB ? Trimmed(lineB) : std::string()) + "'";
        }
    }
}

} // namespace

KesPanelDriver::Sight KesPanelDriver::PanelSight() const {
    Sight sight;
    std::vector<int> groups;
    const std::vector<KesMfgAttribute*> attributes = Attributes();
    for (KesMfgAttribute* attribute : attributes) {
        sight.states.push_back(KesAttributeState::Read(*attribute));
        sight.widgets.push_back(KesPanelHistory::Seen(*attribute));
        if (std::find(groups.begin(), groups.end(), attribute->GetGroup()) == groups.end()) {
            groups.push_back(attribute->GetGroup());
        }
    }
    for (int group : groups) {
        KesMfgValueRecords output;
        for (KesMfgAttribute* attribute : attributes) {
            output.Output(*attribute, group);
        }
        sight.outputs.push_back(output.FormatTable());
    }
    return sight;
}

// Compares the panel with what a caller and a person saw at this position of the history;
// keeps the first difference as a fault.
void KesPanelDriver::CompareSight(const Sight& expected, const char* breach) {
    const Sight now = PanelSight();
    const std::vector<KesMfgAttribute*> attributes = Attributes();
    for (size_t i = 0; i < expected.states.size() && i < now.states.size(); ++i) {
        const std::string name = attributes[i]->GetRecordName().Str();
        if (expected.states[i] != now.states[i]) {
            KeepFault(breach, name + ": its records (GetAttValue) or option state");
            return;
        }
        if (expected.widgets[i] != now.widgets[i]) {
            KeepFault(breach, name + ": its widgets, " +
                                  FirstDifference(expected.widgets[i], now.widgets[i]));
            return;
        }
    }
    for (size_t i = 0; i < expected.outputs.size() && i < now.outputs.size(); ++i) {
        if (expected.outputs[i] != now.outputs[i]) {
            KeepFault(breach,
                      "Output of a group, " + FirstDifference(expected.outputs[i], now.outputs[i]));
            return;
        }
    }
}

void KesPanelDriver::EndHistory() {
    history_->Clear();
    ResetSnapshots();
}

// The states kept for the checks are those of the last positions only: a long session on a
// large panel keeps what it can check, not every state.
constexpr size_t kKeptSnapshots = 64;

// The snapshots stand for the history's positions as they are (no one else moved it).
bool KesPanelDriver::SnapshotsFollow() const {
    return snapshotsVersion_ == history_->Version() &&
           snapshotBase_ + snapshots_.size() == history_->UndoCount() + history_->RedoCount() + 1;
}

void KesPanelDriver::ResetSnapshots() {
    snapshots_.assign(1, PanelSight());
    snapshotBase_ = history_->UndoCount();
    snapshotsVersion_ = history_->Version();
}

// After a user command (one step when it changed something) or a caller command that may
// change values (the end of the history when it changed something). A caller's command run
// from inside a notification of a user command makes the whole command a caller's: what the
// gesture changed and what the caller changed cannot be told apart.
void KesPanelDriver::EndCommand(KesMfgAttribute* target, bool caller, const std::string& command) {
    history_->Touch(static_cast<const void*>(static_cast<KesDialog*>(target)));
    static const std::vector<std::string> kReads = {"get",   "put",   "on-notify", "display",
                                                    "width", "helps", "icons"};
    const bool writes = caller && std::find(kReads.begin(), kReads.end(), command) == kReads.end();
    if (depth_ > 1) {
        callerWrote_ = callerWrote_ || writes;
        return;
    }
    const bool asCaller = writes || callerWrote_;
    callerWrote_ = false;
    const bool followed = SnapshotsFollow();
    const size_t position = history_->UndoCount();
    if (asCaller ? history_->CommitCall() : history_->CommitGesture()) {
        if (asCaller || !followed || position < snapshotBase_) {
            ResetSnapshots(); // checks start again from here
            return;
        }
        snapshots_.resize(position + 1 - snapshotBase_);
        snapshots_.push_back(PanelSight());
        if (snapshots_.size() > kKeptSnapshots) {
            snapshots_.pop_front();
            ++snapshotBase_;
        }
        snapshotsVersion_ = history_->Version();
    }
}

KesPanelDriver::Status KesPanelDriver::Edit(const std::string& command, const std::string& argument,
                                            int lineNumber) {
    if (command == "save-values" || command == "load-values") {
        if (argument.empty()) {
            return Fail(lineNumber, "'" + command + "' needs a file name");
        }
        if (command == "save-values") {
            const std::string fault = KesWriteFileAtomically(
                argument, KesValuesFile::Write(Attributes(), frame_.GetName().Str()));
            if (!fault.empty()) {
                return Fail(lineNumber, "cannot write '" + argument + "': " + fault);
            }
            out_ << "  wrote " << argument << "\n";
            return Status::Done;
        }
        lineNumber_ = lineNumber;
        const KesValuesFile::Result read = KesValuesFile::Read(argument, Attributes());
        ReportNotifications();
        EndCommand(nullptr, true, command);
        if (!read.IsValuesFile()) {
            return Fail(lineNumber, read.error);
        }
        for (const std::string& line : read.report) {
            if (strictValues_) {
                Fail(lineNumber, line);
            } else {
                out_ << "  " << line << "\n";
            }
        }
        out_ << "  read " << argument << "\n";
        return strictValues_ && !read.report.empty() ? Status::Failed : Status::Done;
    }
    // undo, redo
    if (depth_ > 1) {
        return Fail(lineNumber, "'" + command + "' cannot run from inside a notification");
    }
    const bool undo = command == "undo";
    if (!(undo ? history_->CanUndo() : history_->CanRedo())) {
        const std::string refusal = undo ? history_->UndoRefusal() : history_->RedoRefusal();
        out_ << "  refused: " << (refusal.empty() ? "nothing to " + command : refusal) << "\n";
        return Status::Done;
    }
    const bool followed = SnapshotsFollow();
    const size_t position = history_->UndoCount();
    const size_t undone = history_->RedoCount();
    const size_t armed = armed_.size();
    lineNumber_ = lineNumber;
    // The outcome is said once it is known: "undone" only when everything came back.
    const std::string label = undo ? history_->UndoLabel() : history_->RedoLabel();
    const bool exact = undo ? history_->Undo() : history_->Redo();
    if (exact) {
        out_ << "  " << (undo ? "undone: " : "redone: ") << label << "\n";
    } else {
        out_ << "  " << (undo ? "not undone whole: " : "not redone whole: ") << label << "\n";
    }
    ReportNotifications();
    callerWrote_ = false;
    const char* breach = undo ? "an undo did not bring back the state before the step"
                              : "a redo did not bring back the state after the step";
    if (armed_.size() != armed) {
        // A command ran from inside a notification: the panel is not the step's alone.
        history_->Clear();
        ResetSnapshots();
    } else if (!exact) {
        out_ << "  not brought back: " << history_->Shortfall() << "; the history ends\n";
        KeepFault(breach, history_->Shortfall());
        ResetSnapshots();
    } else if (followed && history_->UndoCount() == (undo ? position - 1 : position + 1) &&
               history_->RedoCount() == (undo ? undone + 1 : undone - 1)) {
        snapshotsVersion_ = history_->Version();
        // Older positions than the states kept are not checked.
        if (history_->UndoCount() >= snapshotBase_) {
            CompareSight(snapshots_[history_->UndoCount() - snapshotBase_], breach);
        }
    } else {
        ResetSnapshots();
    }
    if (reactionFailed_) {
        reactionFailed_ = false;
        return Status::Failed;
    }
    if (afterCommand_) {
        afterCommand_(out_);
    }
    return Status::Done;
}
