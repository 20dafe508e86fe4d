// morva-cli lint [--check NAME]... [--ignore NAME]... SCRIPT...: reads each template script as
// the compiler does and prints its findings as "file:line:column: warning: message [check]".

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/handlers.h"
#include "engine/script/lint.h"

namespace morva::cli {

namespace {

/// Checks that every name in `names` is a check; otherwise a usage error listing them.
bool KnownChecks(const std::vector<std::string>& names, int* status) {
    for (const std::string& name : names) {
        if (tpx::IsLintCheck(name)) continue;
        std::string known;
        for (std::string_view check : tpx::LintCheckNames()) {
            known += known.empty() ? "" : ", ";
            known += check;
        }
        *status = UsageError("lint: unknown check " + name + " (checks: " + known + ")");
        return false;
    }
    return true;
}

}  // namespace

int LintCommand(Context& ctx) {
    bool missing = false;
    tpx::LintOptions options;
    options.only = TakeOptions(ctx.args, "--check", &missing);
    options.skip = TakeOptions(ctx.args, "--ignore", &missing);
    if (missing) return UsageError("lint: --check and --ignore need a check name");
    int status = kExitOk;
    if (!KnownChecks(options.only, &status) || !KnownChecks(options.skip, &status)) return status;
    if (ctx.args.empty()) return UsageError("lint: expected at least one SCRIPT");
    for (const std::string& path : ctx.args) {
        if (!path.empty() && path[0] == '-') return UsageError("lint: unknown option " + path);
    }
    bool found = false;
    for (const std::string& path : ctx.args) {
        std::error_code error;
        std::ifstream in(path, std::ios::binary);
        if (!in || std::filesystem::is_directory(path, error))
            return UsageError("lint: cannot read " + path);
        std::stringstream text;
        text << in.rdbuf();
        for (const tpx::LintFinding& finding : tpx::LintScript(text.str(), options)) {
            std::printf("%s\n", tpx::FormatLintFinding(path, finding).c_str());
            found = true;
        }
    }
    return found ? kExitFailed : kExitOk;
}

}  // namespace morva::cli
