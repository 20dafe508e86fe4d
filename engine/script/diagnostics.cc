#include "engine/script/diagnostics.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace morva::tpx {

void EngineState::StartCompilation(std::string name, std::string_view text) {
    fileName = std::move(name);
    source = text;
    readPosition = 0;
    line = 1;
    errorCount = warningCount = fatalCount = 0;
    scannerState = kOutsideBody;
}

size_t EngineState::ReadSource(char* buffer, size_t max) {
    size_t n = std::min(max, source.size() - readPosition);
    if (n > 0) std::memcpy(buffer, source.data() + readPosition, n);  // data() may be null
    readPosition += n;
    return n;
}

EngineState& Engine() {
    static EngineState state;
    return state;
}

void WriteMessageLine(std::string_view text) {
    EngineControl* control = Engine().control;
    if (!control) return;
    control->WriteLog(text);
    control->WriteLog("\r\n");
}

void WriteMessage(const char* format, ...) {
    // The buffer starts at 1024 bytes and grows in steps of 1024 until the message fits.
    std::vector<char> buffer(1024);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = std::vsnprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (n < 0) return;
        if (static_cast<size_t>(n) < buffer.size()) {
            WriteMessageLine(std::string_view(buffer.data(), n));
            return;
        }
        buffer.resize((static_cast<size_t>(n) / 1024 + 1) * 1024);
    }
}

}  // namespace morva::tpx
