#pragma once
// Little-endian fields of the binary files (table files, schema files, keyword and macro files,
// binary form streams): integers of 1 to 8 bytes, raw bytes and short strings (one length byte,
// then up to 255 bytes of text, no terminator). Each format keeps its own layout and messages;
// these classes only put and take the fields.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva::com {

/// Longest text a short string holds.
inline constexpr size_t kShortStringMax = 255;

/// The first 255 bytes of `text` at most, never ending inside a UTF-8 sequence.
std::string CutShortString(std::string_view text);

/// Appends fields to a byte buffer.
class FieldWriter {
  public:
    void Byte(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    /// The low `width` bytes of `value`, least significant first.
    void Unsigned(uint64_t value, int width);
    void Int32(int32_t value) { Unsigned(static_cast<uint32_t>(value), 4); }
    void Bytes(std::string_view data) { bytes_ += data; }
    /// The text cut with CutShortString, after its length byte.
    void ShortString(std::string_view text);
    const std::string& bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

/// Takes fields from the front of a byte buffer, checking every length against what is left.
/// A read past the end fails and leaves the reader failed: later reads fail too and take
/// nothing.
class FieldReader {
  public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

    bool Byte(uint8_t* value);
    /// The next byte without taking it.
    bool Peek(uint8_t* value);
    /// `width` (1 to 8) bytes, least significant first.
    bool Unsigned(int width, uint64_t* value);
    bool Int32(int32_t* value);
    /// A count: an int32 that must not be negative.
    bool Count(int32_t* value);
    /// The next `n` bytes, viewing the buffer.
    bool Bytes(uint64_t n, std::string_view* data);
    bool ShortString(std::string* text);

    size_t position() const { return pos_; }
    size_t remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    bool failed() const { return failed_; }
    /// Leaves the reader failed, for a value its format rejects.
    bool Fail() {
        failed_ = true;
        return false;
    }

  private:
    bool Need(uint64_t n) { return !failed_ && n <= remaining() ? true : Fail(); }

    std::string_view bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace morva::com
