#pragma once
// The lint: reads a script through the compiler's own scanner and parser and reports the
// mistakes the forgiving tag language lets through silently (a misspelt tag copied as text, a
// tag that clashes with the markup being generated, a variable never used, a file never
// closed, ...), besides the compiler's own errors and warnings. It never changes what a
// script compiles to or outputs.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morva::tpx {

/// One finding, located in the script.
struct LintFinding {
    /// Line (from 1) and column (in characters, from 1) where the finding starts.
    int32_t line = 0;
    int32_t column = 0;
    /// Byte offset and length of the text the finding is about.
    size_t offset = 0;
    size_t length = 0;
    /// The check's name: "near-miss-tag", "unused-variable", ...
    std::string check;
    std::string message;
};

/// Which checks run: `only` (when not empty) names the checks to run, `skip` those to leave
/// out. Unknown names select nothing.
struct LintOptions {
    std::vector<std::string> only;
    std::vector<std::string> skip;
};

/// The findings of the checks `options` select over the script `text`, in script order.
/// A comment line "<COMMENT> lint: ignore NAME..." silences the first finding of each check
/// named on the line after it. The lint compiles through the engine's one state and puts
/// back what the host had there, so it runs on the thread that compiles and runs scripts.
std::vector<LintFinding> LintScript(std::string_view text, const LintOptions& options = {});

/// Every check's name, in the order the reference lists them.
std::span<const std::string_view> LintCheckNames();

/// True when `name` names a check.
bool IsLintCheck(std::string_view name);

/// "FILE:LINE:COLUMN: warning: MESSAGE [CHECK]", the form editors and build logs annotate.
std::string FormatLintFinding(std::string_view file, const LintFinding& finding);

}  // namespace morva::tpx
