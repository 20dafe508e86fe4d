#include "workbench/formfile/text_writer.h"

#include "workbench/formfile/characters.h"
#include "workbench/formfile/number_text.h"

namespace morva::formfile {
namespace {

constexpr size_t kCharsPerLine = 64;  // of a wrapped string
constexpr size_t kBytesPerLine = 32;  // of binary data

class TextWriter {
  public:
    std::string Finish(const FormObject& root) {
        WriteObject(root, 0);
        return std::move(out_);
    }

  private:
    void NewLine(int level) {
        out_ += '\n';
        out_.append(static_cast<size_t>(level) * 2, ' ');
    }

    static void CheckName(const std::string& name, bool dotted, const char* what) {
        if (!IsIdentifier(name, dotted))
            throw FormError(std::string(what) + " '" + name + "' is not an identifier");
    }
    // Names that would read back as the words that begin and end blocks.
    static void CheckNotBlockWord(const std::string& name, const char* what) {
        if (IsBlockWord(name))
            throw FormError(std::string(what) + " '" + name + "' cannot be written as text");
    }

    void PropertyName(const std::string& name) {
        CheckName(name, true, "Property name");
        CheckNotBlockWord(name, "Property name");
        out_ += name;
    }

    void Properties(const std::vector<Property>& properties, int level) {
        for (const Property& p : properties) {
            NewLine(level);
            PropertyName(p.name);
            out_ += " = ";
            WriteValue(p.value, level);
        }
    }

    static bool Printable(char32_t c) {
        return (c >= 0x20 && c < 0x7F) ||
               (c >= 0xA0 && c <= 0x10FFFF && !IsSurrogate(c) && c != 0xFEFF);
    }

    // Quoted runs for printable characters, #nnn for the others; more than a line's worth
    // starts on a new line and continues with " +" every kCharsPerLine characters.
    void String(const std::u32string& text, int level) {
        if (text.empty()) {
            out_ += "''";
            return;
        }
        if (text.size() > kCharsPerLine) {
            if (out_.ends_with(' ')) out_.pop_back();
            NewLine(level + 1);
        }
        bool quoted = false;
        size_t onLine = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (onLine == kCharsPerLine) {
                if (quoted) out_ += '\'';
                quoted = false;
                out_ += " +";
                NewLine(level + 1);
                onLine = 0;
            }
            char32_t c = text[i];
            if (Printable(c)) {
                if (!quoted) out_ += '\'';
                quoted = true;
                if (c == '\'') out_ += '\'';
                AppendUtf8(c, &out_);
            } else {
                if (quoted) out_ += '\'';
                quoted = false;
                out_ += '#' + std::to_string(static_cast<uint32_t>(c));
            }
            ++onLine;
        }
        if (quoted) out_ += '\'';
    }

    void Binary(const std::string& bytes, int level) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        out_ += '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i % kBytesPerLine == 0) NewLine(level + 1);
            auto b = static_cast<unsigned char>(bytes[i]);
            out_ += kHex[b >> 4];
            out_ += kHex[b & 15];
        }
        out_ += '}';
    }

    void WriteValue(const Value& v, int level) {
        switch (v.kind) {
            case ValueKind::kNull:
                out_ += "Null";
                break;
            case ValueKind::kFalse:
                out_ += "False";
                break;
            case ValueKind::kTrue:
                out_ += "True";
                break;
            case ValueKind::kNil:
                out_ += "nil";
                break;
            case ValueKind::kInteger:
                out_ += std::to_string(v.integer);
                break;
            case ValueKind::kExtended: {
                std::string s = ExactFloatText(v.extended);
                // Without a point or exponent the text would read back as an integer.
                if (s.find_first_of(".e") == std::string::npos) s += ".0";
                out_ += s;
                break;
            }
            case ValueKind::kSingle:
                out_ += ExactFloatText(v.single) + 's';
                break;
            case ValueKind::kDate:
                out_ += ExactFloatText(v.date) + 'd';
                break;
            case ValueKind::kCurrency:
                out_ += std::to_string(v.integer) + 'c';
                break;
            case ValueKind::kString:
                String(v.text, level);
                break;
            case ValueKind::kIdent:
                CheckName(v.bytes, true, "Identifier");
                CheckNotBlockWord(v.bytes, "Identifier");
                out_ += v.bytes;
                break;
            case ValueKind::kBinary:
                Binary(v.bytes, level);
                break;
            case ValueKind::kSet:
                out_ += '[';
                for (size_t i = 0; i < v.set.size(); ++i) {
                    CheckName(v.set[i], false, "Set element");
                    CheckNotBlockWord(v.set[i], "Set element");
                    if (i > 0) out_ += ", ";
                    out_ += v.set[i];
                }
                out_ += ']';
                break;
            case ValueKind::kList:
                out_ += '(';
                for (const Value& e : v.list) {
                    if (e.kind == ValueKind::kNull)
                        throw FormError("Null cannot be a list element");
                    NewLine(level + 1);
                    WriteValue(e, level + 1);
                }
                out_ += ')';
                break;
            case ValueKind::kCollection:
                out_ += '<';
                for (const CollectionItem& item : v.items) {
                    NewLine(level + 1);
                    out_ += "item";
                    if (item.index) out_ += " [" + std::to_string(*item.index) + ']';
                    Properties(item.properties, level + 2);
                    NewLine(level + 1);
                    out_ += "end";
                }
                out_ += '>';
                break;
        }
    }

    void WriteObject(const FormObject& o, int level) {
        static constexpr const char* kKeyword[] = {"object", "inherited", "inline"};
        out_ += kKeyword[static_cast<int>(o.kind)];
        out_ += ' ';
        if (!o.name.empty()) {
            CheckName(o.name, false, "Object name");
            CheckNotBlockWord(o.name, "Object name");
            out_ += o.name + ": ";
        }
        CheckName(o.className, false, "Class name");
        CheckNotBlockWord(o.className, "Class name");
        out_ += o.className;
        if (o.childPos) out_ += " [" + std::to_string(*o.childPos) + ']';
        Properties(o.properties, level + 1);
        for (const FormObject& child : o.children) {
            NewLine(level + 1);
            WriteObject(child, level + 1);
        }
        NewLine(level);
        out_ += "end";
    }

    std::string out_;
};

}  // namespace

std::string WriteText(const FormObject& root) {
    std::string text = TextWriter().Finish(root);
    text += '\n';
    return text;
}

}  // namespace morva::formfile
