#include "component/file_name.h"

namespace morva::com {

std::string UnsafeFileNameReason(std::string_view name) {
    if (name.empty()) return "the name is empty";
    if (name == ".") return "\".\" names the folder itself";
    if (name == "..") return "\"..\" names the parent folder";
    if (name.find('/') != std::string_view::npos) return "the name contains \"/\"";
    if (name.find('\0') != std::string_view::npos) return "the name contains a NUL byte";
    return {};
}

bool IsSafeFileName(std::string_view name) {
    return UnsafeFileNameReason(name).empty();
}

}  // namespace morva::com
