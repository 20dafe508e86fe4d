#pragma once
// How a value is written into generated code: the letter case of a name, the escaping of a
// text for the literal it goes into, and names made safe from a language's reserved words.
// The run keeps one of each as its current write modes; these functions do the work.

#include <cstdint>
#include <string>
#include <string_view>

namespace morva::tpx {

/// The letter case of names.
enum class LetterCase : uint8_t {
    AsIs,    // as the value tag gives it
    Pascal,  // BookAuthor
    Camel,   // bookAuthor
    Snake,   // book_author
    Kebab,   // book-author
    Upper,   // every letter upper case, nothing else changed
    Lower,   // every letter lower case, nothing else changed
};

/// How a text is escaped.
enum class Escape : uint8_t {
    None,
    Html,    // & < > " ' as character references
    String,  // the body of a C-family string literal
    Sql,     // the body of a single-quoted SQL literal
};

/// The languages whose reserved words a name can be made safe from.
enum class Language : uint8_t { Cpp, CSharp, Java, TypeScript, Go, Python, Rust, Sql };

/// Writes `name` in `letterCase` into `out` (replacing its content). Pascal, Camel, Snake and
/// Kebab split the name into words at every character that is neither a letter nor a digit and
/// where a lower-case letter (or a digit after one) is followed by an upper-case letter; digits
/// stay with the word before them. Bytes above 127 (UTF-8) count as letters without case.
void ConvertCase(std::string_view name, LetterCase letterCase, std::string& out);

/// Appends `text` escaped as `escape` says to `out`.
void AppendEscaped(std::string_view text, Escape escape, std::string& out);

/// Whether `name` is a reserved word of `language` (SQL ignores letter case).
bool IsReservedWord(Language language, std::string_view name);

/// `name` as an identifier of `language`: a reserved word in the language's escaped form
/// (class_, @class, r#type, "order"), a name that starts with a digit prefixed with "_" (in SQL
/// double-quoted), any other name as it is. The result views `name` or `scratch`.
std::string_view SafeName(std::string_view name, Language language, std::string& scratch);

}  // namespace morva::tpx
