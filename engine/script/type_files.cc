#include "engine/script/type_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/script/diagnostics.h"
#include "engine/script/program.h"

namespace morva::tpx {

namespace {

void Warn(const std::string& file, int32_t line, const std::string& reason) {
    ++Engine().warningCount;
    WriteMessage("%s(%d): Warning error: %s", file.c_str(), line, reason.c_str());
}

}  // namespace

void ReadTypeFiles(std::string_view scriptName, Program& program) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(scriptName).parent_path();
    for (size_t i = 0; i < kTypeLanguages; ++i) {
        if ((program.typeLanguagesUsed & (1u << i)) == 0) continue;
        const auto language = static_cast<TypeLanguage>(i);
        const fs::path path = folder / ("types." + std::string(TypeLanguageSuffix(language)));
        std::error_code ec;
        if (!fs::exists(path, ec)) continue;
        const std::string name = path.string();
        if (!fs::is_regular_file(path, ec)) {
            Warn(name, 1, "the type file is not a file");
            continue;
        }
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        if (in) text << in.rdbuf();
        if (!in || in.bad()) {
            Warn(name, 1,
                 std::string("cannot read the type file: ") + std::strerror(errno ? errno : EIO));
            continue;
        }
        std::vector<TypeFileProblem> problems;
        program.typeOverrides[i] = ParseTypeOverrides(text.str(), problems);
        for (const TypeFileProblem& p : problems) Warn(name, p.line, p.reason);
    }
}

}  // namespace morva::tpx
