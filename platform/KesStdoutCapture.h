// Test support: captures what the library writes to standard output (std::cout) while the
// capture object lives.
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

class KesStdoutCapture {
public:
    KesStdoutCapture() : previous_(std::cout.rdbuf(buffer_.rdbuf())) {}
    ~KesStdoutCapture() { std::cout.rdbuf(previous_); }
    KesStdoutCapture(const KesStdoutCapture&) = delete;
    KesStdoutCapture& operator=(const KesStdoutCapture&) = delete;

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
    std::streambuf* previous_;
};
