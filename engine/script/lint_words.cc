#include "engine/script/lint_words.h"

#include <algorithm>
#include <cctype>

#include "component/text_util.h"
#include "engine/script/tags.h"

namespace morva::tpx {

namespace {

// Element names of HTML, the markup templates most often generate. In a script whose body
// looks like markup these are element names, not misspelt tags.
constexpr std::string_view kHtmlElements[] = {
    "a",        "abbr",   "address", "article", "aside",  "b",        "big",    "blockquote",
    "body",     "br",     "button",  "caption", "center", "code",     "col",    "colgroup",
    "dd",       "div",    "dl",      "dt",      "em",     "fieldset", "figure", "font",
    "footer",   "form",   "h1",      "h2",      "h3",     "h4",       "h5",     "h6",
    "head",     "header", "hr",      "html",    "i",      "img",      "input",  "label",
    "legend",   "li",     "link",    "main",    "meta",   "nav",      "ol",     "option",
    "p",        "pre",    "q",       "s",       "script", "section",  "select", "small",
    "span",     "strong", "style",   "sub",     "sup",    "table",    "tbody",  "td",
    "textarea", "tfoot",  "th",      "thead",   "title",  "tr",       "tt",     "u",
    "ul",       "var",
};

// Short words that markup vocabularies other than HTML use as element names; a tag of that
// name written in lower case in a markup body is most likely meant as markup.
constexpr std::string_view kMarkupWords[] = {"left", "right", "text", "normal", "type", "size"};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           com::EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool HasLowerCase(std::string_view text) {
    return std::any_of(text.begin(), text.end(), com::IsLowerAscii);
}

std::string_view BareName(std::string_view word, bool* closing) {
    if (word.size() < 3 || word.front() != '<' || word.back() != '>') return {};
    std::string_view name = word.substr(1, word.size() - 2);
    *closing = !name.empty() && name.front() == '/';
    if (*closing) name.remove_prefix(1);
    if (name.empty() || !IsNameStart(name.front())) return {};
    for (char c : name) {
        if (!IsNameChar(c)) return {};
    }
    return name;
}

size_t EditDistance(std::string_view a, std::string_view b) {
    constexpr size_t kMax = 40;
    if (a.size() >= kMax || b.size() >= kMax) return kMax;
    size_t d[kMax + 1][kMax + 1];
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

std::string ClosestTag(std::string_view upperWord) {
    bool closing = false;
    std::string_view bare = BareName(upperWord, &closing);
    size_t allowed = bare.size() <= 4 ? 1 : 2;
    std::string best;
    size_t bestDistance = allowed + 1;
    auto consider = [&](std::string_view spelling) {
        bool tagClosing = false;
        std::string_view tagBare = BareName(spelling, &tagClosing);
        if (tagClosing != closing) return;
        size_t longer = std::max(tagBare.size(), bare.size());
        if (longer - std::min(tagBare.size(), bare.size()) > allowed) return;
        size_t distance = EditDistance(bare, tagBare);
        if (distance < bestDistance && distance * 2 < longer) {
            bestDistance = distance;
            best = spelling;
        }
    };
    for (const TagInfo& tag : TagTable()) consider(tag.spelling);
    consider("<COMMENT>");
    return best;
}

Markup ReadMarkup(std::string_view body) {
    Markup markup;
    std::unordered_set<std::string> opened, closed;
    for (size_t i = body.find('<'); i != std::string_view::npos; i = body.find('<', i + 1)) {
        std::string_view rest = body.substr(i);
        if (StartsWithNoCase(rest, "<?XML") || StartsWithNoCase(rest, "<!DOCTYPE") ||
            rest.starts_with("<!--")) {
            markup.looksLikeMarkup = true;
            continue;
        }
        size_t j = 1;
        bool closing = j < rest.size() && rest[j] == '/';
        if (closing) ++j;
        size_t nameStart = j;
        if (j >= rest.size() || !IsNameStart(rest[j])) continue;
        while (j < rest.size() && (IsNameChar(rest[j]) || rest[j] == '-' || rest[j] == ':')) ++j;
        if (j >= rest.size()) continue;
        char after = rest[j];
        std::string name = com::ToUpperAscii(rest.substr(nameStart, j - nameStart));
        if (closing && after == '>') {
            if (!FindTag(rest.substr(0, j + 1))) closed.insert(name);
        } else if (!closing && (after == '>' || after == '/' || after == ' ' || after == '\t' ||
                                after == '\n' || after == '\r')) {
            opened.insert(std::move(name));
        }
    }
    for (std::string_view html : kHtmlElements) markup.elements.insert(com::ToUpperAscii(html));
    size_t others = 0;
    for (const std::string& name : closed) {
        if (!opened.count(name)) continue;
        if (markup.elements.count(name)) {
            markup.looksLikeMarkup = true;
        } else {
            ++others;
            markup.elements.insert(name);
        }
    }
    if (others >= 2) markup.looksLikeMarkup = true;
    return markup;
}

bool IsMarkupWord(std::string_view name) {
    return std::any_of(std::begin(kMarkupWords), std::end(kMarkupWords),
                       [name](std::string_view word) { return com::EqualsIgnoreCase(word, name); });
}

bool Markup::IsElement(std::string_view name) const {
    return elements.count(com::ToUpperAscii(name)) != 0;
}

}  // namespace morva::tpx
