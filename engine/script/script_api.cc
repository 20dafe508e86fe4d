#include "engine/script/script_api.h"

#include <new>

#include "engine/script/errors.h"

namespace morva::tpx {

namespace {

/// Makes `host` the engine's current control for one call and restores the previous one.
class CurrentControl {
  public:
    explicit CurrentControl(EngineControl& host) : previous_(Engine().control) {
        Engine().control = &host;
    }
    ~CurrentControl() { Engine().control = previous_; }
    CurrentControl(const CurrentControl&) = delete;
    CurrentControl& operator=(const CurrentControl&) = delete;

  private:
    EngineControl* previous_;
};

}  // namespace

CompileStatus CompileText(EngineControl& host, const std::string& name, std::string_view text,
                          Exe& script, TokenObserver* observer) {
    CurrentControl current(host);
    script.Reset();
    EngineState& e = Engine();
    e.StartCompilation(name, text);
    WriteMessage("%s Compiling...", name.c_str());
    script.Compile(text, observer);
    // The text belongs to the caller.
    e.source = {};
    e.readPosition = 0;
    CompileStatus status{e.errorCount, e.warningCount, e.fatalCount};
    if (status.fatals != 0) {
        WriteMessage("%d Fatals.", status.fatals);
    } else {
        WriteMessage("%d Error,  %d Warning", status.errors, status.warnings);
    }
    return status;
}

RunStatus RunProgram(EngineControl& host, Exe& script, const CDatabase& store,
                     const RunOptions& options) {
    CurrentControl current(host);
    WriteMessageLine("Start script...");
    try {
        std::string text = script.Run(host, store, options.lineEnd, options.files);
        host.WriteLog(text);
        WriteMessageLine("End script.");
        return RunStatus::Completed;
    } catch (const CEngineException& e) {
        WriteMessageLine(e.Message());
        return RunStatus::Failed;
    } catch (const std::bad_alloc&) {
        return RunStatus::OutOfMemory;
    }
}

}  // namespace morva::tpx
