#include "component/binary_fields.h"

#include "component/utf8.h"

namespace morva::com {

std::string CutShortString(std::string_view text) {
    return std::string(CutUtf8(text, kShortStringMax));
}

void FieldWriter::Unsigned(uint64_t value, int width) {
    for (int i = 0; i < width; ++i) Byte(static_cast<uint8_t>(value >> (8 * i)));
}

void FieldWriter::ShortString(std::string_view text) {
    std::string_view cut = CutUtf8(text, kShortStringMax);
    Byte(static_cast<uint8_t>(cut.size()));
    bytes_ += cut;
}

bool FieldReader::Byte(uint8_t* value) {
    if (!Peek(value)) return false;
    ++pos_;
    return true;
}

bool FieldReader::Peek(uint8_t* value) {
    if (!Need(1)) return false;
    *value = static_cast<uint8_t>(bytes_[pos_]);
    return true;
}

bool FieldReader::Unsigned(int width, uint64_t* value) {
    if (!Need(static_cast<uint64_t>(width))) return false;
    uint64_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= uint64_t{static_cast<uint8_t>(bytes_[pos_ + static_cast<size_t>(i)])} << (8 * i);
    pos_ += static_cast<size_t>(width);
    *value = v;
    return true;
}

bool FieldReader::Int32(int32_t* value) {
    uint64_t v = 0;
    if (!Unsigned(4, &v)) return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

bool FieldReader::Count(int32_t* value) {
    if (!Int32(value)) return false;
    return *value >= 0 || Fail();
}

bool FieldReader::Bytes(uint64_t n, std::string_view* data) {
    if (!Need(n)) return false;
    *data = bytes_.substr(pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return true;
}

bool FieldReader::ShortString(std::string* text) {
    uint8_t n = 0;
    std::string_view data;
    if (!Byte(&n) || !Bytes(n, &data)) return false;
    text->assign(data);
    return true;
}

}  // namespace morva::com
