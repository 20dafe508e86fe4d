#include "cli/unified_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <sstream>
#include <vector>

namespace morva::cli {

namespace {

/// The lines of `text` without their line feeds; a last line without one is marked so that
/// a missing final line feed shows as a difference.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(std::string(text.substr(start)) + "\n\\ No newline at end of file");
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

/// A hunk's range of one side: its first line and its count, the count left out when it is one;
/// a side with no lines names the line before the hunk.
std::string Range(size_t before, size_t lines) {
    std::string first = std::to_string(before + (lines ? 1 : 0));
    return lines == 1 ? first : first + "," + std::to_string(lines);
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& from,
                        const std::string& to) {
    if (before == after) return {};
    std::vector<std::string> a = Lines(before), b = Lines(after);
    dtl::Diff<std::string> diff(a, b);
    diff.onHuge();
    diff.compose();
    const auto& steps = diff.getSes().getSequence();
    std::ostringstream out;
    out << "--- " << from << "\n+++ " << to << "\n";
    constexpr size_t kContext = 3;
    auto changed = [&](size_t i) { return steps[i].second.type != dtl::SES_COMMON; };
    // Lines of each side before step i, counted as the steps go.
    size_t beforeA = 0, beforeB = 0, counted = 0;
    auto countTo = [&](size_t i) {
        for (; counted < i; ++counted) {
            beforeA += steps[counted].second.type != dtl::SES_ADD;
            beforeB += steps[counted].second.type != dtl::SES_DELETE;
        }
    };
    for (size_t i = 0; i < steps.size();) {
        if (!changed(i)) {
            ++i;
            continue;
        }
        // A hunk runs from the context before this change to the context after the last
        // change that lies within twice the context of the one before it.
        size_t last = i;
        for (size_t j = i + 1; j < steps.size() && j <= last + 2 * kContext + 1; ++j)
            if (changed(j)) last = j;
        size_t start = i >= kContext ? i - kContext : 0;
        size_t end = std::min(steps.size(), last + 1 + kContext);
        countTo(start);
        size_t linesA = 0, linesB = 0;
        for (size_t j = start; j < end; ++j) {
            linesA += steps[j].second.type != dtl::SES_ADD;
            linesB += steps[j].second.type != dtl::SES_DELETE;
        }
        out << "@@ -" << Range(beforeA, linesA) << " +" << Range(beforeB, linesB) << " @@\n";
        // In each run of changes the removed lines come before the added ones.
        for (size_t j = start; j < end;) {
            if (!changed(j)) {
                out << ' ' << steps[j++].first << "\n";
                continue;
            }
            size_t runEnd = j;
            while (runEnd < end && changed(runEnd)) ++runEnd;
            for (dtl::edit_t type : {dtl::SES_DELETE, dtl::SES_ADD}) {
                for (size_t k = j; k < runEnd; ++k) {
                    if (steps[k].second.type == type)
                        out << (type == dtl::SES_ADD ? '+' : '-') << steps[k].first << "\n";
                }
            }
            j = runEnd;
        }
        i = end;
    }
    return out.str();
}

}  // namespace morva::cli
