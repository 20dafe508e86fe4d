#pragma once
// Helpers shared by the fuzz targets.

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace morva::fuzz {

/// Ends the process so that libFuzzer keeps the input, when a property does not hold.
inline void Require(bool condition) {
    if (!condition) std::abort();
}

/// The fuzzer's bytes as text.
inline std::string_view AsText(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace morva::fuzz
