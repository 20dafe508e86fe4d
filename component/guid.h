#pragma once
// Class, interface and type library identifiers.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morva::com {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    friend bool operator==(const Guid&, const Guid&) = default;
};

/// Text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal.
std::string ToString(const Guid& g);

}  // namespace morva::com
