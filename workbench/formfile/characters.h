#pragma once
// Characters of form strings: UTF-8 text to code points and back, and the conversion
// failure type shared by the parser, the reader and the writers.

#include <stdexcept>
#include <string>
#include <string_view>

namespace morva::formfile {

/// A conversion failure; the public functions turn it into an error message.
class FormError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Decodes UTF-8. A byte that does not begin a valid sequence stands for the character of
/// the same number, so text in a single-byte code page still reads as Latin-1.
std::u32string DecodeText(std::string_view bytes);

/// Appends the UTF-8 encoding of `c`, which must be a scalar value (no surrogate).
void AppendUtf8(char32_t c, std::string* out);

/// True for UTF-16 surrogate code points.
inline bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

/// Joins each high surrogate followed by a low surrogate into one character.
std::u32string JoinSurrogatePairs(std::u32string_view text);

/// True for the bytes that may appear in an identifier: letters, digits, "_" and the bytes
/// of non-ASCII characters.
inline bool IsIdentChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

/// True for "object", "inherited", "inline" and "end" in any letter case: the words that
/// begin and end blocks, which cannot serve as names or identifier values.
bool IsBlockWord(std::string_view word);

/// True when `name` is one identifier, or several joined by "." when `dotted`.
bool IsIdentifier(std::string_view name, bool dotted);

}  // namespace morva::formfile
