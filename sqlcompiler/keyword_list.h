#pragma once
// The SQL keywords, written once: each spelling with the parser's token that it scans as.
// Sorted by byte value (the look-up is a binary search); two spellings may share a token
// (ASC and ASCENDING). The token names are the grammar's (sql_parser.y declares them), so an
// entry here without its %token there fails to compile.
//
// Expand with a macro X(spelling, token).

#define MORVA_SQL_KEYWORDS(X)      \
    X("ADD", KW_ADD)               \
    X("ALTER", KW_ALTER)           \
    X("AND", KW_AND)               \
    X("AS", KW_AS)                 \
    X("ASC", KW_ASC)               \
    X("ASCENDING", KW_ASC)         \
    X("BLOB", KW_BLOB)             \
    X("BY", KW_BY)                 \
    X("CHARACTER", KW_CHARACTER)   \
    X("CHECK", KW_CHECK)           \
    X("COLLATE", KW_COLLATE)       \
    X("COMPUTED", KW_COMPUTED)     \
    X("CONSTRAINT", KW_CONSTRAINT) \
    X("CREATE", KW_CREATE)         \
    X("DATE", KW_DATE)             \
    X("DECIMAL", KW_DECIMAL)       \
    X("DEFAULT", KW_DEFAULT)       \
    X("DESC", KW_DESC)             \
    X("DESCENDING", KW_DESC)       \
    X("DOMAIN", KW_DOMAIN)         \
    X("DOUBLE", KW_DOUBLE)         \
    X("DROP", KW_DROP)             \
    X("FLOAT", KW_FLOAT)           \
    X("FOREIGN", KW_FOREIGN)       \
    X("IN", KW_IN)                 \
    X("INDEX", KW_INDEX)           \
    X("INTEGER", KW_INTEGER)       \
    X("IS", KW_IS)                 \
    X("KEY", KW_KEY)               \
    X("NCHAR", KW_NCHAR)           \
    X("NOT", KW_NOT)               \
    X("NULL", KW_NULL)             \
    X("NUMBER", KW_NUMBER)         \
    X("NUMERIC", KW_NUMERIC)       \
    X("OR", KW_OR)                 \
    X("PRECISION", KW_PRECISION)   \
    X("PRIMARY", KW_PRIMARY)       \
    X("REFERENCES", KW_REFERENCES) \
    X("SEGMENT", KW_SEGMENT)       \
    X("SET", KW_SET)               \
    X("SIZE", KW_SIZE)             \
    X("SMALLINT", KW_SMALLINT)     \
    X("SUB_TYPE", KW_SUB_TYPE)     \
    X("TABLE", KW_TABLE)           \
    X("UNIQUE", KW_UNIQUE)         \
    X("VARCHAR", KW_VARCHAR)       \
    X("VARCHAR2", KW_VARCHAR2)     \
    X("VARYING", KW_VARYING)
