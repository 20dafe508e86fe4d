#include "engine/script/name_style.h"

#include <algorithm>
#include <array>
#include <span>

#include "component/text_util.h"

namespace morva::tpx {

namespace {

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
// Letters without case (the bytes of UTF-8 sequences) belong to words too.
bool IsWordChar(char c) {
    return IsUpper(c) || IsLower(c) || IsDigit(c) || static_cast<unsigned char>(c) >= 0x80;
}
char Upper(char c) {
    return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// Calls `word(begin, end)` for each word of `name`, in order.
template <typename F>
void ForEachWord(std::string_view name, F word) {
    // Only a name with lower-case letters marks a word start by the case after a digit:
    // ADDRESS2LINE is one word, Address2Line two.
    bool mixed = std::any_of(name.begin(), name.end(), IsLower);
    size_t start = std::string_view::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (!IsWordChar(c)) {
            if (start != std::string_view::npos) word(start, i);
            start = std::string_view::npos;
            continue;
        }
        if (start == std::string_view::npos) {
            start = i;
            continue;
        }
        char before = name[i - 1];
        if (IsUpper(c) && (IsLower(before) || (mixed && IsDigit(before)))) {
            word(start, i);
            start = i;
        }
    }
    if (start != std::string_view::npos) word(start, name.size());
}

}  // namespace

void ConvertCase(std::string_view name, LetterCase letterCase, std::string& out) {
    out.clear();
    switch (letterCase) {
        case LetterCase::AsIs:
            out.assign(name);
            return;
        case LetterCase::Upper:
            for (char c : name) out += Upper(c);
            return;
        case LetterCase::Lower:
            for (char c : name) out += Lower(c);
            return;
        default:
            break;
    }
    const char separator = letterCase == LetterCase::Snake   ? '_'
                           : letterCase == LetterCase::Kebab ? '-'
                                                             : '\0';
    bool first = true;
    ForEachWord(name, [&](size_t begin, size_t end) {
        if (!first && separator != '\0') out += separator;
        bool capital =
            letterCase == LetterCase::Pascal || (letterCase == LetterCase::Camel && !first);
        out += capital ? Upper(name[begin]) : Lower(name[begin]);
        for (size_t i = begin + 1; i < end; ++i) out += Lower(name[i]);
        first = false;
    });
}

void AppendEscaped(std::string_view text, Escape escape, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : text) {
        switch (escape) {
            case Escape::Html:
                switch (c) {
                    case '&':
                        out += "&amp;";
                        continue;
                    case '<':
                        out += "&lt;";
                        continue;
                    case '>':
                        out += "&gt;";
                        continue;
                    case '"':
                        out += "&quot;";
                        continue;
                    case '\'':
                        out += "&#39;";
                        continue;
                    default:
                        break;
                }
                break;
            case Escape::String: {
                switch (c) {
                    case '\\':
                        out += "\\\\";
                        continue;
                    case '"':
                        out += "\\\"";
                        continue;
                    case '\n':
                        out += "\\n";
                        continue;
                    case '\r':
                        out += "\\r";
                        continue;
                    case '\t':
                        out += "\\t";
                        continue;
                    default:
                        break;
                }
                auto byte = static_cast<unsigned char>(c);
                if (byte < 0x20 || byte == 0x7f) {
                    // Four hex digits: no greedy \x that would swallow a following digit.
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 15];
                    continue;
                }
                break;
            }
            case Escape::Sql:
                if (c == '\'') {
                    out += "''";
                    continue;
                }
                break;
            case Escape::None:
                break;
        }
        out += c;
    }
}

