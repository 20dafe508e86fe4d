#pragma once
// The script layer's diagnostics: the counters, the scanner flags, the message writer and the
// interface through which compiling and running report to their host. This is the engine's
// one process-wide state, shared by the scanner, the parser, the run and the host. A process
// hosts one engine control at a time; the last one constructed receives every message. Only
// the control's thread touches it, so it has no locks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva::tpx {

/// What compiling and running report to their host (the engine control): its log and the
/// form-file event.
class EngineControl {
  public:
    /// Appends `text` to the log.
    virtual void WriteLog(std::string_view text) = 0;
    /// Tells the host that the output file `filename` was closed as a form file.
    virtual void CloseAsDfm(const std::string& filename) = 0;

  protected:
    ~EngineControl() = default;
};

/// Scanner state flags.
enum ScannerFlag : int32_t {
    kOutsideBody = 1,
    kSkipBlanks = 2,
    kCondition = 4,
    kArithmetic = 8,
    kDeclare = 16,
    kAfterBody = 128,
};

struct EngineState {
    /// Receives every message; the last control constructed.
    EngineControl* control = nullptr;
    /// Names the script in every message; "Not Yet" until the first SetScript.
    std::string fileName = "Not Yet";
    /// Line of the scanner.
    int32_t line = 1;
    int32_t errorCount = 0;
    int32_t warningCount = 0;
    int32_t fatalCount = 0;
    /// ScannerFlag bits.
    int32_t scannerState = kOutsideBody;
    /// The text being compiled and the scanner's read position in it.
    std::string_view source;
    size_t readPosition = 0;

    /// Prepares a compilation of `text`, the script named `name`: line 1, no counts, scanner
    /// at the start of the prologue.
    void StartCompilation(std::string name, std::string_view text = {});
    /// Copies at most `max` further bytes of the source from the read position into `buffer`
    /// and advances the read position; 0 at the end of the source.
    size_t ReadSource(char* buffer, size_t max);
};

/// The one engine state of the process.
EngineState& Engine();

/// Formats a message printf-style and writes it, with a carriage return and line feed, to the
/// current control's log. Messages of any length are written whole.
[[gnu::format(printf, 1, 2)]] void WriteMessage(const char* format, ...);

/// Writes `text` and a carriage return and line feed to the current control's log.
void WriteMessageLine(std::string_view text);

}  // namespace morva::tpx
