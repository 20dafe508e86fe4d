#include "workbench/schema/short_string.h"

namespace morva::schema {

std::string CutShortString(std::string_view text) {
    if (text.size() <= kShortStringMax) return std::string(text);
    size_t end = kShortStringMax;
    // Step back over continuation bytes so that a multi-byte sequence is not split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

void BinaryWriter::Int32(int32_t value) {
    auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void BinaryWriter::ShortString(std::string_view text) {
    std::string cut = CutShortString(text);
    bytes_.push_back(static_cast<char>(cut.size()));
    bytes_ += cut;
}

bool BinaryReader::Int32(int32_t* value) {
    if (failed_ || bytes_.size() - pos_ < 4) return Fail();
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    *value = static_cast<int32_t>(u);
    return true;
}

bool BinaryReader::ShortString(std::string* text) {
    if (failed_ || pos_ >= bytes_.size()) return Fail();
    size_t n = static_cast<unsigned char>(bytes_[pos_]);
    if (bytes_.size() - pos_ - 1 < n) return Fail();
    text->assign(bytes_.substr(pos_ + 1, n));
    pos_ += 1 + n;
    return true;
}

bool BinaryReader::Count(int32_t* value) {
    if (!Int32(value)) return false;
    return *value >= 0 || Fail();
}

}  // namespace morva::schema
