// KesRunProgress: the progress line of a long run; KesInterruptCatcher: Ctrl+C as a request to
// stop at the next step boundary.
#include "tools/KesRunProgress.h"

#include <algorithm>
#include <csignal>
#include <utility>

// =============================================================================================
// The progress line
// =============================================================================================
KesRunProgress::KesRunProgress(std::ostream& out, bool terminal, std::string what, long long total,
                               uint32_t seed, Clock clock)
    : out_(out), terminal_(terminal), what_(std::move(what)), total_(total), seed_(seed),
      clock_(clock ? std::move(clock) : Clock(&std::chrono::steady_clock::now)), start_(clock_()),
      shown_(start_) {}

std::string KesRunProgress::Line(long long done,
                                 std::chrono::steady_clock::duration elapsed) const {
    const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    const long long perSecond =
        micros > 0
            ? static_cast<long long>(static_cast<double>(done) * 1e6 / static_cast<double>(micros))
            : 0;
    std::string line =
        what_ + ": " + std::to_string(done) + " of " + std::to_string(total_) + " steps";
    if (total_ > 0) {
        line += " (" + std::to_string(done * 100 / total_) + "%)";
    }
    return line + ", " + std::to_string(perSecond) + " steps/s, seed " + std::to_string(seed_);
}

void KesRunProgress::Update(long long done) {
    if (!terminal_ || finished_) {
        return;
    }
    const std::chrono::steady_clock::time_point now = clock_();
    if (now - start_ < kDelay || (width_ > 0 && now - shown_ < kRefresh)) {
        return;
    }
    const std::string line = Line(done, now - start_);
    // A shorter line than the one shown covers its end with blanks.
    out_ << '\r' << line << std::string(width_ > line.size() ? width_ - line.size() : 0, ' ')
         << std::flush;
    width_ = std::max(width_, line.size());
    shown_ = now;
}

void KesRunProgress::Finish() {
    if (!finished_ && width_ > 0) {
        out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
    }
    finished_ = true;
}

// =============================================================================================
// Ctrl+C
// =============================================================================================
namespace {

volatile std::sig_atomic_t interruptRequested = 0;

extern "C" void KesOnInterrupt(int) {
    interruptRequested = 1;
}

} // namespace

KesInterruptCatcher::KesInterruptCatcher() {
    interruptRequested = 0;
    previous_ = std::signal(SIGINT, &KesOnInterrupt);
    if (previous_ == SIG_ERR) {
        previous_ = SIG_DFL;
    }
}

KesInterruptCatcher::~KesInterruptCatcher() {
    std::signal(SIGINT, previous_);
}

bool KesInterruptCatcher::Requested() {
    return interruptRequested != 0;
}

void KesInterruptCatcher::Request() {
    interruptRequested = 1;
}
