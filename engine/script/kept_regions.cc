#include "engine/script/kept_regions.h"

#include <unordered_map>

namespace morva::tpx {

namespace {

constexpr std::string_view kBegin = "MORVA-KEEP-BEGIN";
constexpr std::string_view kEnd = "MORVA-KEEP-END";

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// The name after `marker` on `line`, or "" when the line has no such marker with a name.
std::string_view MarkerName(std::string_view line, std::string_view marker) {
    size_t at = line.find(marker);
    if (at == std::string_view::npos) return {};
    size_t from = at + marker.size();
    if (from >= line.size() || !Blank(line[from])) return {};
    while (from < line.size() && Blank(line[from])) ++from;
    size_t to = from;
    while (to < line.size() && !Blank(line[to])) ++to;
    return line.substr(from, to - from);
}

/// A region as found: where its body starts and ends in the text.
struct Span {
    std::string_view name;
    size_t bodyStart, bodyEnd;
};

std::vector<Span> FindSpans(std::string_view text) {
    std::vector<Span> spans;
    std::string_view open;
    size_t bodyStart = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(start, end - start);
        if (open.empty()) {
            open = MarkerName(line, kBegin);
            bodyStart = end;
        } else if (MarkerName(line, kEnd) == open) {
            bool seen = false;
            for (const Span& s : spans) seen = seen || s.name == open;
            if (!seen) spans.push_back({open, bodyStart, start});
            open = {};
        }
        start = end;
    }
    return spans;
}

}  // namespace

bool HasKeptRegionMarker(std::string_view text) {
    return text.find(kBegin) != std::string_view::npos;
}

std::vector<KeptRegion> FindKeptRegions(std::string_view text) {
    std::vector<KeptRegion> regions;
    for (const Span& s : FindSpans(text))
        regions.push_back(
            {std::string(s.name), std::string(text.substr(s.bodyStart, s.bodyEnd - s.bodyStart))});
    return regions;
}

std::string MergeKeptRegions(std::string_view generated, std::string_view onDisk,
                             std::vector<KeptRegion>* lost) {
    std::vector<Span> kept = FindSpans(onDisk);
    std::vector<Span> fresh = FindSpans(generated);
    std::unordered_map<std::string_view, const Span*> byName;
    for (const Span& s : kept) byName.emplace(s.name, &s);
    std::string merged;
    merged.reserve(generated.size());
    size_t copied = 0;
    for (const Span& s : fresh) {
        auto found = byName.find(s.name);
        if (found == byName.end()) continue;
        merged.append(generated.substr(copied, s.bodyStart - copied));
        const Span& old = *found->second;
        merged.append(onDisk.substr(old.bodyStart, old.bodyEnd - old.bodyStart));
        copied = s.bodyEnd;
        byName.erase(found);
    }
    merged.append(generated.substr(copied));
    for (const Span& s : kept) {
        if (byName.count(s.name) != 0 && lost)
            lost->push_back({std::string(s.name),
                             std::string(onDisk.substr(s.bodyStart, s.bodyEnd - s.bodyStart))});
    }
    return merged;
}

}  // namespace morva::tpx
