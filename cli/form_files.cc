#include "cli/form_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "workbench/formfile/formfile.h"

namespace morva::cli {

bool ConvertClosedFormFile(tpx::OutputFiles& files, const std::string& filename) {
    std::string target = formfile::FormFileTargetName(filename);
    auto fail = [&](const std::string& reason) {
        std::fprintf(stderr, "%s: Error on Converting to .DFM: %s\n", filename.c_str(),
                     reason.c_str());
        return false;
    };
    std::string text;
    if (const std::string* closed = files.LastClosedText(filename)) {
        text = *closed;
    } else if (!tpx::ReadWholeFile(files.PathOf(filename), &text)) {
        return fail(std::strerror(errno));
    }
    std::string binary, reason;
    if (!formfile::TextToBinary(text, formfile::ResourceHeader::kInclude, &binary, &reason))
        return fail(reason);
    // Writing over the source would destroy the description the form came from.
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::weakly_canonical(files.PathOf(filename), ec) ==
        fs::weakly_canonical(files.PathOf(target), ec))
        return fail(target + " is the source file");
    if (int error = files.Put(target, binary)) return fail(target + ": " + std::strerror(error));
    return true;
}

}  // namespace morva::cli
