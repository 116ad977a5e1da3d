// Test support: captures what the library writes to a standard stream while the capture
// object lives. KesStdoutCapture takes std::cout (trace lines), KesStderrCapture std::cerr
// (messages reported to the user).
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

class KesStreamCapture {
public:
    explicit KesStreamCapture(std::ostream& stream)
        : stream_(stream), previous_(stream.rdbuf(buffer_.rdbuf())) {}
    ~KesStreamCapture() { stream_.rdbuf(previous_); }
    KesStreamCapture(const KesStreamCapture&) = delete;
    KesStreamCapture& operator=(const KesStreamCapture&) = delete;

    std::string Text() const { return buffer_.str(); }
    // The captured text split at line ends (a last line without its end is kept).
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(buffer_.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    void Clear() { buffer_.str(std::string()); }

private:
    std::ostringstream buffer_;
    std::ostream& stream_;
    std::streambuf* previous_;
};

class KesStdoutCapture : public KesStreamCapture {
public:
    KesStdoutCapture() : KesStreamCapture(std::cout) {}
};

class KesStderrCapture : public KesStreamCapture {
public:
    KesStderrCapture() : KesStreamCapture(std::cerr) {}
};
