#include "workbench/schema/database_folder.h"

#include "component/file_name.h"

namespace morva::schema {

std::optional<std::string> DatabaseFolder(const std::string& databaseDir, std::string_view name,
                                          std::string* error) {
    std::string reason = com::UnsafeFileNameReason(name);
    if (!reason.empty()) {
        if (error) *error = "'" + std::string(name) + "' cannot name a database: " + reason;
        return std::nullopt;
    }
    return databaseDir + "/" + std::string(name);
}

}  // namespace morva::schema
