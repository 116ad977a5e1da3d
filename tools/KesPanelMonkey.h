// KesPanelMonkey: throws random users and hostile callers at any panel and checks, after every
// step, what must hold for every panel (KesPanelChecks, and the refusals the session driver
// watches). Every step is one command line of the session driver (KesPanelDriver): a user action
// on a widget (sensitive ones mostly, insensitive and hidden ones too, which must refuse), a
// caller command with hostile arguments (NaN, infinities, the int limits, null, empty, long and
// invalid UTF-8 vectors and texts), a read with null vectors, or a command armed to run from
// inside the next notification of an attribute. So a failing run is a session script already.
//
// On a broken check the monkey shrinks the steps by delta debugging to a short sequence that
// breaks the same invariant on a fresh panel, and Script() writes it as a session script that
// the driver (kes-panel FILE) replays to the same failure: every line runs, the final "check"
// fails.
//
// A run is deterministic: the same seed (or bytes) and the same panel give the same steps. The
// panel is rebuilt by the builder for every replay of the shrinker; whatever else the panel
// reads (a settings folder) is brought back by the reset hook. While the monkey runs, what the
// library writes to the standard streams is discarded.
#pragma once

#include "platform/KesDlgTestFrame.h"
#include "tools/KesPanelChecks.h"
#include "tools/KesStepSource.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class KesPanelDriver;

class KesPanelMonkey {
public:
    // Builds and displays a fresh panel in `frame` (and fills the model as the panel needs);
    // answers what must live as long as the panel, or null.
    using Builder = std::function<std::shared_ptr<void>(KesDlgTestFrame& frame)>;

    struct Failure {
        int step = 0;                    // from 1
        std::string line;                // the step's command line
        KesPanelFault fault;             // what broke after it
        std::vector<std::string> shrunk; // the steps that break it, shrunk when Run shrinks
    };
    struct Result {
        int steps = 0;            // steps run
        int failedLines = 0;      // generated lines the driver did not take (none expected)
        bool interrupted = false; // stopped by the stop hook after `steps` steps
        std::optional<Failure> failure;
    };

    explicit KesPanelMonkey(Builder build);

    // Called before every panel is built: bring back what the panel reads besides itself.
    void SetReset(std::function<void()> reset) { reset_ = std::move(reset); }
    // Sets up the route of the gestures on each fresh panel, after its driver is made (a window
    // with its hands and its check, for example); answers what must live as long as the driver.
    using Route = std::function<std::shared_ptr<void>(KesDlgTestFrame& frame, KesPanelDriver&)>;
    void SetRoute(Route route) { route_ = std::move(route); }
    // Told the steps done before every step (0 first) and once at the end: a progress line.
    void SetProgress(std::function<void(int done)> progress) { progress_ = std::move(progress); }
    // Asked before every step and every replay of a shrinking: true stops the run there, with
    // the steps done so far (the same seed and that many steps replay them), or ends the
    // shrinking with the shortest steps found so far.
    void SetStop(std::function<bool()> stop) { stop_ = std::move(stop); }
    // Upper bound on the replays one shrinking makes (default 3000).
    void SetShrinkBudget(int replays) { shrinkBudget_ = replays; }

    // Runs `steps` steps drawn from `source` (fewer when a byte source runs dry or the stop
    // hook says so), checking after each; on the first broken check stops, and shrinks when
    // `shrink` is true.
    Result Run(KesStepSource& source, int steps, bool shrink = true);

    // Runs `lines` on a fresh panel, then the checks. `clean` (when given) tells whether every
    // line was carried out.
    KesPanelFault Replay(const std::vector<std::string>& lines, bool* clean = nullptr);
    // Delta debugging over `lines`: a sub-sequence that still breaks `invariant` on a fresh
    // panel, each of its lines needed (within the replay budget).
    std::vector<std::string> Shrink(std::vector<std::string> lines, const std::string& invariant);

    // The session script of a failure: a comment saying what broke, the shrunk steps, "check".
    // `replay` is the command that replays it, FILE standing for the script.
    static std::string Script(const Failure& failure, const std::string& origin,
                              const std::string& replay = "kes-panel FILE");

private:
    class Session;
    bool Breaks(const std::vector<std::string>& lines, const std::string& invariant);

    Builder build_;
    std::function<void()> reset_;
    Route route_;
    std::function<void(int)> progress_;
    std::function<bool()> stop_;
    int shrinkBudget_ = 3000;
    int replays_ = 0;
};
