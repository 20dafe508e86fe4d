// Golden cases: each folder under engine/tests/golden/ holds a script, the steps that drive the
// engine control (filling the store, compiling, running), and what must come out: the log, the
// compiled program, the store, the events and the output files, byte for byte.
//
// steps.txt: one call of the control per line, "Method|arg|arg..." ("~" is a null string);
// "SetScript" compiles script.tpx under the name "script.tpx"; "Include|FILE" inserts the
// steps of golden_stores/FILE. Without steps.txt the case only
// compiles. Expected files: expected.log (line feeds for carriage return and line feed),
// expected.dump (program), expected.store (store), expected.events (events and message boxes),
// expected/ (the output files, and no others). MORVA_UPDATE_GOLDEN=1 rewrites them.

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "component/message_box.h"
#include "engine/host/cmorva.h"
#include "engine/script/exe.h"
#include "engine/script/program_dump.h"
#include "engine/store/testing/store_dump.h"

namespace morva::tpx {
namespace {

namespace fs = std::filesystem;

fs::path GoldenRoot() {
    const char* env = std::getenv("MORVA_SOURCE_DIR");
    return fs::path(env ? env : MORVA_SOURCE_DIR_DEFAULT) / "engine" / "tests" / "golden";
}

std::vector<std::string> Cases() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(GoldenRoot())) {
        if (e.is_directory()) names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::string WithLineFeeds(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        out += s[i];
    }
    return out;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = line.find('|', start);
        parts.push_back(line.substr(start, bar - start));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

/// Records the form-file events with the size of the file at that moment.
class EventRecorder : public com::Object<IMorvaEvents> {
  public:
    explicit EventRecorder(std::string* events) : events_(events) {}
    HRESULT OnCloseAsDFM(const BStr& filename) override {
        std::error_code ec;
        auto size = fs::file_size(filename.value_or(""), ec);
        *events_ += "OnCloseAsDFM " + filename.value_or("~") + " (" +
                    (ec ? std::string("missing") : std::to_string(size) + " bytes") + ")\n";
        return com::S_OK;
    }

  private:
    std::string* events_;
};

struct Signature {
    const char* method;
    int32_t dispId;
    const char* args;  // s string, i integer
};

constexpr Signature kSignatures[] = {
    {"Write", kDispWrite, "s"},
    {"WriteLine", kDispWriteLine, "s"},
    {"CreateDatabase", kDispCreateDatabase, "si"},
    {"AddTable", kDispAddTable, "sssii"},
    {"AddColumnIntoTable", kDispAddColumnIntoTable, "sssssiiii"},
    {"Clear", kDispClear, ""},
    {"RunScript", kDispRunScript, ""},
    {"InitDatabase", kDispInitDatabase, ""},
    {"CreateRefTable", kDispCreateRefTable, "ssi"},
    {"AddRefColumn", kDispAddRefColumn, "ssss"},
    {"SetLookupTable", kDispSetLookupTable, "sssss"},
    {"SetLookupItem", kDispSetLookupItem, "sss"},
    {"SetRoom", kDispSetRoom, "sss"},
    {"SetSchema", kDispSetSchema, "sss"},
};

class GoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, MatchesExpectedFiles) {
    const fs::path dir = GoldenRoot() / GetParam();
    const std::string script = ReadFile(dir / "script.tpx");
    std::string steps = fs::exists(dir / "steps.txt") ? ReadFile(dir / "steps.txt") : "SetScript\n";

    fs::path work =
        fs::temp_directory_path() / ("tpx_golden_" + GetParam() + "_" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    fs::path home = fs::current_path();
    fs::current_path(work);

    std::string events;
    auto oldHook = com::SetMessageBoxHook(
        [&](const std::string& text, const std::string& caption, com::MbIcon, com::MbButtons) {
            events += "MessageBox " + caption + ": " + text + "\n";
            return com::IDOK;
        });
    auto morva = NewMorva();
    auto recorder = com::MakeObject<EventRecorder, IMorvaEvents>(&events);
    auto point = morva.As<com::IConnectionPoint>();
    uint32_t cookie = 0;
    ASSERT_EQ(point->Advise(recorder.get(), &cookie), com::S_OK);

    // "Include|FILE" steps pull in shared steps (stores) from the golden_stores folder.
    for (size_t at; (at = steps.find("Include|")) != std::string::npos;) {
        size_t end = steps.find('\n', at);
        std::string name = steps.substr(at + 8, end == std::string::npos ? end : end - at - 8);
        steps.replace(at, end == std::string::npos ? end : end - at,
                      ReadFile(GoldenRoot().parent_path() / "golden_stores" / name));
    }
    std::istringstream lines(steps);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#') continue;
        auto parts = Split(line);
        if (parts[0] == "SetScript") {
            morva->SetScript(std::string("script.tpx"), script);
            continue;
        }
        const Signature* sig = nullptr;
        for (const Signature& s : kSignatures) {
            if (parts[0] == s.method) sig = &s;
        }
        ASSERT_NE(sig, nullptr) << "unknown step " << line;
        ASSERT_EQ(parts.size() - 1, std::strlen(sig->args)) << line;
        std::vector<com::Variant> args;
        for (size_t i = 1; i < parts.size(); ++i) {
            if (sig->args[i - 1] == 'i') {
                args.emplace_back(static_cast<int32_t>(std::stol(parts[i])));
            } else if (parts[i] == "~") {
                args.emplace_back(std::monostate{});
            } else {
                args.emplace_back(parts[i]);
            }
        }
        HRESULT hr = morva->Invoke(sig->dispId, args, nullptr);
        if (hr != com::S_OK) events += "Failed " + line + "\n";
    }
    point->Unadvise(cookie);
    com::SetMessageBoxHook(std::move(oldHook));
    fs::current_path(home);

    std::string log;
    morva->GetLogText(&log);
    CMorva* control = AsCMorva(morva.get());
    std::map<std::string, std::string> actual{{"expected.log", WithLineFeeds(log)}};
    if (control->exe()) actual["expected.dump"] = DumpProgram(control->exe()->program());
    if (control->database()) actual["expected.store"] = DumpStore(control->database());
    actual["expected.events"] = events;

    std::map<std::string, std::string> outputs;
    for (const auto& e : fs::directory_iterator(work)) {
        outputs[e.path().filename().string()] = ReadFile(e.path());
    }
    fs::remove_all(work);

    if (std::getenv("MORVA_UPDATE_GOLDEN")) {
        for (const auto& [name, text] : actual) {
            if (name == "expected.log" || fs::exists(dir / name) || !text.empty()) {
                WriteFile(dir / name, text);
            }
        }
        fs::remove_all(dir / "expected");
        if (!outputs.empty()) fs::create_directories(dir / "expected");
        for (const auto& [name, bytes] : outputs) WriteFile(dir / "expected" / name, bytes);
        return;
    }
    for (const auto& [name, text] : actual) {
        if (!fs::exists(dir / name)) {
            EXPECT_TRUE(text.empty() || name != "expected.events") << name << ":\n" << text;
            continue;
        }
        EXPECT_EQ(text, ReadFile(dir / name)) << GetParam() << "/" << name;
    }
    std::map<std::string, std::string> expected;
    if (fs::exists(dir / "expected")) {
        for (const auto& e : fs::directory_iterator(dir / "expected")) {
            expected[e.path().filename().string()] = ReadFile(e.path());
        }
    }
    EXPECT_EQ(outputs, expected) << GetParam() << ": output files";
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace morva::tpx
