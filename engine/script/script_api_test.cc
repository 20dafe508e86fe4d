#include "engine/script/script_api.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/store/store.h"

namespace morva::tpx {
namespace {

class LogHost : public EngineControl {
  public:
    void WriteLog(std::string_view text) override { log.append(text); }
    void CloseAsDfm(const std::string&) override {}
    std::string log;
};

// The status a host acts on agrees with the log the user reads.
TEST(ScriptApiTest, StatusesAgreeWithTheLog) {
    LogHost host;
    Exe script;
    CompileStatus bad = CompileText(host, "bad.tpx", "<TEXT>\n<TABLES><T>\n</TEXT>\n", script);
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.errors, 2);
    EXPECT_NE(host.log.find("2 Error,  0 Warning\r\n"), std::string::npos);

    CDatabase store(std::string("D"));
    host.log.clear();
    ASSERT_TRUE(
        CompileText(host, "div.tpx", "<TEXT><VAR>A</VAR><EXPR><$A> = 1 / 0;</EXPR></TEXT>", script)
            .ok());
    EXPECT_EQ(RunProgram(host, script, store, {}), RunStatus::Failed);
    EXPECT_EQ(host.log.find("End script."), std::string::npos);

    host.log.clear();
    ASSERT_TRUE(CompileText(host, "ok.tpx", "<TEXT>a</TEXT>", script).ok());
    EXPECT_EQ(RunProgram(host, script, store, {}), RunStatus::Completed);
    EXPECT_EQ(host.log,
              "ok.tpx Compiling...\r\n0 Error,  0 Warning\r\nStart script...\r\nEnd script.\r\n");
}

// A call makes its host the current control only while it lasts.
TEST(ScriptApiTest, RestoresThePreviousControl) {
    LogHost outer, inner;
    Engine().control = &outer;
    Exe script;
    CompileText(inner, "s.tpx", "<TEXT>x</TEXT>", script);
    EXPECT_EQ(Engine().control, &outer);
    EXPECT_TRUE(outer.log.empty());
    Engine().control = nullptr;
}

}  // namespace
}  // namespace morva::tpx
