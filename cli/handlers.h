#pragma once
// Subcommand handlers; each lives in cmd_<name>.cc. A null handler means "not built yet".

#include "cli/cli.h"

namespace morva::cli {

inline constexpr Handler CompileCommand = nullptr;
inline constexpr Handler RunCommand = nullptr;
int SqlCommand(Context&);
int OdbcCommand(Context&);
inline constexpr Handler SchemaCommand = nullptr;
int DumpCommand(Context&);
inline constexpr Handler DfmCommand = nullptr;
inline constexpr Handler AliasCommand = nullptr;

}  // namespace morva::cli
