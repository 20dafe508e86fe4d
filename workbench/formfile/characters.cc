#include "workbench/formfile/characters.h"

#include "component/text_util.h"

namespace morva::formfile {
namespace {

// Length of the valid UTF-8 sequence at `i`, 0 when there is none; sets `c`.
size_t DecodeOne(std::string_view s, size_t i, char32_t* c) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b = byte(i);
    size_t n = b < 0x80             ? 1
               : (b & 0xE0) == 0xC0 ? 2
               : (b & 0xF0) == 0xE0 ? 3
               : (b & 0xF8) == 0xF0 ? 4
                                    : 0;
    if (n == 0 || i + n > s.size()) return 0;
    char32_t v = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        v = (v << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kSmallest[n] || v > 0x10FFFF || IsSurrogate(v)) return 0;
    *c = v;
    return n;
}

}  // namespace

std::u32string DecodeText(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t c;
        size_t n = DecodeOne(bytes, i, &c);
        if (n == 0) {
            c = static_cast<unsigned char>(bytes[i]);
            n = 1;
        }
        out.push_back(c);
        i += n;
    }
    return out;
}

void AppendUtf8(char32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u32string JoinSurrogatePairs(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool IsBlockWord(std::string_view word) {
    for (const char* block : {"object", "inherited", "inline", "end"})
        if (com::EqualsIgnoreCase(word, block)) return true;
    return false;
}

bool IsIdentifier(std::string_view name, bool dotted) {
    bool atStart = true;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '.' && dotted && !atStart) {
            atStart = true;
            continue;
        }
        if (!IsIdentChar(c) || (atStart && c >= '0' && c <= '9')) return false;
        atStart = false;
    }
    return !atStart;
}

}  // namespace morva::formfile
