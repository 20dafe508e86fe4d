#include "workbench/formfile/binary_reader.h"

#include <cstring>
#include <limits>

#include "workbench/formfile/binary_writer.h"
#include "workbench/formfile/characters.h"

namespace morva::formfile {
namespace {

class BinaryReader {
  public:
    BinaryReader(std::string_view data, size_t offset) : data_(data), offset_(offset) {}

    FormObject ReadStream() {
        if (data_.size() < 4 || data_.substr(0, 4) != std::string_view(kSignature, 4))
            throw FormError("Not a binary form file (no TPF0 signature)");
        pos_ = 4;
        return ReadObject(0);
    }

  private:
    [[noreturn]] void Fail(const std::string& what, size_t at) const {
        throw FormError(what + " at offset " + std::to_string(offset_ + at));
    }
    void Need(size_t n) const {
        if (n > data_.size() - pos_) Fail("Unexpected end of data", data_.size());
    }
    unsigned Byte() {
        Need(1);
        return static_cast<unsigned char>(data_[pos_++]);
    }
    unsigned Peek() {
        Need(1);
        return static_cast<unsigned char>(data_[pos_]);
    }
    uint64_t Number(int n) {
        Need(static_cast<size_t>(n));
        uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= uint64_t{static_cast<unsigned char>(data_[pos_ + i])} << (8 * i);
        pos_ += static_cast<size_t>(n);
        return v;
    }
    std::string_view Bytes(uint64_t n) {
        if (n > data_.size() - pos_) Fail("Unexpected end of data", data_.size());
        auto s = data_.substr(pos_, static_cast<size_t>(n));
        pos_ += static_cast<size_t>(n);
        return s;
    }
    std::string ShortString() { return std::string(Bytes(Byte())); }
    template <typename T>
    T Raw(size_t n) {
        T v{};
        std::memcpy(&v, Bytes(n).data(), n);
        return v;
    }

    // An integer of one of the 8-, 16- or 32-bit value types.
    int32_t SmallInteger(unsigned type) {
        switch (type) {
            case vaInt8:
                return static_cast<int8_t>(Number(1));
            case vaInt16:
                return static_cast<int16_t>(Number(2));
            default:
                return static_cast<int32_t>(Number(4));
        }
    }
    static bool IsSmallInteger(unsigned type) {
        return type == vaInt8 || type == vaInt16 || type == vaInt32;
    }

    std::vector<Property> Properties(int depth) {
        std::vector<Property> properties;
        while (Peek() != vaNull) {
            Property p;
            p.name = ShortString();
            p.value = ReadValue(depth);
            properties.push_back(std::move(p));
        }
        ++pos_;
        return properties;
    }

    Value ReadValue(int depth) {
        if (depth > kMaxNesting) Fail("Values nested too deeply", pos_);
        size_t at = pos_;
        unsigned type = Byte();
        Value v;
        switch (type) {
            case vaNull:
                v.kind = ValueKind::kNull;
                break;
            case vaFalse:
                v.kind = ValueKind::kFalse;
                break;
            case vaTrue:
                v.kind = ValueKind::kTrue;
                break;
            case vaNil:
                v.kind = ValueKind::kNil;
                break;
            case vaInt8:
            case vaInt16:
            case vaInt32:
                v.kind = ValueKind::kInteger;
                v.integer = SmallInteger(type);
                break;
            case vaInt64:
                v.kind = ValueKind::kInteger;
                v.integer = static_cast<int64_t>(Number(8));
                break;
            case vaExtended:
                v.kind = ValueKind::kExtended;
                v.extended = Raw<long double>(10);
                break;
            case vaSingle:
                v.kind = ValueKind::kSingle;
                v.single = Raw<float>(4);
                break;
            case vaDate:
                v.kind = ValueKind::kDate;
                v.date = Raw<double>(8);
                break;
            case vaCurrency:
                v.kind = ValueKind::kCurrency;
                v.integer = static_cast<int64_t>(Number(8));
                break;
            case vaString:
                v.kind = ValueKind::kString;
                v.text = DecodeText(Bytes(Byte()));
                break;
            case vaLString:
            case vaUTF8String:
                v.kind = ValueKind::kString;
                v.text = DecodeText(Bytes(Number(4)));
                break;
            case vaWString: {
                v.kind = ValueKind::kString;
                uint64_t count = Number(4);
                std::string_view units = Bytes(count * 2);
                std::u32string text;
                for (size_t i = 0; i < units.size(); i += 2)
                    text.push_back(static_cast<unsigned char>(units[i]) |
                                   (static_cast<unsigned char>(units[i + 1]) << 8));
                v.text = JoinSurrogatePairs(text);
                break;
            }
            case vaIdent:
                v.kind = ValueKind::kIdent;
                v.bytes = ShortString();
                break;
            case vaBinary:
                v.kind = ValueKind::kBinary;
                v.bytes = std::string(Bytes(Number(4)));
                break;
            case vaSet:
                v.kind = ValueKind::kSet;
                for (std::string e = ShortString(); !e.empty(); e = ShortString())
                    v.set.push_back(e);
                break;
            case vaList:
                v.kind = ValueKind::kList;
                while (Peek() != vaNull) v.list.push_back(ReadValue(depth + 1));
                ++pos_;
                break;
            case vaCollection:
                v.kind = ValueKind::kCollection;
                while (Peek() != vaNull) {
                    CollectionItem item;
                    if (IsSmallInteger(Peek())) item.index = SmallInteger(Byte());
                    if (Peek() != vaList) Fail("Collection item expected", pos_);
                    ++pos_;
                    item.properties = Properties(depth + 1);
                    v.items.push_back(std::move(item));
                }
                ++pos_;
                break;
            default:
                Fail("Invalid value type " + std::to_string(type), at);
        }
        return v;
    }

