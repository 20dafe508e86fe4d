#pragma once
// The JSON model: database information and its schemas as `morva-cli dump DB --json` writes
// them, read back and checked so that `morva-cli import` can write the files again.

#include <string>
#include <string_view>
#include <vector>

#include "sqlcompiler/table_file.h"
#include "workbench/schema/schema.h"

namespace morva::cli {

/// A database read from its JSON: the tables as their table files hold them, and the schemas.
struct JsonModel {
    std::string database;  // the "database" member; "" when absent
    std::vector<sql::TableFile> tables;
    std::vector<schema::TSchema> schemas;
};

/// Parses `text` and checks it against the model's rules: known members of the right types,
/// required members present, numbers that fit 32 bits, texts that fit a 255-byte field, names
/// that can name a file, no duplicate table, column or schema (ignoring ASCII case), schema
/// entries that name tables and columns of the model, and references whose tables and columns
/// are in the model. With `keepDangling` a reference may name a table or column the model
/// lacks, as the SQL reader records a reference as its script states it. A string escape
/// \u0080 to \u00ff stands for that single byte, as the dump writes bytes that are not UTF-8.
/// `model` is emptied first. False with the first problem in `error`: "line L, column C: reason"
/// for text that is no JSON, "$.tables[3].columns[2].name: reason" for a model that breaks a rule.
bool ReadJsonModel(std::string_view text, JsonModel* model, std::string* error,
                   bool keepDangling = false);

}  // namespace morva::cli
