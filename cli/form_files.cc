#include "cli/form_files.h"

#include <cstdio>

namespace morva::cli {

void ConvertClosedFormFile(const std::string& filename) {
    std::fprintf(stderr, "%s: Error on Converting to .DFM: %s\n", filename.c_str(),
                 "form file conversion is not available in this build");
}

}  // namespace morva::cli
