#include "engine/script/name_style.h"

#include <gtest/gtest.h>

#include <string>

namespace morva::tpx {
namespace {

std::string Cased(std::string_view name, LetterCase letterCase) {
    std::string out = "left over";
    ConvertCase(name, letterCase, out);
    return out;
}

std::string Escaped(std::string_view text, Escape escape) {
    std::string out;
    AppendEscaped(text, escape, out);
    return out;
}

std::string Safe(std::string_view name, Language language) {
    std::string scratch;
    return std::string(SafeName(name, language, scratch));
}

TEST(LetterCaseTest, SplitsWordsAtSeparatorsAndCaseChanges) {
    for (std::string_view name : {"BOOK_AUTHOR", "book_author", "bookAuthor", "BookAuthor",
                                  "book-author", "Book Author", "__book__author__"}) {
        EXPECT_EQ(Cased(name, LetterCase::Pascal), "BookAuthor") << name;
        EXPECT_EQ(Cased(name, LetterCase::Camel), "bookAuthor") << name;
        EXPECT_EQ(Cased(name, LetterCase::Snake), "book_author") << name;
        EXPECT_EQ(Cased(name, LetterCase::Kebab), "book-author") << name;
    }
    // A run of capitals is one word: only lower case followed by upper case splits.
    EXPECT_EQ(Cased("HTTPServer", LetterCase::Snake), "httpserver");
    EXPECT_EQ(Cased("userID", LetterCase::Snake), "user_id");
}

TEST(LetterCaseTest, DigitsStayWithTheWordBefore) {
    EXPECT_EQ(Cased("ADDRESS_LINE2", LetterCase::Pascal), "AddressLine2");
    EXPECT_EQ(Cased("address2line", LetterCase::Pascal), "Address2line");
    EXPECT_EQ(Cased("Address2Line", LetterCase::Snake), "address2_line");
    // Without lower-case letters nothing marks a word after the digits.
    EXPECT_EQ(Cased("ADDRESS2LINE", LetterCase::Snake), "address2line");
    EXPECT_EQ(Cased("2FA_CODE", LetterCase::Camel), "2faCode");
    EXPECT_EQ(Cased("col_1_2", LetterCase::Kebab), "col-1-2");
}

TEST(LetterCaseTest, SingleLettersEmptyNamesAndUpperLower) {
    EXPECT_EQ(Cased("x", LetterCase::Pascal), "X");
    EXPECT_EQ(Cased("X", LetterCase::Camel), "x");
    EXPECT_EQ(Cased("A_B_C", LetterCase::Camel), "aBC");
    EXPECT_EQ(Cased("aB", LetterCase::Snake), "a_b");
    EXPECT_EQ(Cased("", LetterCase::Pascal), "");
    EXPECT_EQ(Cased("___", LetterCase::Snake), "");
    // Upper and lower change letters only; as-is changes nothing.
    EXPECT_EQ(Cased("Book_Author2", LetterCase::Upper), "BOOK_AUTHOR2");
    EXPECT_EQ(Cased("Book_Author2", LetterCase::Lower), "book_author2");
    EXPECT_EQ(Cased("Book_Author2", LetterCase::AsIs), "Book_Author2");
    // UTF-8 letters have no case here but stay whole inside their word.
    EXPECT_EQ(Cased("CAFÉ_TABLE", LetterCase::Pascal), "CafÉTable");
    EXPECT_EQ(Cased("größe_x", LetterCase::Camel), "größeX");
}

TEST(EscapeTest, EachModeEscapesItsSpecialCharacters) {
    const std::string_view text = "<a href=\"x\">Tom's & co</a>";
    EXPECT_EQ(Escaped(text, Escape::Html),
              "&lt;a href=&quot;x&quot;&gt;Tom&#39;s &amp; co&lt;/a&gt;");
    EXPECT_EQ(Escaped(text, Escape::Sql), "<a href=\"x\">Tom''s & co</a>");
    EXPECT_EQ(Escaped(text, Escape::None), text);
    // A string literal body: backslash, double quote and control characters; a single quote
    // is legal inside double quotes in every C-family language.
    EXPECT_EQ(Escaped("C:\\dir \"q\" it's\n\t\r", Escape::String),
              "C:\\\\dir \\\"q\\\" it's\\n\\t\\r");
    EXPECT_EQ(Escaped(std::string("a\x01"
                                  "1\x7f",
                                  4),
                      Escape::String),
              "a\\u00011\\u007f");
    EXPECT_EQ(Escaped("größe", Escape::String), "größe");
    EXPECT_EQ(Escaped("", Escape::Html), "");
}

TEST(SafeNameTest, ReservedWordsTakeTheLanguagesEscapedForm) {
    EXPECT_EQ(Safe("class", Language::Cpp), "class_");
    EXPECT_EQ(Safe("errno", Language::Cpp), "errno_");
    EXPECT_EQ(Safe("Class", Language::Cpp), "Class");
    EXPECT_EQ(Safe("class", Language::CSharp), "@class");
    EXPECT_EQ(Safe("string", Language::CSharp), "@string");
    EXPECT_EQ(Safe("class", Language::Java), "class_");
    EXPECT_EQ(Safe("hashCode", Language::Java), "hashCode_");
    EXPECT_EQ(Safe("delete", Language::TypeScript), "delete_");
    EXPECT_EQ(Safe("type", Language::TypeScript), "type");
    EXPECT_EQ(Safe("type", Language::Go), "type_");
    EXPECT_EQ(Safe("None", Language::Python), "None_");
    EXPECT_EQ(Safe("type", Language::Python), "type");
    EXPECT_EQ(Safe("type", Language::Rust), "r#type");
    EXPECT_EQ(Safe("match", Language::Rust), "r#match");
    for (const char* name : {"self", "Self", "super", "crate"})
        EXPECT_EQ(Safe(name, Language::Rust), std::string(name) + "_");
    // SQL ignores letter case.
    EXPECT_EQ(Safe("order", Language::Sql), "\"order\"");
    EXPECT_EQ(Safe("ORDER", Language::Sql), "\"ORDER\"");
    EXPECT_EQ(Safe("orders", Language::Sql), "orders");
}

TEST(SafeNameTest, NamesStartingWithADigitBecomeIdentifiers) {
    EXPECT_EQ(Safe("2fa", Language::Cpp), "_2fa");
    EXPECT_EQ(Safe("2fa", Language::CSharp), "_2fa");
    EXPECT_EQ(Safe("2fa", Language::Rust), "_2fa");
    EXPECT_EQ(Safe("2\"fa", Language::Sql), "\"2\"\"fa\"");
    EXPECT_EQ(Safe("", Language::Cpp), "");
    EXPECT_EQ(Safe("title", Language::Cpp), "title");
}

}  // namespace
}  // namespace morva::tpx
