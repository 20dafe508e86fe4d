#include "workbench/formfile/binary_writer.h"

#include <cstring>
#include <limits>

#include "component/binary_fields.h"
#include "workbench/formfile/characters.h"

namespace morva::formfile {
namespace {

static_assert(std::numeric_limits<long double>::digits == 64,
              "the ten-byte extended type needs the x87 long double");

class BinaryWriter {
  public:
    std::string Finish(const FormObject& root) {
        out_.Bytes(std::string_view(kSignature, 4));
        WriteObject(root, 0);
        return out_.Take();
    }

  private:
    void Byte(unsigned v) { out_.Byte(static_cast<uint8_t>(v & 0xFF)); }
    // Little-endian, `n` bytes.
    void Number(uint64_t v, int n) { out_.Unsigned(v, n); }
    void Length(size_t n, const char* what) {
        if (n > std::numeric_limits<uint32_t>::max())
            throw FormError(std::string(what) + " too long");
        Number(n, 4);
    }

    void ShortString(const std::string& s, const char* what) {
        if (s.size() > 255)
            throw FormError(std::string(what) + " '" + s.substr(0, 40) +
                            "...' is longer than 255 bytes");
        Byte(static_cast<unsigned>(s.size()));
        out_.Bytes(s);
    }

    void Integer(int64_t v) {
        if (v >= -128 && v <= 127) {
            Byte(vaInt8);
            Number(static_cast<uint64_t>(v), 1);
        } else if (v >= -32768 && v <= 32767) {
            Byte(vaInt16);
            Number(static_cast<uint64_t>(v), 2);
        } else if (v >= std::numeric_limits<int32_t>::min() &&
                   v <= std::numeric_limits<int32_t>::max()) {
            Byte(vaInt32);
            Number(static_cast<uint64_t>(v), 4);
        } else {
            Byte(vaInt64);
            Number(static_cast<uint64_t>(v), 8);
        }
    }

    template <typename T>
    void Raw(const T& v, size_t n) {
        char buf[sizeof(T)];
        std::memcpy(buf, &v, sizeof(T));
        out_.Bytes(std::string_view(buf, n));
    }

    // ASCII text as a short or long string; other text as UTF-8, or as UTF-16 when it holds a
    // lone surrogate that UTF-8 cannot carry.
    void String(const std::u32string& text) {
        bool ascii = true, surrogate = false;
        for (char32_t c : text) {
            if (c > 0x10FFFF)
                throw FormError("Character code " + std::to_string(c) + " out of range");
            ascii = ascii && c < 0x80;
            surrogate = surrogate || IsSurrogate(c);
        }
        if (ascii) {
            std::string s(text.begin(), text.end());
            Byte(s.size() <= 255 ? vaString : vaLString);
            if (s.size() <= 255)
                Byte(static_cast<unsigned>(s.size()));
            else
                Length(s.size(), "String");
            out_.Bytes(s);
        } else if (surrogate) {
            std::u16string units;
            for (char32_t c : text) {
                if (c < 0x10000) {
                    units.push_back(static_cast<char16_t>(c));
                } else {
                    units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                    units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
                }
            }
            Byte(vaWString);
            Length(units.size(), "String");
            for (char16_t u : units) Number(u, 2);
        } else {
            std::string s;
            for (char32_t c : text) AppendUtf8(c, &s);
            Byte(vaUTF8String);
            Length(s.size(), "String");
            out_.Bytes(s);
        }
    }

    void Properties(const std::vector<Property>& properties, int depth) {
        for (const Property& p : properties) {
            if (p.name.empty()) throw FormError("Property without a name");
            ShortString(p.name, "Property name");
            WriteValue(p.value, depth);
        }
        Byte(vaNull);
    }

    void WriteValue(const Value& v, int depth) {
        if (depth > kMaxNesting) throw FormError("Values nested too deeply");
        switch (v.kind) {
            case ValueKind::kNull:
                Byte(vaNull);
                break;
            case ValueKind::kFalse:
                Byte(vaFalse);
                break;
            case ValueKind::kTrue:
                Byte(vaTrue);
                break;
            case ValueKind::kNil:
                Byte(vaNil);
                break;
            case ValueKind::kInteger:
                Integer(v.integer);
                break;
            case ValueKind::kExtended:
                Byte(vaExtended);
                Raw(v.extended, 10);
                break;
            case ValueKind::kSingle:
                Byte(vaSingle);
                Raw(v.single, 4);
                break;
            case ValueKind::kDate:
                Byte(vaDate);
                Raw(v.date, 8);
                break;
            case ValueKind::kCurrency:
                Byte(vaCurrency);
                Number(static_cast<uint64_t>(v.integer), 8);
                break;
            case ValueKind::kString:
                String(v.text);
                break;
            case ValueKind::kIdent:
                if (v.bytes.empty()) throw FormError("Empty identifier");
                Byte(vaIdent);
                ShortString(v.bytes, "Identifier");
                break;
            case ValueKind::kBinary:
                Byte(vaBinary);
                Length(v.bytes.size(), "Binary data");
                out_.Bytes(v.bytes);
                break;
            case ValueKind::kSet:
                Byte(vaSet);
                for (const std::string& e : v.set) {
                    if (e.empty()) throw FormError("Empty set element");
                    ShortString(e, "Set element");
                }
                Byte(0);
                break;
            case ValueKind::kList:
                Byte(vaList);
                for (const Value& e : v.list) {
                    // A Null inside a list would read back as the end of the list.
                    if (e.kind == ValueKind::kNull)
                        throw FormError("Null cannot be a list element");
                    WriteValue(e, depth + 1);
                }
                Byte(vaNull);
                break;
            case ValueKind::kCollection:
                Byte(vaCollection);
                for (const CollectionItem& item : v.items) {
                    if (item.index) Integer(*item.index);
                    Byte(vaList);
                    Properties(item.properties, depth + 1);
                }
                Byte(vaNull);
                break;
        }
    }

    void WriteObject(const FormObject& o, int depth) {
        if (depth > kMaxNesting) throw FormError("Objects nested too deeply");
        if (o.className.empty()) throw FormError("Object without a class name");
        unsigned flags = (o.kind == ObjectKind::kInherited ? ffInherited : 0) |
                         (o.kind == ObjectKind::kInline ? ffInline : 0) |
                         (o.childPos ? ffChildPos : 0);
        // A class name of 240 bytes or more has a length byte that reads as filer flags, so
        // such a name always gets the flags byte in front.
        if (flags != 0 || o.className.size() >= 0xF0) Byte(0xF0 | flags);
        if (o.childPos) Integer(*o.childPos);
        ShortString(o.className, "Class name");
        ShortString(o.name, "Object name");
        Properties(o.properties, depth);
        for (const FormObject& child : o.children) WriteObject(child, depth + 1);
        Byte(vaNull);
    }

    com::FieldWriter out_;
};

}  // namespace

std::string WriteBinary(const FormObject& root) {
    return BinaryWriter().Finish(root);
}

}  // namespace morva::formfile
