#include "sqlcompiler/keywords.h"

#include <algorithm>
#include <array>

#include "sql_parser.hh"

namespace morva::sql {
namespace {

constexpr std::array<Keyword, 48> kKeywords{{
    {"ADD", KW_ADD},
    {"ALTER", KW_ALTER},
    {"AND", KW_AND},
    {"AS", KW_AS},
    {"ASC", KW_ASC},
    {"ASCENDING", KW_ASC},
    {"BLOB", KW_BLOB},
    {"BY", KW_BY},
    {"CHARACTER", KW_CHARACTER},
    {"CHECK", KW_CHECK},
    {"COLLATE", KW_COLLATE},
    {"COMPUTED", KW_COMPUTED},
    {"CONSTRAINT", KW_CONSTRAINT},
    {"CREATE", KW_CREATE},
    {"DATE", KW_DATE},
    {"DECIMAL", KW_DECIMAL},
    {"DEFAULT", KW_DEFAULT},
    {"DESC", KW_DESC},
    {"DESCENDING", KW_DESC},
    {"DOMAIN", KW_DOMAIN},
    {"DOUBLE", KW_DOUBLE},
    {"DROP", KW_DROP},
    {"FLOAT", KW_FLOAT},
    {"FOREIGN", KW_FOREIGN},
    {"IN", KW_IN},
    {"INDEX", KW_INDEX},
    {"INTEGER", KW_INTEGER},
    {"IS", KW_IS},
    {"KEY", KW_KEY},
    {"NCHAR", KW_NCHAR},
    {"NOT", KW_NOT},
    {"NULL", KW_NULL},
    {"NUMBER", KW_NUMBER},
    {"NUMERIC", KW_NUMERIC},
    {"OR", KW_OR},
    {"PRECISION", KW_PRECISION},
    {"PRIMARY", KW_PRIMARY},
    {"REFERENCES", KW_REFERENCES},
    {"SEGMENT", KW_SEGMENT},
    {"SET", KW_SET},
    {"SIZE", KW_SIZE},
    {"SMALLINT", KW_SMALLINT},
    {"SUB_TYPE", KW_SUB_TYPE},
    {"TABLE", KW_TABLE},
    {"UNIQUE", KW_UNIQUE},
    {"VARCHAR", KW_VARCHAR},
    {"VARCHAR2", KW_VARCHAR2},
    {"VARYING", KW_VARYING},
}};

static_assert(std::is_sorted(kKeywords.begin(), kKeywords.end(),
                             [](const Keyword& a, const Keyword& b) {
                                 return a.spelling < b.spelling;
                             }),
              "the keyword table must stay sorted for the binary search");

}  // namespace

std::span<const Keyword> Keywords() {
    return kKeywords;
}

int LookupKeyword(std::string_view upper) {
    auto it = std::lower_bound(kKeywords.begin(), kKeywords.end(), upper,
                               [](const Keyword& k, std::string_view w) { return k.spelling < w; });
    return it != kKeywords.end() && it->spelling == upper ? it->token : 0;
}

}  // namespace morva::sql
