#pragma once
// Recognising a binary form file by its first bytes, for tests of the writer's output.

#include <string_view>

namespace morva::formfile::testing {

/// True when `data` begins like a binary form file (the resource header or "TPF0").
inline bool LooksLikeBinaryFormFile(std::string_view data) {
    using namespace std::string_view_literals;
    return data.starts_with("TPF0") || data.starts_with("\xFF\x0A\x00"sv);
}

}  // namespace morva::formfile::testing
