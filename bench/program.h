#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// One run of a program under test: started at once, ended when this goes.
class Program {
public:
    using Clock = std::chrono::steady_clock;

    explicit Program(const std::string &path) : Program(std::vector<std::string>{path}) {}
    // The program at the first word's path, given the words after it as arguments.
    explicit Program(const std::vector<std::string> &command);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    pid_t pid() const { return pid_; }
    // Just before the program was executed.
    Clock::time_point started() const { return started_; }

    // The most memory the program has had resident so far, in KiB.
    long peakResidentKiB() const;
    // The processor time all its threads have had so far.
    std::chrono::nanoseconds cpuTime() const;

    // The next line the program writes, without its newline; none if it wrote
    // nothing whole before the deadline or ended.
    std::optional<std::string> readLine(Clock::time_point deadline);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
    Clock::time_point started_;
};