namespace {

using Words = std::span<const std::string_view>;

// Each list sorted byte-wise for the binary search. Besides the keywords, a list holds the
// words that break a declaration of that name in generated code: C++ macros of the C library
// and the keywords and macros of GNU mode (errno, EOF, NULL, typeof, linux, unix), the names
// a Java record component may not take, and the words Rust reserves for later editions.
constexpr auto kCpp = std::to_array<std::string_view>({
    "EOF",
    "NULL",
    "alignas",
    "alignof",
    "and",
    "and_eq",
    "asm",
    "auto",
    "bitand",
    "bitor",
    "bool",
    "break",
    "case",
    "catch",
    "char",
    "char16_t",
    "char32_t",
    "char8_t",
    "class",
    "co_await",
    "co_return",
    "co_yield",
    "compl",
    "concept",
    "const",
    "const_cast",
    "consteval",
    "constexpr",
    "constinit",
    "continue",
    "decltype",
    "default",
    "delete",
    "do",
    "double",
    "dynamic_cast",
    "else",
    "enum",
    "errno",
    "explicit",
    "export",
    "extern",
    "false",
    "float",
    "for",
    "friend",
    "goto",
    "if",
    "inline",
    "int",
    "linux",
    "long",
    "mutable",
    "namespace",
    "new",
    "noexcept",
    "not",
    "not_eq",
    "nullptr",
    "operator",
    "or",
    "or_eq",
    "private",
    "protected",
    "public",
    "register",
    "reinterpret_cast",
    "requires",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "static_cast",
    "struct",
    "switch",
    "template",
    "this",
    "thread_local",
    "throw",
    "true",
    "try",
    "typedef",
    "typeid",
    "typename",
    "typeof",
    "union",
    "unix",
    "unsigned",
    "using",
    "virtual",
    "void",
    "volatile",
    "wchar_t",
    "while",
    "xor",
    "xor_eq",
});

constexpr auto kCSharp = std::to_array<std::string_view>({
    "abstract", "as",         "base",    "bool",     "break",     "byte",     "case",
    "catch",    "char",       "checked", "class",    "const",     "continue", "decimal",
    "default",  "delegate",   "do",      "double",   "else",      "enum",     "event",
    "explicit", "extern",     "false",   "finally",  "fixed",     "float",    "for",
    "foreach",  "goto",       "if",      "implicit", "in",        "int",      "interface",
    "internal", "is",         "lock",    "long",     "namespace", "new",      "null",
    "object",   "operator",   "out",     "override", "params",    "private",  "protected",
    "public",   "readonly",   "ref",     "return",   "sbyte",     "sealed",   "short",
    "sizeof",   "stackalloc", "static",  "string",   "struct",    "switch",   "this",
    "throw",    "true",       "try",     "typeof",   "uint",      "ulong",    "unchecked",
    "unsafe",   "ushort",     "using",   "virtual",  "void",      "volatile", "while",
});

constexpr auto kJava = std::to_array<std::string_view>({
    "_",         "abstract",     "assert", "boolean",    "break",    "byte",      "case",
    "catch",     "char",         "class",  "clone",      "const",    "continue",  "default",
    "do",        "double",       "else",   "enum",       "extends",  "false",     "final",
    "finalize",  "finally",      "float",  "for",        "getClass", "goto",      "hashCode",
    "if",        "implements",   "import", "instanceof", "int",      "interface", "long",
    "native",    "new",          "notify", "notifyAll",  "null",     "package",   "private",
    "protected", "public",       "return", "short",      "static",   "strictfp",  "super",
    "switch",    "synchronized", "this",   "throw",      "throws",   "toString",  "transient",
    "true",      "try",          "void",   "volatile",   "wait",     "while",
});

constexpr auto kTypeScript = std::to_array<std::string_view>({
    "await",     "break",  "case",     "catch",  "class",      "const",   "continue",  "debugger",
    "default",   "delete", "do",       "else",   "enum",       "export",  "extends",   "false",
    "finally",   "for",    "function", "if",     "implements", "import",  "in",        "instanceof",
    "interface", "let",    "new",      "null",   "package",    "private", "protected", "public",
    "return",    "static", "super",    "switch", "this",       "throw",   "true",      "try",
    "typeof",    "var",    "void",     "while",  "with",       "yield",
});

constexpr auto kGo = std::to_array<std::string_view>({
    "break",  "case",        "chan", "const",   "continue", "default", "defer",
    "else",   "fallthrough", "for",  "func",    "go",       "goto",    "if",
    "import", "interface",   "map",  "package", "range",    "return",  "select",
    "struct", "switch",      "type", "var",
});

constexpr auto kPython = std::to_array<std::string_view>({
    "False", "None",     "True",  "and",    "as",   "assert", "async",  "await",    "break",
    "class", "continue", "def",   "del",    "elif", "else",   "except", "finally",  "for",
    "from",  "global",   "if",    "import", "in",   "is",     "lambda", "nonlocal", "not",
    "or",    "pass",     "raise", "return", "try",  "while",  "with",   "yield",
});

constexpr auto kRust = std::to_array<std::string_view>({
    "Self",     "abstract", "as",     "async",   "await",    "become", "box",    "break", "const",
    "continue", "crate",    "do",     "dyn",     "else",     "enum",   "extern", "false", "final",
    "fn",       "for",      "gen",    "if",      "impl",     "in",     "let",    "loop",  "macro",
    "match",    "mod",      "move",   "mut",     "override", "priv",   "pub",    "ref",   "return",
    "self",     "static",   "struct", "super",   "trait",    "true",   "try",    "type",  "typeof",
    "unsafe",   "unsized",  "use",    "virtual", "where",    "while",  "yield",
});

// Upper case; compared with the name upper-cased. The reserved words of standard SQL that
// PostgreSQL and SQLite also reserve, and the ones either of them adds.
constexpr auto kSql = std::to_array<std::string_view>({
    "ABORT",
    "ALL",
    "ALTER",
    "ANALYSE",
    "ANALYZE",
    "AND",
    "ANY",
    "ARRAY",
    "AS",
    "ASC",
    "ASYMMETRIC",
    "AUTHORIZATION",
    "AUTOINCREMENT",
    "BETWEEN",
    "BINARY",
    "BOTH",
    "BY",
    "CASE",
    "CAST",
    "CHECK",
    "COLLATE",
    "COLUMN",
    "COMMIT",
    "CONCURRENTLY",
    "CONSTRAINT",
    "CREATE",
    "CROSS",
    "CURRENT_CATALOG",
    "CURRENT_DATE",
    "CURRENT_ROLE",
    "CURRENT_SCHEMA",
    "CURRENT_TIME",
    "CURRENT_TIMESTAMP",
    "CURRENT_USER",
    "DEFAULT",
    "DEFERRABLE",
    "DELETE",
    "DESC",
    "DISTINCT",
    "DO",
    "DROP",
    "ELSE",
    "END",
    "ESCAPE",
    "EXCEPT",
    "EXISTS",
    "FALSE",
    "FETCH",
    "FOR",
    "FOREIGN",
    "FREEZE",
    "FROM",
    "FULL",
    "GRANT",
    "GROUP",
    "HAVING",
    "ILIKE",
    "IN",
    "INDEX",
    "INITIALLY",
    "INNER",
    "INSERT",
    "INTERSECT",
    "INTO",
    "IS",
    "ISNULL",
    "JOIN",
    "KEY",
    "LATERAL",
    "LEADING",
    "LEFT",
    "LIKE",
    "LIMIT",
    "LOCALTIME",
    "LOCALTIMESTAMP",
    "NATURAL",
    "NOT",
    "NOTNULL",
    "NULL",
    "OFFSET",
    "ON",
    "ONLY",
    "OR",
    "ORDER",
    "OUTER",
    "OVERLAPS",
    "PLACING",
    "PRIMARY",
    "REFERENCES",
    "RETURNING",
    "RIGHT",
    "ROLLBACK",
    "SELECT",
    "SESSION_USER",
    "SET",
    "SIMILAR",
    "SOME",
    "SYMMETRIC",
    "TABLE",
    "TABLESAMPLE",
    "THEN",
    "TO",
    "TRAILING",
    "TRANSACTION",
    "TRUE",
    "UNION",
    "UNIQUE",
    "UPDATE",
    "USER",
    "USING",
    "VALUES",
    "VARIADIC",
    "VERBOSE",
    "WHEN",
    "WHERE",
    "WINDOW",
    "WITH",
});

static_assert(std::is_sorted(kCpp.begin(), kCpp.end()));
static_assert(std::is_sorted(kCSharp.begin(), kCSharp.end()));
static_assert(std::is_sorted(kJava.begin(), kJava.end()));
static_assert(std::is_sorted(kTypeScript.begin(), kTypeScript.end()));
static_assert(std::is_sorted(kGo.begin(), kGo.end()));
static_assert(std::is_sorted(kPython.begin(), kPython.end()));
static_assert(std::is_sorted(kRust.begin(), kRust.end()));
static_assert(std::is_sorted(kSql.begin(), kSql.end()));

Words ReservedWords(Language language) {
    switch (language) {
        case Language::Cpp:
            return kCpp;
        case Language::CSharp:
            return kCSharp;
        case Language::Java:
            return kJava;
        case Language::TypeScript:
            return kTypeScript;
        case Language::Go:
            return kGo;
        case Language::Python:
            return kPython;
        case Language::Rust:
            return kRust;
        case Language::Sql:
            return kSql;
    }
    return {};
}

}  // namespace

