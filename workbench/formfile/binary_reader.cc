#include "workbench/formfile/binary_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "component/binary_fields.h"
#include "workbench/formfile/binary_writer.h"
#include "workbench/formfile/characters.h"

namespace morva::formfile {
namespace {

class BinaryReader {
  public:
    BinaryReader(std::string_view data, size_t offset)
        : in_(data), size_(data.size()), offset_(offset) {}

    FormObject ReadStream() {
        std::string_view signature;
        if (!in_.Bytes(4, &signature) || signature != std::string_view(kSignature, 4))
            throw FormError("Not a binary form file (no TPF0 signature)");
        return ReadObject(0);
    }

  private:
    [[noreturn]] void Fail(const std::string& what, size_t at) const {
        throw FormError(what + " at offset " + std::to_string(offset_ + at));
    }
    [[noreturn]] void Truncated() const { Fail("Unexpected end of data", size_); }
    unsigned Byte() {
        uint8_t b = 0;
        if (!in_.Byte(&b)) Truncated();
        return b;
    }
    unsigned Peek() {
        uint8_t b = 0;
        if (!in_.Peek(&b)) Truncated();
        return b;
    }
    // Takes the byte that Peek showed.
    void Skip() { Byte(); }
    uint64_t Number(int n) {
        uint64_t v = 0;
        if (!in_.Unsigned(n, &v)) Truncated();
        return v;
    }
    std::string_view Bytes(uint64_t n) {
        std::string_view s;
        if (!in_.Bytes(n, &s)) Truncated();
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
        Skip();
        return properties;
    }

    Value ReadValue(int depth) {
        if (depth > kMaxNesting) Fail("Values nested too deeply", in_.position());
        size_t at = in_.position();
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
                Skip();
                break;
            case vaCollection:
                v.kind = ValueKind::kCollection;
                while (Peek() != vaNull) {
                    CollectionItem item;
                    if (IsSmallInteger(Peek())) item.index = SmallInteger(Byte());
                    if (Peek() != vaList) Fail("Collection item expected", in_.position());
                    Skip();
                    item.properties = Properties(depth + 1);
                    v.items.push_back(std::move(item));
                }
                Skip();
                break;
            default:
                Fail("Invalid value type " + std::to_string(type), at);
        }
        return v;
    }

    FormObject ReadObject(int depth) {
        if (depth > kMaxNesting) Fail("Objects nested too deeply", in_.position());
        FormObject o;
        if ((Peek() & 0xF0) == 0xF0) {
            size_t at = in_.position();
            unsigned flags = Byte() & 0x0F;
            if ((flags & ~(ffInherited | ffChildPos | ffInline)) != 0 ||
                (flags & (ffInherited | ffInline)) == (ffInherited | ffInline))
                Fail("Invalid filer flags " + std::to_string(flags), at);
            if (flags & ffInherited) o.kind = ObjectKind::kInherited;
            if (flags & ffInline) o.kind = ObjectKind::kInline;
            if (flags & ffChildPos) {
                unsigned type = Byte();
                if (!IsSmallInteger(type)) Fail("Integer expected", in_.position() - 1);
                o.childPos = SmallInteger(type);
            }
        }
        size_t at = in_.position();
        o.className = ShortString();
        if (o.className.empty()) Fail("Class name expected", at);
        o.name = ShortString();
        o.properties = Properties(depth);
        while (Peek() != vaNull) o.children.push_back(ReadObject(depth + 1));
        Skip();
        return o;
    }

    com::FieldReader in_;
    size_t size_;    // of the stream
    size_t offset_;  // of the stream in the file, for messages
};

}  // namespace

std::string_view StripResourceHeader(std::string_view data) {
    if (data.empty() || static_cast<unsigned char>(data[0]) != 0xFF) return data;
    auto truncated = [] { return FormError("Resource header is truncated"); };
    com::FieldReader head(data.substr(1));
    uint64_t type = 0;
    if (!head.Unsigned(2, &type)) throw truncated();
    if (type != 10) throw FormError("Resource type is not 10 (not a form resource)");
    size_t pos = 3;
    if (pos + 1 < data.size() && static_cast<unsigned char>(data[pos]) == 0xFF) {
        pos += 3;  // a numbered resource: 0xFF and a 16-bit number
    } else {
        size_t end = data.find('\0', pos);
        if (end == std::string_view::npos) throw truncated();
        pos = end + 1;
    }
    com::FieldReader tail(data.substr(std::min(pos, data.size())));
    uint64_t memoryFlags = 0, length = 0;
    if (pos > data.size() || !tail.Unsigned(2, &memoryFlags) || !tail.Unsigned(4, &length))
        throw truncated();
    pos += 6;
    if (length > data.size() - pos)
        throw FormError("Unexpected end of data: the header announces " + std::to_string(length) +
                        " bytes, " + std::to_string(data.size() - pos) + " follow");
    return data.substr(pos, length);
}

FormObject ReadBinary(std::string_view stream, size_t streamOffset) {
    return BinaryReader(stream, streamOffset).ReadStream();
}

}  // namespace morva::formfile
