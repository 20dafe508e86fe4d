#pragma once
// Canonical text and JSON forms of a schema, for tests and for `morva-cli dump DB S`.

#include <string>
#include <vector>

#include "sqlcompiler/table_file.h"
#include "workbench/schema/schema.h"

namespace morva::schema {

/// One line for the identity, then per table a line, its columns and its references, indented;
/// texts quoted as com::Quoted writes them.
std::string DumpSchema(const TSchema& schema);
/// The same content as one JSON object.
std::string DumpSchemaJson(const TSchema& schema);
/// The database's JSON (sql::DumpTablesJson) with a "schemas" member: each schema as
/// DumpSchemaJson writes it, in the order given.
std::string DumpDatabaseJson(const std::string& database, const std::vector<sql::TableFile>& tables,
                             const std::vector<TSchema>& schemas);

}  // namespace morva::schema
