#pragma once
// The script layer's API for its hosts: compile a script text into a program with its
// diagnostics, and run a program over a store. Both write their log lines to the host and
// return a status, so that no host has to read the log to learn how they went.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/script/diagnostics.h"
#include "engine/script/exe.h"

namespace morva::tpx {

class CDatabase;

/// The counts of a compilation.
struct CompileStatus {
    int32_t errors = 0;
    int32_t warnings = 0;
    int32_t fatals = 0;
    /// True when the program may run: no errors and no fatals.
    bool ok() const { return errors == 0 && fatals == 0; }
};

/// How a run ended.
enum class RunStatus {
    Completed,    // the log ends with "End script."
    Failed,       // a run-time error; the log ends with its message
    OutOfMemory,  // the run stopped for want of memory; the host tells the user
};

/// What a host chooses for a run.
struct RunOptions {
    LineEnd lineEnd = LineEnd::CarriageReturnLineFeed;
    /// The output files of the run, with the policy the host chose and the outcomes it reads
    /// afterwards; null writes changed files to disk in the current folder.
    OutputFiles* files = nullptr;
};

/// Compiles `text`, named `name` in every message, into `script` (discarding what it held),
/// writing "NAME Compiling...", the messages and the closing count line to `host`'s log.
/// `observer`, when not null, sees the tokens of the compilation.
CompileStatus CompileText(EngineControl& host, const std::string& name, std::string_view text,
                          Exe& script, TokenObserver* observer = nullptr);

/// Runs the compiled `script` over `store` in the current folder (or through options.files),
/// writing "Start script...", the text written outside output files and "End script." (or the
/// run-time error) to `host`'s log, and reporting form files to `host`.
RunStatus RunProgram(EngineControl& host, Exe& script, const CDatabase& store,
                     const RunOptions& options);

}  // namespace morva::tpx
