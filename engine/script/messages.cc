#include "engine/script/messages.h"

#include <cstring>
#include <iterator>

#include "engine/script/diagnostics.h"

namespace morva::tpx {

namespace {

constexpr const char* kSyntaxMessages[] = {
    "missing token </TEXT>",
    "missing token </CREATE>",
    "missing token </COLUMNS>",
    "missing token </VAR>",
    "missing token </TABLES>",
    "missing token <THEN>",
    "missing token </IF>",
    "missing token </EXPR>",
    "missing ','",
    "missing ')'",
    "missing token </ROOMNAMES>",
    "missing ';'",
    "missing token </RefTables>",
    "missing token </RefColumnc>",
    "missing token <RefTables>",
    "missing token </EL>",
    "missing token </ELC>",
    "missing token </ELT>",
    "missing token </ELR>",
    "missing token </ELRC>",
    "missing token </ELRT>",
    "missing token </LookupItems>",
    "missing token </ELRN>",
    "missing token </ELLI>",
    "missing token <Tables>",
    "missing token <Columns>",
    "Invalid conditional expression",
    "Invalid expression",
    "Dupplicate Tables block",
    "Dupplicate Columns block",
    "Dupplicate Reference tables block",
    "Dupplicate Reference columns block",
    "Dupplicate Lookup items block",
    "String value in Expression",
    "Token that depand on TABLE used outside of <Tables>...</Tables>",
    "Token that depand on COLUMN used outside of <Columns>...</Columns>",
    "Token that depand on TABLES/COLUMN used outside of <Tables><Columns>...</Columns></Tables>",
    "Token that depand on REFERENCE TABLE used outside of <RefTables>...</RefTables>",
    "Token that depand on REFERENCE COLUMN used outside of <RefColumns>...<RefColumns>",
    "Token that depand on REFTABLES/REFCOLUMN used outside of "
    "<RefTables><RefColumns>...</RefColumns></RefTables>",
    "Token <LookupItem> must be in <LookupItems>...</LookupItems>",
};

constexpr const char* kWarningMessages[] = {
    "Token that depand on table used outside of Tables block",
    "Duplicate Symbol define",
};

constexpr const char* kFatalMessages[] = {
    "Insufficent memory",
    "Too big script: Compiler Stack Overflow",
    "BUG: Invalid IF-Stack",
};

template <size_t N>
const char* MessageOf(const char* const (&table)[N], int32_t code) {
    return code >= 0 && static_cast<size_t>(code) < N ? table[code] : nullptr;
}

const char* File() {
    return Engine().fileName.c_str();
}

}  // namespace

void yySyntax(int32_t code, const char* text) {
    EngineState& e = Engine();
    ++e.errorCount;
    const char* message = MessageOf(kSyntaxMessages, code);
    if (!message) {
        WriteMessage("\t*** BUG: In yySyntax(): Invalid error code %d\n", code);
    } else if (text) {
        WriteMessage("%s(%d): syntax error: %s '%s'", File(), e.line, message, text);
    } else {
        WriteMessage("%s(%d): syntax error: %s", File(), e.line, message);
    }
}

void yyWarning(int32_t code, const char* text) {
    EngineState& e = Engine();
    ++e.warningCount;
    const char* message = MessageOf(kWarningMessages, code);
    if (!message) {
        WriteMessage("\t*** BUG: In yyWarning(): Invalid error code %d\n", code);
    } else if (text) {
        WriteMessage("%s(%d): Warning error: %s '%s'", File(), e.line, message, text);
    } else {
        WriteMessage("%s(%d): Warning error: %s", File(), e.line, message);
    }
}

void yyFatal(int32_t code) {
    EngineState& e = Engine();
    ++e.fatalCount;
    const char* message = MessageOf(kFatalMessages, code);
    if (!message) {
        WriteMessage("\t*** BUG: In yyFatal(): Invalid error code %d\n", code);
    } else {
        WriteMessage("%s(%d): Fatal error: %s", File(), e.line, message);
    }
}

void yyFatalText(const char* text) {
    EngineState& e = Engine();
    ++e.fatalCount;
    WriteMessage("%s(%d): Fatal error: %s", File(), e.line, text);
}

void yyParserError(const char* message) {
    // Bison calls a full stack "memory exhausted"; yacc called it "yacc stack overflow".
    if (std::strcmp(message, "yacc stack overflow") == 0 ||
        std::strcmp(message, "memory exhausted") == 0) {
        yyFatal(kFatalStackOverflow);
        return;
    }
    ++Engine().errorCount;
    WriteMessage("%s(%d): syntax error", File(), Engine().line);
}

}  // namespace morva::tpx
