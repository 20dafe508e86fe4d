#pragma once
// Subcommand handlers; each lives in cmd_<name>.cc. A null handler means "not built yet".

#include "cli/cli.h"

namespace morva::cli {

int CompileCommand(Context&);
inline constexpr Handler RunCommand = nullptr;
inline constexpr Handler SqlCommand = nullptr;
inline constexpr Handler OdbcCommand = nullptr;
inline constexpr Handler SchemaCommand = nullptr;
inline constexpr Handler DumpCommand = nullptr;
inline constexpr Handler DfmCommand = nullptr;
inline constexpr Handler AliasCommand = nullptr;

}  // namespace morva::cli
