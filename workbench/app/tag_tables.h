#pragma once
// The tag names the editor colours. Kept in this one place so that they can later be taken
// from the template language's own tag table. A tag the engine knows but that is missing
// here is simply not coloured.

#include <algorithm>
#include <array>
#include <string_view>

namespace morva::app {

/// Structural tags, coloured in the tag colour.
inline constexpr std::array<std::string_view, 67> kStructuralTags = {
    "</COLUMNS>",   "</CREATE>",      "</EL>",         "</ELC>",        "</ELLI>",
    "</ELR>",       "</ELRC>",        "</ELRT>",       "</ELT>",        "</EXPR>",
    "</IF>",        "</LOOKUPITEMS>", "</REFCOLUMNS>", "</REFTABLES>",  "</TABLES>",
    "</TEXT>",      "</VAR>",         "<ASIS>",        "<CAMEL>",       "<CENTER>",
    "<CLOSE>",      "<CLOSEASDFM>",   "<COLUMNS>",     "<COMMENT>",     "<CREATE>",
    "<EL>",         "<ELC>",          "<ELIF>",        "<ELLI>",        "<ELR>",
    "<ELRC>",       "<ELRT>",         "<ELSE>",        "<ELSEIF>",      "<ELT>",
    "<ESCHTML>",    "<ESCSQL>",       "<ESCSTR>",      "<EXPR>",        "<IF>",
    "<IN>",         "<KEBAB>",        "<LEFT>",        "<LOOKUPITEMS>", "<LOWER>",
    "<NOESC>",      "<NORMAL>",       "<NOSAFE>",      "<NOTIN>",       "<PASCAL>",
    "<REFCOLUMNS>", "<REFTABLES>",    "<RIGHT>",       "<SAFECPP>",     "<SAFECS>",
    "<SAFEGO>",     "<SAFEJAVA>",     "<SAFEPY>",      "<SAFERUST>",    "<SAFESQL>",
    "<SAFETS>",     "<SNAKE>",        "<TABLES>",      "<TEXT>",        "<THEN>",
    "<UPPER>",      "<VAR>"};

/// Value tags, coloured in the value colour like variable tags.
inline constexpr std::array<std::string_view, 50> kValueTags = {"<C>",
                                                                "<COUNT>",
                                                                "<D>",
                                                                "<DASCPP>",
                                                                "<DASCS>",
                                                                "<DASDELPHI>",
                                                                "<DASGO>",
                                                                "<DASJAVA>",
                                                                "<DASPY>",
                                                                "<DASRUST>",
                                                                "<DASTS>",
                                                                "<DATABASE>",
                                                                "<DISPSIZE>",
                                                                "<FOREIGNKEY>",
                                                                "<ISFOREIGNKEY>",
                                                                "<ISKEY>",
                                                                "<ISLOOKUP>",
                                                                "<ISLOOKUPBYITEMS>",
                                                                "<ISLOOKUPBYTABLE>",
                                                                "<ISNOTFOREIGNKEY>",
                                                                "<ISNOTKEY>",
                                                                "<ISNOTLOOKUP>",
                                                                "<ISNOTPROCESSED>",
                                                                "<ISNOTREADONLY>",
                                                                "<ISPROCESSED>",
                                                                "<ISREADONLY>",
                                                                "<KEYCOUNT>",
                                                                "<L>",
                                                                "<LOOKUPC>",
                                                                "<LOOKUPITEM>",
                                                                "<LOOKUPKEY>",
                                                                "<LOOKUPL>",
                                                                "<LOOKUPT>",
                                                                "<MAXLABELLEN>",
                                                                "<MAXNAMELEN>",
                                                                "<MAXSIZELEN>",
                                                                "<P>",
                                                                "<REFC>",
                                                                "<REFT>",
                                                                "<S>",
                                                                "<SCALE>",
                                                                "<SIZE>",
                                                                "<SL>",
                                                                "<STYPE>",
                                                                "<T>",
                                                                "<TCOUNT>",
                                                                "<TKEYCOUNT>",
                                                                "<TL>",
                                                                "<TTYPE>",
                                                                "<TYPE>"};

// The look-up is a binary search over these tables.
static_assert(std::is_sorted(kStructuralTags.begin(), kStructuralTags.end()));
static_assert(std::is_sorted(kValueTags.begin(), kValueTags.end()));

}  // namespace morva::app