bool IsReservedWord(Language language, std::string_view name) {
    Words words = ReservedWords(language);
    if (language == Language::Sql) {
        std::string upper = com::ToUpperAscii(name);
        return std::binary_search(words.begin(), words.end(), std::string_view(upper));
    }
    return std::binary_search(words.begin(), words.end(), name);
}

std::string_view SafeName(std::string_view name, Language language, std::string& scratch) {
    bool digitFirst = !name.empty() && IsDigit(name.front());
    if (name.empty() || (!digitFirst && !IsReservedWord(language, name))) return name;
    scratch.clear();
    switch (language) {
        case Language::Sql:
            scratch += '"';
            for (char c : name) scratch.append(c == '"' ? 2 : 1, c);
            scratch += '"';
            return scratch;
        case Language::CSharp:
            scratch += digitFirst ? '_' : '@';
            scratch += name;
            return scratch;
        case Language::Rust:
            // These four cannot be raw identifiers.
            if (!digitFirst && name != "self" && name != "Self" && name != "super" &&
                name != "crate") {
                scratch += "r#";
                scratch += name;
                return scratch;
            }
            break;
        default:
            break;
    }
    if (digitFirst) {
        scratch += '_';
        scratch += name;
    } else {
        scratch += name;
        scratch += '_';
    }
    return scratch;
}

}  // namespace morva::tpx
