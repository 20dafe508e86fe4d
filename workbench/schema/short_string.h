#pragma once
// The two field encodings of the workbench's binary files: 32-bit little-endian integers and
// short strings (one length byte, then up to 255 bytes of text, no terminator).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva::schema {

/// Longest text a short string holds.
inline constexpr size_t kShortStringMax = 255;

/// The first 255 bytes of `text` at most, never ending inside a UTF-8 sequence.
std::string CutShortString(std::string_view text);

/// Appends fields to a byte buffer.
class BinaryWriter {
  public:
    void Int32(int32_t value);
    /// Writes the text cut with CutShortString.
    void ShortString(std::string_view text);
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

/// Reads fields from a byte buffer, checking every length against what is left. A read past
/// the end fails and leaves the reader failed; later reads fail too.
class BinaryReader {
  public:
    explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}
    bool Int32(int32_t* value);
    bool ShortString(std::string* text);
    /// A count: an int32 that must not be negative.
    bool Count(int32_t* value);
    bool AtEnd() const { return pos_ == bytes_.size(); }
    bool failed() const { return failed_; }

  private:
    bool Fail() {
        failed_ = true;
        return false;
    }
    std::string_view bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace morva::schema
