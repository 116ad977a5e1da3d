// KesPanelDriver: undo and redo, values files, and the end of every command for the history.
//
// The driver checks undo and redo against states of its own, taken whole after each step: after
// an undo, every attribute's records and option state must be those before the step, after a
// redo those after it; save what a caller cannot give back (CallerCannotGive). A breach is kept as
// a fault for the next Check, as the refusals are.
#include "tools/KesPanelDriver.h"

#include "choice/KesMfgAttCharList.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgCombo.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "tools/KesAtomicFile.h"
#include "tools/KesValuesFile.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

// States a caller cannot give back (KesPanelHistory.h): no value yet, a bounded number outside
// its limits, an empty list, a binding
// to a parameter named longer than 16 characters, a text choice that is none of the allowed
// values or, in an editable combo, none of the allowed values' lines (the field shows a
// caller's value as the text of its line).
bool CallerCannotGive(KesMfgAttribute& attribute, const KesAttributeState& state) {
    const KesMfgValueRecords& records = state.records;
    if (records.IsEmpty()) {
        return true;
    }
    if (records.counts.Size() != 1 || dynamic_cast<KesMfgAttLink*>(&attribute) != nullptr ||
        state.optionState == 0) {
        return false;
    }
    const int count = records.counts[1];
    // A bounded integer's or real's value outside its limits (one not yet defined reads 0):
    // the caller's SetAttValue refuses or clamps it.
    if (const auto* integer = dynamic_cast<KesMfgAttInt*>(&attribute);
        integer != nullptr && integer->HasLimits() && count == 1 && records.ints.Size() == 1) {
        return records.ints[1] < integer->GetMinimum() || records.ints[1] > integer->GetMaximum();
    }
    if (const auto* real = dynamic_cast<KesMfgAttDouble*>(&attribute);
        real != nullptr && real->HasLimits() && count == 1 && records.reals.Size() == 1) {
        return !(records.reals[1] >= real->GetMinimum() && records.reals[1] <= real->GetMaximum());
    }
    if (count == -1) {
        return records.texts.Size() == 1 && records.texts[1].Str().find_last_not_of(' ') + 1 > 16;
    }
    const auto* choices = dynamic_cast<KesMfgAttCharList*>(&attribute);
    if (count == 0 || choices == nullptr || records.texts.Size() != 1) {
        return count == 0;
    }
    // An editable combo's value is the text of its field: a caller's value shows as its line.
    const KesDlgCombo* combo = choices->GetComboWidget();
    bool aLine = false;
    const int allowedLines = choices->GetAllowedValues().Size(); // typed lines come after
    for (int row = 0;
         combo != nullptr && row < std::min(combo->GetLineCount(), allowedLines) && !aLine; ++row) {
        aLine = combo->GetLine(row) == records.texts[1];
    }
    return choices->GetAllowedValues().Locate(records.texts[1]) == 0 ||
           (combo != nullptr && combo->IsEditable() && !aLine);
}

// The states are equal; for a parameterised real, whose text field shows a caller's value with
// six significant digits, equal to that precision.
bool SameAsACallerGivesIt(KesMfgAttribute& attribute, const KesAttributeState& expected,
                          const KesAttributeState& now) {
    if (expected == now) {
        return true;
    }
    if (dynamic_cast<KesMfgAttDoubleParam*>(&attribute) == nullptr) {
        return false;
    }
    KesAttributeState rounded = now;
    rounded.records.reals = expected.records.reals;
    if (rounded != expected || now.records.reals.Size() != 1) {
        return false;
    }
    const double a = expected.records.reals[1];
    const double b = now.records.reals[1];
    return std::fabs(a - b) <= 5e-6 * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

std::vector<KesAttributeState> KesPanelDriver::PanelState() const {
    std::vector<KesAttributeState> state;
    for (KesMfgAttribute* attribute : Attributes()) {
        state.push_back(KesAttributeState::Read(*attribute));
    }
    return state;
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
    snapshots_.assign(1, PanelState());
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
        snapshots_.push_back(PanelState());
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
        out_ << "  refused: nothing to " << command << "\n";
        return Status::Done;
    }
    const bool followed = SnapshotsFollow();
    const size_t position = history_->UndoCount();
    const size_t undone = history_->RedoCount();
    const size_t armed = armed_.size();
    lineNumber_ = lineNumber;
    out_ << "  " << (undo ? "undone: " : "redone: ")
         << (undo ? history_->UndoLabel() : history_->RedoLabel()) << "\n";
    undo ? history_->Undo() : history_->Redo();
    ReportNotifications();
    callerWrote_ = false;
    if (armed_.size() != armed) {
        // A command ran from inside a notification: the panel is not the step's alone.
        history_->Clear();
        ResetSnapshots();
    } else if (followed && history_->UndoCount() == (undo ? position - 1 : position + 1) &&
               history_->RedoCount() == (undo ? undone + 1 : undone - 1)) {
        snapshotsVersion_ = history_->Version();
        const std::vector<KesMfgAttribute*> attributes = Attributes();
        // Older positions than the states kept are not checked.
        const std::vector<KesAttributeState> none;
        const std::vector<KesAttributeState>& expected =
            history_->UndoCount() < snapshotBase_
                ? none
                : snapshots_[history_->UndoCount() - snapshotBase_];
        const std::vector<KesAttributeState> now = expected.empty() ? none : PanelState();
        for (size_t i = 0; i < expected.size() && i < now.size(); ++i) {
            if (!CallerCannotGive(*attributes[i], expected[i]) &&
                !SameAsACallerGivesIt(*attributes[i], expected[i], now[i])) {
                KeepFault(undo ? "an undo did not bring back the state before the step"
                               : "a redo did not bring back the state after the step",
                          attributes[i]->GetRecordName().Str());
                break;
            }
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
