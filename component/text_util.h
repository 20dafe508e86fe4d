#pragma once
// Small helpers shared by the libraries: ASCII case folding and the configuration folder.

#include <string>
#include <string_view>

namespace morva::com {

/// Whether `c` is an ASCII lower-case letter.
constexpr bool IsLowerAscii(char c) {
    return c >= 'a' && c <= 'z';
}
/// `c` upper-cased when it is an ASCII letter, else as it stands.
constexpr char UpperAsciiChar(char c) {
    return IsLowerAscii(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
/// Upper-cases ASCII letters only; other bytes (UTF-8 sequences among them) stay as they are.
std::string ToUpperAscii(std::string_view s);
/// Compares ignoring the letter case of ASCII letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
/// $XDG_CONFIG_HOME, else $HOME/.config.
std::string ConfigDirectory();

}  // namespace morva::com
