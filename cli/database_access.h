#pragma once
// Loading database information and schemas for the subcommands, with their errors reported on
// standard error.

#include <memory>
#include <string>

#include "cli/cli.h"
#include "workbench/schema/database_infor.h"
#include "workbench/schema/schema.h"

namespace morva::cli {

/// The database `name` below the database folder, or null after printing why.
std::unique_ptr<schema::TDatabaseInfor> OpenDatabase(const Context& ctx, const std::string& name);
/// The schema `name` of database `db`, or null after printing why.
std::unique_ptr<schema::TSchema> OpenSchema(const Context& ctx, const std::string& db,
                                            const std::string& name);

}  // namespace morva::cli
