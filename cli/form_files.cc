#include "cli/form_files.h"

#include <cstdio>

#include "workbench/formfile/formfile.h"

namespace morva::cli {

namespace {

/// The run's output files as the form file conversion reaches them.
class ClosedFiles : public formfile::RunOutputFiles {
  public:
    explicit ClosedFiles(tpx::OutputFiles& files) : files_(files) {}
    bool ClosedText(const std::string& name, std::string* text) override {
        const std::string* closed = files_.LastClosedText(name);
        if (closed) *text = *closed;
        return closed != nullptr;
    }
    std::string PathOf(const std::string& name) override { return files_.PathOf(name); }
    int Put(const std::string& name, const std::string& content) override {
        return files_.Put(name, content);
    }

  private:
    tpx::OutputFiles& files_;
};

}  // namespace

bool ConvertClosedFormFile(tpx::OutputFiles& files, const std::string& filename) {
    ClosedFiles closed(files);
    std::string error;
    if (formfile::ConvertClosedFormFile(closed, filename, &error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
}

}  // namespace morva::cli
