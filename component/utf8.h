#pragma once
// UTF-8 text measured and cut by characters (code points). Texts are bytes; these helpers never
// split a multi-byte sequence and treat a stray byte as one character of its own.

#include <cstddef>
#include <string_view>

namespace morva::com {

/// Whether `b` continues a multi-byte UTF-8 sequence (10xxxxxx).
constexpr bool IsUtf8Continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}
/// The longest prefix of `text` of at most `maxBytes` bytes that does not end inside a
/// multi-byte sequence.
std::string_view CutUtf8(std::string_view text, size_t maxBytes);
/// The number of characters of `text`: every byte that does not continue a sequence starts one.
/// ASCII text counts its bytes.
size_t CountCodePoints(std::string_view text);

}  // namespace morva::com
