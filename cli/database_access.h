#pragma once
// Loading database information and schemas for the subcommands, with their errors reported on
// standard error.

#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::cli {

/// The databases below the database folder: its subfolders, hidden ones left out, sorted by
/// name ignoring case.
std::vector<std::string> DatabaseNames(const std::string& databaseDir);
/// True when `name` is one of DatabaseNames(); otherwise prints that it is not, with the
/// databases there are.
bool CheckDatabase(const Context& ctx, const std::string& name);
/// The database `name` below the database folder, or null after printing why.
std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const Context& ctx, const std::string& name);
/// The schema `name` of database `db`, or null after printing why (an unknown database or
/// schema with the names there are).
std::unique_ptr<schema::TSchema> OpenSchema(const Context& ctx, const std::string& db,
                                            const std::string& name);

}  // namespace morva::cli
