#pragma once
// The compact model of a creation script that the corpus tests compare: tables with their
// columns (canonical type, key mark) and reference groups, as one text. Both sides of a
// comparison are turned into it: what a database engine made of the script, or a hand-written
// expectation, and what `morva-cli dump --json` shows after reading the script.
//
//   table ORDERS
//     column ID INTEGER key
//     column NOTE VARCHAR(200)
//     ref CUSTOMERS ID=CUSTOMER_ID
//
// Tables are listed by name, columns in table order, reference lines sorted; names upper case;
// references of a table to itself are left out.

#include <string>
#include <utility>
#include <vector>

namespace morva::sql::corpus {

/// A canonical data type: the upper-case name and the sizes that belong to it.
struct CanonicalType {
    std::string name;   // INTEGER, VARCHAR, NUMERIC, ... or the declared name upper-cased
    int length = 0;     // VARCHAR and CHAR
    int precision = 0;  // NUMERIC and DECIMAL
    int scale = 0;

    bool operator==(const CanonicalType&) const = default;
};

struct Column {
    std::string name;
    std::string type;  // TypeText of its canonical type
    bool key = false;  // in a primary key, a unique constraint or an index
};

/// A reference group: the master table and its (master column, local column) pairs.
struct Reference {
    std::string master;
    std::vector<std::pair<std::string, std::string>> pairs;
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<Reference> references;
};

/// Maps a declared type of any of the dialects ("character varying(40)", "VARCHAR2(40 CHAR)",
/// "[NVARCHAR] (40)", "int(10) unsigned", "BLOB SUB_TYPE TEXT", ...) to its canonical type.
CanonicalType Canonical(const std::string& declared);
/// "VARCHAR(40)", "NUMERIC(10,2)", "INTEGER": sizes only for the types that carry them.
std::string TypeText(const CanonicalType& type);

/// The compact text of `tables`; names are upper-cased and self-references dropped here.
std::string CompactText(std::vector<Table> tables);
/// Reads a compact text (a hand-written expectation). False with the line in `error` when a
/// line is none of table, column or ref.
bool ParseCompactText(const std::string& text, std::vector<Table>* tables, std::string* error);
/// Reads the output of `morva-cli dump DB --json`. False with a reason on malformed input.
bool TablesFromDumpJson(const std::string& json, std::vector<Table>* tables, std::string* error);

}  // namespace morva::sql::corpus
