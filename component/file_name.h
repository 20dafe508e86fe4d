#pragma once
// Names that must stay inside their folder: table files, database folders, schema files.

#include <string>
#include <string_view>

namespace morva::com {

/// Why `name` cannot name an entry of a folder, or "" when it can. An empty name, "." and
/// "..", and names with "/" or a NUL byte would name the folder itself, its parent or
/// something elsewhere.
std::string UnsafeFileNameReason(std::string_view name);
/// True when UnsafeFileNameReason(name) is empty.
bool IsSafeFileName(std::string_view name);

}  // namespace morva::com
