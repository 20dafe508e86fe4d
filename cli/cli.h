#pragma once
// The command line's shared pieces: global options, the subcommand table and exit statuses.

#include <span>
#include <string>
#include <vector>

namespace morva::cli {

/// Exit statuses: success; the script had errors or the run failed; bad usage or missing input.
enum Exit : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

/// Global options and the subcommand's own arguments.
struct Context {
    std::string settingsFile;       // --settings
    std::string databaseDir;        // --database-dir, else the settings' database folder
    std::string outputDir;          // --output-dir, else the settings' output folder
    std::vector<std::string> args;  // after the subcommand name
};

using Handler = int (*)(Context&);

struct Command {
    const char* name;
    const char* usage;  // argument synopsis
    const char* help;   // one paragraph
    Handler handler;    // null while the command is not built yet
};

/// Every subcommand, in the order `--help` lists them.
std::span<const Command> Commands();

/// Prints "morva-cli: message" to standard error and returns kExitUsage.
int UsageError(const std::string& message);

/// True when `args` holds the flag `name`; removes it.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
/// The value after option `name` (removed with it), or empty when absent. Sets `missing` when
/// the option is present without a value.
std::string TakeOption(std::vector<std::string>& args, const std::string& name, bool* missing);
/// Each value of a repeatable option, in order.
std::vector<std::string> TakeOptions(std::vector<std::string>& args, const std::string& name,
                                     bool* missing);

}  // namespace morva::cli
