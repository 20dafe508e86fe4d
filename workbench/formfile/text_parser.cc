#include "workbench/formfile/text_parser.h"

#include <cmath>
#include <limits>

#include "component/text_util.h"
#include "workbench/formfile/characters.h"
#include "workbench/formfile/number_text.h"

namespace morva::formfile {
namespace {

enum class TokenType { kEnd, kIdent, kInteger, kFloat, kString, kSymbol };

struct Token {
    TokenType type = TokenType::kEnd;
    int line = 1;
    std::string text;      // kIdent: the name; kFloat: the number without suffix; kSymbol
    char suffix = 0;       // kFloat: 's', 'c', 'd' or 0
    int64_t integer = 0;   // kInteger
    std::u32string chars;  // kString
};

class Lexer {
  public:
    explicit Lexer(std::string_view text) : s_(text) {
        if (s_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    }

    Token Next() {
        SkipSpace();
        Token t;
        t.line = line_;
        if (pos_ >= s_.size()) return t;
        unsigned char c = Char();
        if (c == 0) Fail("invalid character #0");
        if (IsIdentChar(c) && !IsDigit(c)) {
            Ident(&t);
        } else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Char(1)) || Char(1) == '$'))) {
            Number(&t);
        } else if (c == '\'' || c == '#') {
            String(&t);
        } else {
            t.type = TokenType::kSymbol;
            t.text = std::string(1, static_cast<char>(c));
            ++pos_;
        }
        return t;
    }

    // The hex digits of binary data up to the closing "}", which is consumed.
    std::string HexData() {
        std::string bytes;
        int pending = -1;
        for (;;) {
            SkipSpace();
            if (pos_ >= s_.size()) Fail("'}' expected but end of file found");
            unsigned char c = Char();
            ++pos_;
            if (c == '}') break;
            int d = HexDigit(c);
            if (d < 0) Fail("hexadecimal digit expected in binary data");
            if (pending < 0) {
                pending = d;
            } else {
                bytes.push_back(static_cast<char>(pending * 16 + d));
                pending = -1;
            }
        }
        if (pending >= 0) Fail("binary data has an odd number of hexadecimal digits");
        return bytes;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw FormError("Line " + std::to_string(line_) + ": " + what);
    }

  private:
    unsigned char Char(size_t ahead = 0) const {
        return pos_ + ahead < s_.size() ? static_cast<unsigned char>(s_[pos_ + ahead]) : 0;
    }
    static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    static int HexDigit(unsigned char c) {
        if (IsDigit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    // Blanks and control characters; a line ends at "\n", "\r\n" or a lone "\r".
    void SkipSpace() {
        while (pos_ < s_.size()) {
            unsigned char c = Char();
            if (c == '\n' || (c == '\r' && Char(1) != '\n'))
                ++line_;
            else if (c == 0 || c > ' ')
                break;
            ++pos_;
        }
    }

    // An identifier, dotted names ("Font.Name") included.
    void Ident(Token* t) {
        size_t start = pos_;
        for (;;) {
            while (IsIdentChar(Char())) ++pos_;
            if (Char() != '.' || !IsIdentChar(Char(1)) || IsDigit(Char(1))) break;
            ++pos_;
        }
        t->type = TokenType::kIdent;
        t->text = std::string(s_.substr(start, pos_ - start));
    }

    // The value of the digits at the current position, which must not exceed `limit`.
    uint64_t Digits(int base, uint64_t limit) {
        uint64_t v = 0;
        size_t n = 0;
        for (int d; (d = HexDigit(Char())) >= 0 && d < base; ++pos_, ++n) {
            if (v > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base))
                Fail("number out of range");
            v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        }
        if (n == 0) Fail("digit expected");
        return v;
    }
    void SkipDigits() {
        while (IsDigit(Char())) ++pos_;
    }

    void Number(Token* t) {
        size_t start = pos_;
        bool negative = Char() == '-';
        if (negative) ++pos_;
        t->type = TokenType::kInteger;
        if (Char() == '$') {
            ++pos_;
            // Sixteen hex digits give every 64-bit pattern, as two's complement.
            uint64_t v = Digits(16, std::numeric_limits<uint64_t>::max());
            t->integer = static_cast<int64_t>(negative ? 0 - v : v);
        } else {
            size_t digits = pos_;
            SkipDigits();
            bool isFloat = false;
            if (Char() == '.' && IsDigit(Char(1))) {
                ++pos_;
                SkipDigits();
                isFloat = true;
            }
            if ((Char() == 'e' || Char() == 'E') &&
                (IsDigit(Char(1)) || ((Char(1) == '+' || Char(1) == '-') && IsDigit(Char(2))))) {
                pos_ += 2;
                SkipDigits();
                isFloat = true;
            }
            char suffix = static_cast<char>(Char() | 0x20);
            if (suffix == 's' || suffix == 'c' || suffix == 'd') {
                t->suffix = suffix;
                isFloat = true;
            }
            if (isFloat) {
                t->type = TokenType::kFloat;
                t->text = std::string(s_.substr(start, pos_ - start));
                if (t->suffix) ++pos_;
            } else {
                pos_ = digits;
                uint64_t limit = uint64_t{std::numeric_limits<int64_t>::max()} + (negative ? 1 : 0);
                uint64_t v = Digits(10, limit);
                t->integer = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
            }
        }
        if (IsIdentChar(Char()) || Char() == '.')
            Fail("invalid number '" + std::string(s_.substr(start, pos_ - start + 1)) + "'");
    }

    // Quoted parts and #nnn character codes written next to each other.
    void String(Token* t) {
        t->type = TokenType::kString;
        for (;;) {
            if (Char() == '\'' && pos_ < s_.size()) {
                ++pos_;
                std::string bytes;
                for (;;) {
                    if (pos_ >= s_.size() || Char() == '\n' || Char() == '\r')
                        Fail("unterminated string");
                    if (Char() == '\'') {
                        if (Char(1) != '\'') break;
                        ++pos_;
                    }
                    bytes.push_back(s_[pos_++]);
                }
                ++pos_;
                t->chars += DecodeText(bytes);
            } else if (Char() == '#') {
                ++pos_;
                bool hex = Char() == '$';
                if (hex) ++pos_;
                uint64_t code = Digits(hex ? 16 : 10, 0x10FFFF);
                t->chars.push_back(static_cast<char32_t>(code));
            } else {
                break;
            }
        }
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

    FormObject Parse() {
        FormObject root = ParseObject(0);
        if (token_.type != TokenType::kEnd) Expected("end of file");
        return root;
    }

  private:
    void Advance() { token_ = lexer_.Next(); }

    std::string Describe(const Token& t) const {
        switch (t.type) {
            case TokenType::kEnd:
                return "end of file";
            case TokenType::kString:
                return "string";
            case TokenType::kInteger:
                return "'" + std::to_string(t.integer) + "'";
            default:
                return "'" + t.text + "'";
        }
    }
    [[noreturn]] void Expected(const std::string& what) const {
        throw FormError("Line " + std::to_string(token_.line) + ": " + what + " expected but " +
                        Describe(token_) + " found");
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw FormError("Line " + std::to_string(token_.line) + ": " + what);
    }

    bool IsSymbol(char c) const { return token_.type == TokenType::kSymbol && token_.text[0] == c; }
    bool IsWord(const char* word) const {
        return token_.type == TokenType::kIdent && com::EqualsIgnoreCase(token_.text, word);
    }
    bool AtObject() const { return IsWord("object") || IsWord("inherited") || IsWord("inline"); }

    void Expect(char c) {
        if (!IsSymbol(c)) Expected(std::string("'") + c + "'");
        Advance();
    }
    void ExpectWord(const char* word) {
        if (!IsWord(word)) Expected(std::string("'") + word + "'");
        Advance();
    }
    // A name of up to 255 bytes, with dots when `dotted`; never a word that begins or ends
    // a block.
    std::string Name(const char* what, bool dotted) {
        if (token_.type != TokenType::kIdent || IsBlockWord(token_.text) ||
            (!dotted && token_.text.find('.') != std::string::npos))
            Expected(what);
        if (token_.text.size() > 255) Fail(std::string(what) + " longer than 255 bytes");
        std::string name = token_.text;
        Advance();
        return name;
    }
    int32_t Index() {
        Expect('[');
        if (token_.type != TokenType::kInteger) Expected("integer");
        int64_t v = token_.integer;
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
            Fail("index out of range");
        Advance();
        Expect(']');
        return static_cast<int32_t>(v);
    }
    void CheckDepth(int depth) const {
        if (depth > kMaxNesting) Fail("nesting too deep");
    }

    FormObject ParseObject(int depth) {
        CheckDepth(depth);
        FormObject o;
        if (IsWord("inherited"))
            o.kind = ObjectKind::kInherited;
        else if (IsWord("inline"))
            o.kind = ObjectKind::kInline;
        else if (!IsWord("object"))
            Expected("'object'");
        Advance();
        std::string first = Name("object name or class name", false);
        if (IsSymbol(':')) {
            Advance();
            o.name = first;
            o.className = Name("class name", false);
        } else {
            o.className = first;
        }
        if (IsSymbol('[')) o.childPos = Index();
        o.properties = Properties();
        while (AtObject()) o.children.push_back(ParseObject(depth + 1));
        ExpectWord("end");
        return o;
    }

    std::vector<Property> Properties(int depth = 0) {
        std::vector<Property> properties;
        while (token_.type == TokenType::kIdent && !IsWord("end") && !AtObject()) {
            Property p;
            p.name = Name("property name", true);
            Expect('=');
            p.value = ParseValue(depth);
            properties.push_back(std::move(p));
        }
        return properties;
    }

    Value ParseValue(int depth) {
        CheckDepth(depth);
        Value v;
        switch (token_.type) {
            case TokenType::kInteger:
                v.kind = ValueKind::kInteger;
                v.integer = token_.integer;
                Advance();
                return v;
            case TokenType::kFloat:
                FloatValue(&v);
                Advance();
                return v;
            case TokenType::kString:
                v.kind = ValueKind::kString;
                v.text = token_.chars;
                Advance();
                while (IsSymbol('+')) {
                    Advance();
                    if (token_.type != TokenType::kString) Expected("string");
                    v.text += token_.chars;
                    Advance();
                }
                v.text = JoinSurrogatePairs(v.text);
                return v;
            case TokenType::kIdent:
                if (IsBlockWord(token_.text)) Expected("value");
                IdentValue(&v);
                return v;
            case TokenType::kSymbol:
                break;
            case TokenType::kEnd:
                Expected("value");
        }
        char c = token_.text[0];
        if (c == '{') {
            v.kind = ValueKind::kBinary;
            v.bytes = lexer_.HexData();
            Advance();
        } else if (c == '[') {
            SetValue(&v);
        } else if (c == '(') {
            ListValue(&v, depth);
        } else if (c == '<') {
            CollectionValue(&v, depth);
        } else {
            Expected("value");
        }
        return v;
    }

    void FloatValue(Value* v) {
        const std::string& s = token_.text;
        auto parse = [&](auto* out) {
            if (!ParseFloat(s, out)) Fail("number " + s + " out of range");
        };
        switch (token_.suffix) {
            case 's':
                v->kind = ValueKind::kSingle;
                parse(&v->single);
                break;
            case 'd':
                v->kind = ValueKind::kDate;
                parse(&v->date);
                break;
            case 'c': {
                // The text holds the currency value times 10000, the stored integer.
                long double x;
                parse(&x);
                x = std::nearbyint(x);
                if (!(x >= -0x1p63L && x < 0x1p63L)) Fail("currency " + s + " out of range");
                v->kind = ValueKind::kCurrency;
                v->integer = static_cast<int64_t>(x);
                break;
            }
            default:
                v->kind = ValueKind::kExtended;
                parse(&v->extended);
        }
    }

    void IdentValue(Value* v) {
        if (IsWord("True"))
            v->kind = ValueKind::kTrue;
        else if (IsWord("False"))
            v->kind = ValueKind::kFalse;
        else if (IsWord("nil"))
            v->kind = ValueKind::kNil;
        else if (IsWord("Null"))
            v->kind = ValueKind::kNull;
        else {
            v->kind = ValueKind::kIdent;
            v->bytes = Name("identifier", true);
            return;
        }
        Advance();
    }

    void SetValue(Value* v) {
        v->kind = ValueKind::kSet;
        Advance();
        if (IsSymbol(']')) {
            Advance();
            return;
        }
        for (;;) {
            v->set.push_back(Name("set element", false));
            if (IsSymbol(']')) break;
            Expect(',');
        }
        Advance();
    }

    void ListValue(Value* v, int depth) {
        v->kind = ValueKind::kList;
        Advance();
        while (!IsSymbol(')')) {
            // A Null element would read back as the end of the list.
            if (IsWord("Null")) Fail("Null cannot be a list element");
            v->list.push_back(ParseValue(depth + 1));
        }
        Advance();
    }

    void CollectionValue(Value* v, int depth) {
        v->kind = ValueKind::kCollection;
        Advance();
        while (!IsSymbol('>')) {
            ExpectWord("item");
            CollectionItem item;
            if (IsSymbol('[')) item.index = Index();
            item.properties = Properties(depth + 1);
            ExpectWord("end");
            v->items.push_back(std::move(item));
        }
        Advance();
    }

    Lexer lexer_;
    Token token_;
};

}  // namespace

FormObject ParseText(std::string_view text) {
    return Parser(text).Parse();
}

}  // namespace morva::formfile
