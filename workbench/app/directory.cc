#include "workbench/app/directory.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "component/text_util.h"

namespace morva::app {

namespace fs = std::filesystem;

bool TDirectory::Exists() const {
    std::error_code ec;
    return !path_.empty() && fs::is_directory(path_, ec) && ::access(path_.c_str(), X_OK) == 0;
}

bool TDirectory::Make() const {
    std::error_code ec;
    return fs::create_directory(path_, ec);
}

bool TDirectory::DeleteFiles() const {
    bool ok = true;
    std::error_code ec;
    for (const std::string& name : List("*.*", false)) {
        if (!fs::remove(fs::path(path_) / name, ec)) ok = false;
    }
    return ok;
}

bool TDirectory::Remove() const {
    DeleteFiles();
    std::error_code ec;
    return fs::remove(path_, ec) && !ec;
}

std::vector<std::string> TDirectory::List(const std::string& pattern, bool withFolders) const {
    std::vector<std::string> names;
    const std::string glob = pattern == "*.*" ? "*" : pattern;
    std::error_code ec;
    for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code kind;
        const bool isFile = it->is_regular_file(kind);
        const bool isFolder = it->is_directory(kind);
        if (!isFile && !(withFolders && isFolder)) continue;
        if (::fnmatch(glob.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
        names.push_back(name);
    }
    // Sorted as the original platform's file system returns names: ignoring letter case,
    // ties broken by the bytes so the order is stable.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = com::ToUpperAscii(a), ub = com::ToUpperAscii(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

}  // namespace morva::app
