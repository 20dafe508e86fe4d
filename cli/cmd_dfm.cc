// morva-cli dfm: converts a text form file to a binary form file, or prints a binary form
// file as text.

#include <cstdio>
#include <filesystem>

#include "cli/cli.h"
#include "cli/handlers.h"
#include "workbench/formfile/formfile.h"

namespace morva::cli {

int DfmCommand(Context& ctx) {
    bool text = TakeFlag(ctx.args, "--text");
    for (const std::string& a : ctx.args)
        if (a.starts_with("-") && a != "-") return UsageError("dfm: unknown option " + a);
    size_t most = text ? 1 : 2;
    if (ctx.args.empty() || ctx.args.size() > most)
        return UsageError("usage: dfm SOURCE [TARGET] | dfm --text FILE.DFM");
    const std::string& source = ctx.args[0];
    std::error_code ec;
    if (!std::filesystem::exists(source, ec)) return UsageError(source + ": No such file");
    std::string result, error;
    if (text) {
        if (!formfile::ReadFormFileAsText(source, &result, &error)) {
            std::fprintf(stderr, "morva-cli: %s\n", error.c_str());
            return kExitFailed;
        }
        std::fwrite(result.data(), 1, result.size(), stdout);
        return kExitOk;
    }
    std::string target = ctx.args.size() > 1 ? ctx.args[1] : std::string();
    if (!formfile::ConvertToFormFile(source, target, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace morva::cli
