#pragma once
// The macro button file "MacroBtn.CDF": the user's text-inserting buttons.
//
// Layout, little-endian, no header: a 32-bit button count, then per button its caption, hint
// and text (each one length byte and that many bytes) and its 32-bit flags.

#include <cstdint>
#include <string>
#include <vector>

namespace morva::app {

/// Flags bits 0-7: where the caret ends within the inserted text.
inline constexpr int32_t kMacroCaretMask = 0xFF;
/// Flags bit 8: the button is shown on the panel.
inline constexpr int32_t kMacroEnabled = 0x100;

struct MacroButton {
    std::string caption;
    std::string hint;
    std::string text;
    int32_t flags = kMacroEnabled;

    int CaretOffset() const { return flags & kMacroCaretMask; }
    bool Enabled() const { return (flags & kMacroEnabled) != 0; }
    bool operator==(const MacroButton&) const = default;
};

/// Reads `path`. A file shorter than its fields, or with a negative count, is rejected with
/// "Invalid file format(path)"; a file that cannot be opened with "path: reason". Nothing is stored
/// in `buttons` on failure.
bool ReadMacroFile(const std::string& path, std::vector<MacroButton>* buttons, std::string* error);

/// The file's bytes; texts longer than 255 bytes are cut without splitting a UTF-8 sequence.
std::string EncodeMacroFile(const std::vector<MacroButton>& buttons);

/// Replaces `path` atomically with the encoded `buttons`.
bool WriteMacroFile(const std::string& path, const std::vector<MacroButton>& buttons,
                    std::string* error);

}  // namespace morva::app
