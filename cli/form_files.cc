#include "cli/form_files.h"

#include <cstdio>

#include "workbench/formfile/formfile.h"

namespace morva::cli {

void ConvertClosedFormFile(const std::string& filename) {
    std::string error;
    if (!formfile::ConvertToFormFile(filename, std::string(), &error))
        std::fprintf(stderr, "%s\n", error.c_str());
}

}  // namespace morva::cli
