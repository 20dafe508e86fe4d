#pragma once
// Unified differences between two texts, as `diff -u` prints them.

#include <string>
#include <string_view>

namespace morva::cli {

/// The unified difference from `before` to `after` with three lines of context under the
/// header lines `---` `from` and `+++` `to`; "" when the texts are equal. Lines are split at
/// line feeds; a carriage return stays part of its line.
std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& from,
                        const std::string& to);

}  // namespace morva::cli
