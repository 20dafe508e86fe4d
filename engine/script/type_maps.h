#pragma once
// The column types of the generated code in today's languages: one table that gives, for each
// SQL data type, the type in each language, and the projects' own entries that override it,
// read from a text file "types.<language>" beside the script.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morva::tpx {

/// The languages of the type maps, in the order of the table's columns.
enum class TypeLanguage : uint8_t { Cpp, CSharp, Java, TypeScript, Go, Python, Rust };
inline constexpr size_t kTypeLanguages = 7;

/// The language whose type tag is `code` (<DASCPP> ...), or -1.
int32_t TypeLanguageOfTag(int32_t code);

/// The suffix of the language's override file, which is also its tag's suffix in lower case:
/// "cpp", "cs", "java", "ts", "go", "py", "rust".
std::string_view TypeLanguageSuffix(TypeLanguage language);

/// One row of the built-in table: an SQL data type (upper case) and its type in each language.
struct LanguageTypeRow {
    std::string_view dataType;
    std::array<std::string_view, kTypeLanguages> types;
};

/// The built-in rows in look-up order.
std::span<const LanguageTypeRow> LanguageTypeTable();

/// A project's entries for one language: upper-cased data type to type.
using TypeOverrides = std::map<std::string, std::string, std::less<>>;

/// A line of an override file that was not taken.
struct TypeFileProblem {
    int32_t line = 0;
    std::string reason;
};

/// Reads an override file's text: one "DATATYPE=type" a line, blanks around either side
/// ignored; empty lines and lines starting with "#" are comments. A later entry for the same
/// data type replaces an earlier one (and is reported). Lines that cannot be read are
/// reported in `problems` and skipped.
TypeOverrides ParseTypeOverrides(std::string_view text, std::vector<TypeFileProblem>& problems);

/// What a column's type is made from.
struct ColumnTypeFacts {
    std::string_view dataType;  // as stored; any letter case
    int32_t precision = 0;
    int32_t scale = 0;
    /// Whether the column may hold no value; the type is then the language's optional form.
    bool nullable = false;
};

/// Writes into `out` the type of a column in `language`: the project's entry for its data
/// type, else the built-in row, else the language's text type. An exact numeric without
/// decimals (DECIMAL, NUMERIC, NUMBER with scale 0) of precision 1 to 9 maps as INTEGER,
/// of 10 to 18 as BIGINT. A nullable column gets the language's optional form of the type.
void LanguageType(TypeLanguage language, const ColumnTypeFacts& column,
                  const TypeOverrides& overrides, std::string& out);

}  // namespace morva::tpx
