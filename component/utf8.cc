#include "component/utf8.h"

namespace morva::com {

std::string_view CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    while (end > 0 && IsUtf8Continuation(static_cast<unsigned char>(text[end]))) --end;
    return text.substr(0, end);
}

size_t CountCodePoints(std::string_view text) {
    size_t n = 0;
    for (char c : text) n += !IsUtf8Continuation(static_cast<unsigned char>(c));
    return n;
}

}  // namespace morva::com
