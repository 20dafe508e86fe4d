#include "workbench/formfile/number_text.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "workbench/formfile/characters.h"

namespace morva::formfile {
namespace {

// The "C" locale, so that a workbench running under a locale with a decimal comma still
// reads "1.5".
locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

template <typename T, typename Parse>
bool ParseWith(const std::string& text, T* value, Parse parse) {
    if (text.empty() || text.find_first_not_of("-+0123456789.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    T v = parse(text.c_str(), &end, CLocale());
    if (end != text.c_str() + text.size()) return false;
    if (errno == ERANGE && std::isinf(v)) return false;  // overflow; underflow just rounds
    *value = v;
    return true;
}

// Bytes that hold the value: the ten of an x87 extended, all of the others.
template <typename T>
constexpr size_t kValueBytes = sizeof(T) == 16 ? 10 : sizeof(T);

template <typename T>
std::string Exact(T value) {
    char buf[64];
    // Plain decimals for the magnitudes forms hold, the exponent form for the rest.
    T magnitude = std::fabs(value);
    bool plain = magnitude == 0 || (magnitude >= T(1e-4) && magnitude < T(1e15));
    auto r = plain ? std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed)
                   : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string s = r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
    T back{};
    bool exact = std::isfinite(value) && ParseFloat(s, &back) &&
                 std::memcmp(&back, &value, kValueBytes<T>) == 0;
    if (!exact) throw FormError("Floating-point value " + s + " cannot be written as text");
    return s;
}

}  // namespace

bool ParseFloat(const std::string& text, long double* value) {
    return ParseWith(text, value, strtold_l);
}
bool ParseFloat(const std::string& text, double* value) {
    return ParseWith(text, value, strtod_l);
}
bool ParseFloat(const std::string& text, float* value) {
    return ParseWith(text, value, strtof_l);
}

std::string ExactFloatText(long double value) {
    return Exact(value);
}
std::string ExactFloatText(double value) {
    return Exact(value);
}
std::string ExactFloatText(float value) {
    return Exact(value);
}

}  // namespace morva::formfile