    FormObject ReadObject(int depth) {
        if (depth > kMaxNesting) Fail("Objects nested too deeply", pos_);
        FormObject o;
        if ((Peek() & 0xF0) == 0xF0) {
            size_t at = pos_;
            unsigned flags = Byte() & 0x0F;
            if ((flags & ~(ffInherited | ffChildPos | ffInline)) != 0 ||
                (flags & (ffInherited | ffInline)) == (ffInherited | ffInline))
                Fail("Invalid filer flags " + std::to_string(flags), at);
            if (flags & ffInherited) o.kind = ObjectKind::kInherited;
            if (flags & ffInline) o.kind = ObjectKind::kInline;
            if (flags & ffChildPos) {
                unsigned type = Byte();
                if (!IsSmallInteger(type)) Fail("Integer expected", pos_ - 1);
                o.childPos = SmallInteger(type);
            }
        }
        size_t at = pos_;
        o.className = ShortString();
        if (o.className.empty()) Fail("Class name expected", at);
        o.name = ShortString();
        o.properties = Properties(depth);
        while (Peek() != vaNull) o.children.push_back(ReadObject(depth + 1));
        ++pos_;
        return o;
    }

    std::string_view data_;
    size_t offset_;  // of data_ in the file, for messages
    size_t pos_ = 0;
};

}  // namespace

std::string_view StripResourceHeader(std::string_view data) {
    if (data.empty() || static_cast<unsigned char>(data[0]) != 0xFF) return data;
    auto byte = [&](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(data[i]));
    };
    auto truncated = [] { return FormError("Resource header is truncated"); };
    if (data.size() < 3) throw truncated();
    if ((byte(1) | byte(2) << 8) != 10)
        throw FormError("Resource type is not 10 (not a form resource)");
    size_t pos = 3;
    if (pos + 1 < data.size() && byte(pos) == 0xFF) {
        pos += 3;  // a numbered resource: 0xFF and a 16-bit number
    } else {
        size_t end = data.find('\0', pos);
        if (end == std::string_view::npos) throw truncated();
        pos = end + 1;
    }
    if (pos + 6 > data.size()) throw truncated();
    pos += 2;  // memory flags
    uint32_t length =
        byte(pos) | byte(pos + 1) << 8 | byte(pos + 2) << 16 | uint32_t{byte(pos + 3)} << 24;
    pos += 4;
    if (length > data.size() - pos)
        throw FormError("Unexpected end of data: the header announces " + std::to_string(length) +
                        " bytes, " + std::to_string(data.size() - pos) + " follow");
    return data.substr(pos, length);
}

FormObject ReadBinary(std::string_view stream, size_t streamOffset) {
    return BinaryReader(stream, streamOffset).ReadStream();
}

}  // namespace morva::formfile
