// KesRunProgress: where a long run stands, on one line of a terminal rewritten in place ('\r'):
// the steps done of those asked, the steps per second since the start, the seed. A run shorter
// than kDelay shows nothing, and the line is rewritten at most every kRefresh, so that a fast
// run does not spend its time writing. Finish() (or the destructor) wipes the line, so that what
// the program writes after it starts on a clean line.
//
// KesInterruptCatcher: while it lives, Ctrl+C (SIGINT) only sets a flag, which a long run asks
// at every step boundary to stop there, cleanly, and say how to replay what it did.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

class KesRunProgress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr std::chrono::milliseconds kDelay{1000};  // no line before the run lasts it
    static constexpr std::chrono::milliseconds kRefresh{250}; // between two rewrites of the line

    // Writes into `out` only when `terminal` (a run whose standard error is a file or a pipe
    // writes nothing); `what` names the run ("monkey"), `total` the steps asked for. The clock
    // is std::chrono::steady_clock::now unless one is given (a test's); the run starts at the
    // construction.
    KesRunProgress(std::ostream& out, bool terminal, std::string what, long long total,
                   uint32_t seed, Clock clock = {});
    ~KesRunProgress() { Finish(); }
    KesRunProgress(const KesRunProgress&) = delete;
    KesRunProgress& operator=(const KesRunProgress&) = delete;

    // After `done` steps: rewrites the line when it is due.
    void Update(long long done);
    // Wipes the line when one was shown; Update shows nothing afterwards.
    void Finish();

    // The line after `done` steps in `elapsed`: "monkey: 1200 of 5000 steps (24%), 800 steps/s,
    // seed 7".
    std::string Line(long long done, std::chrono::steady_clock::duration elapsed) const;

private:
    std::ostream& out_;
    bool terminal_;
    std::string what_;
    long long total_;
    uint32_t seed_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point shown_; // when the line was last written
    size_t width_ = 0;                            // of the line on the terminal; 0: none shown
    bool finished_ = false;
};

class KesInterruptCatcher {
public:
    // Clears the flag and catches SIGINT until destroyed, when the handler before it is back.
    KesInterruptCatcher();
    ~KesInterruptCatcher();
    KesInterruptCatcher(const KesInterruptCatcher&) = delete;
    KesInterruptCatcher& operator=(const KesInterruptCatcher&) = delete;

    // True once SIGINT came (or Request() was called) since the catcher was made.
    static bool Requested();
    // What the handler does: asks the run to stop at its next step boundary.
    static void Request();

private:
    void (*previous_)(int) = nullptr;
};
