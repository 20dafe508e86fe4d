#pragma once
// Running a program as a child process and reading what it cost: the end-to-end rows time
// whole commands, start-up and file creation included, as a user does.

#include <string>
#include <vector>

namespace morva::bench {

/// What one child process cost.
struct ChildCost {
    bool ok = false;     // started and exited with status 0
    double seconds = 0;  // processor time, user and system
    double user = 0;     // processor time in the program itself, the kernel's file work apart
    long peakKB = 0;     // largest resident set
};

/// Runs `argv` (argv[0] looked up on PATH) with its standard output and error sent to `log` and
/// the "NAME=value" settings of `environment` added to its environment, waits for it and
/// returns its cost.
ChildCost RunChild(const std::vector<std::string>& argv, const std::string& log = "/dev/null",
                   const std::vector<std::string>& environment = {});

/// The folder of the running program: the command line sits beside the bench program.
std::string ProgramFolder();

}  // namespace morva::bench
