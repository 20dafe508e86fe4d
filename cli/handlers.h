#pragma once
// Subcommand handlers; each lives in cmd_<name>.cc. A null handler means "not built yet".

#include "cli/cli.h"

namespace morva::cli {

inline constexpr Handler CompileCommand = nullptr;
inline constexpr Handler RunCommand = nullptr;
inline constexpr Handler SqlCommand = nullptr;
inline constexpr Handler OdbcCommand = nullptr;
inline constexpr Handler SchemaCommand = nullptr;
inline constexpr Handler DumpCommand = nullptr;
int DfmCommand(Context&);
inline constexpr Handler AliasCommand = nullptr;

}  // namespace morva::cli
