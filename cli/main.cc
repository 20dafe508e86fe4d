// morva-cli: builds database information, makes schemas, compiles and runs template scripts
// and converts form files without the workbench.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace morva::cli {
namespace {

constexpr const char* kVersion = "1.00";

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: morva-cli [--settings FILE] [--database-dir DIR] [--output-dir DIR] "
                 "COMMAND ...\n\ncommands:\n");
    for (const Command& c : Commands()) std::fprintf(out, "  %-8s %s\n", c.name, c.usage);
    std::fprintf(out,
                 "\nThe global options may also follow the command, among its arguments.\n"
                 "'morva-cli COMMAND --help' describes a command.\n");
}

void PrintCommandHelp(const Command& c) {
    std::printf(
        "usage: morva-cli %s %s\n\n%s\n\nThe global options --settings FILE, --database-dir DIR "
        "and --output-dir DIR may stand before the command or among its arguments.\n",
        c.name, c.usage, c.help);
}

/// The options every command takes, and the context field each sets.
struct GlobalOptionField {
    const char* name;
    std::string Context::*field;
};
constexpr GlobalOptionField kGlobalOptions[] = {{"--settings", &Context::settingsFile},
                                                {"--database-dir", &Context::databaseDir},
                                                {"--output-dir", &Context::outputDir}};

/// The context field that global option `name` sets, or null when `name` is none.
std::string* GlobalOption(Context& ctx, const std::string& name) {
    for (const GlobalOptionField& o : kGlobalOptions)
        if (name == o.name) return &(ctx.*o.field);
    return nullptr;
}

/// Moves the global options written among the command's arguments into the context, where
/// they override those before the command. Returns the option that lacks its value, if any.
std::string TakeGlobalOptions(Context& ctx) {
    for (const GlobalOptionField& o : kGlobalOptions) {
        bool missing = false;
        std::vector<std::string> values = TakeOptions(ctx.args, o.name, &missing);
        if (missing) return o.name;
        if (!values.empty()) ctx.*o.field = values.back();
    }
    return std::string();
}

std::string CurrentDirectory() {
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? std::string(".") : p.string();
}

}  // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "morva-cli: %s\n", message.c_str());
    return kExitUsage;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == name) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string> TakeOptions(std::vector<std::string>& args, const std::string& name,
                                     bool* missing) {
    std::vector<std::string> values;
    for (size_t i = 0; i < args.size();) {
        if (args[i] != name) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) {
            if (missing) *missing = true;
            args.erase(args.begin() + static_cast<long>(i));
            continue;
        }
        values.push_back(args[i + 1]);
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    }
    return values;
}

std::string TakeOption(std::vector<std::string>& args, const std::string& name, bool* missing) {
    auto values = TakeOptions(args, name, missing);
    return values.empty() ? std::string() : values.back();
}

int Main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Context ctx;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--version") {
            std::printf("morva-cli %s\n", kVersion);
            return kExitOk;
        }
        if (a == "--help" || a == "-h") {
            PrintUsage(stdout);
            return kExitOk;
        }
        std::string* target = GlobalOption(ctx, a);
        if (!target) break;
        if (i + 1 >= args.size()) return UsageError(a + " needs a value");
        *target = args[++i];
    }
    if (i >= args.size()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (args[i].starts_with("-")) return UsageError("unknown option " + args[i]);
    for (const Command& c : Commands()) {
        if (args[i] != c.name) continue;
        ctx.args.assign(args.begin() + static_cast<long>(i) + 1, args.end());
        if (TakeFlag(ctx.args, "--help")) {
            PrintCommandHelp(c);
            return kExitOk;
        }
        if (std::string missing = TakeGlobalOptions(ctx); !missing.empty())
            return UsageError(missing + " needs a value");
        if (!c.handler) return UsageError(std::string("'") + c.name + "' is not built yet");
        if (ctx.databaseDir.empty()) ctx.databaseDir = CurrentDirectory() + "/Database";
        if (ctx.outputDir.empty()) ctx.outputDir = CurrentDirectory() + "/Output";
        return c.handler(ctx);
    }
    return UsageError("unknown command '" + args[i] + "' (see morva-cli --help)");
}

}  // namespace morva::cli

int main(int argc, char** argv) {
    return morva::cli::Main(argc, argv);
}
