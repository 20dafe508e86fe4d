#pragma once
// Subcommand handlers; each lives in cmd_<name>.cc. A null handler means "not built yet".

#include "cli/cli.h"

namespace morva::cli {

int CompileCommand(Context&);
int LintCommand(Context&);
int RunCommand(Context&);
int SqlCommand(Context&);
int OdbcCommand(Context&);
int SchemaCommand(Context&);
int DumpCommand(Context&);
int DfmCommand(Context&);
int AliasCommand(Context&);
int ImportCommand(Context&);

}  // namespace morva::cli
