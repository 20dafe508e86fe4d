#pragma once
// The words of a script that the lint weighs against the tag vocabulary: the tag a word in
// angle brackets most likely misspells, and the markup a script's body generates, whose
// element names are neither misspelt tags nor meant as tags.

#include <string>
#include <string_view>
#include <unordered_set>

namespace morva::tpx {

/// The letters of a tag's name, as the scanner reads them: a letter or "_" first, then
/// letters, digits and "_".
bool IsNameStart(char c);
bool IsNameChar(char c);
/// True when `text` holds an ASCII lower-case letter.
bool HasLowerCase(std::string_view text);

/// The bare name of a tag-shaped word: "COLUMNS" of "<COLUMNS>" or "</COLUMNS>", and whether it
/// is a closing form; empty when `word` is not shaped like a tag.
std::string_view BareName(std::string_view word, bool* closing);

/// Letters added, dropped, changed or two neighbours swapped to make `a` into `b`.
size_t EditDistance(std::string_view a, std::string_view b);

/// The tag spelling `upperWord` (upper case, with brackets) most likely misspells, or empty. A
/// word of up to four letters may be one edit away, a longer one two; and the edits must leave
/// more than half of the longer word in place, so that one-letter words match no one-letter tag.
std::string ClosestTag(std::string_view upperWord);

/// What the body's text tells about the markup it generates.
struct Markup {
    bool looksLikeMarkup = false;
    /// Names (in upper case) that stand as elements here: HTML's and those the body opens and
    /// closes.
    std::unordered_set<std::string> elements;
    bool IsElement(std::string_view name) const;
};

/// Reads the element names of `body`: "<name" followed by ">", "/>" or a blank opens one,
/// "</name>" closes one. The body looks like markup when it holds an XML declaration, a
/// document type or a markup comment, or opens and closes an HTML element or two other
/// elements that are not tags.
Markup ReadMarkup(std::string_view body);

/// True for the short words that markup vocabularies other than HTML use as element names
/// ("left", "text", ...), in any letter case: a tag of that name in lower case in markup is
/// most likely markup.
bool IsMarkupWord(std::string_view name);

}  // namespace morva::tpx
