#pragma once
// 32-bit status results as component methods return them.

#include <cstdint>
#include <string>

namespace morva::com {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

/// True for success codes (S_OK, S_FALSE, ...).
inline constexpr bool Succeeded(HRESULT hr) {
    return hr >= 0;
}
/// True for failure codes.
inline constexpr bool Failed(HRESULT hr) {
    return hr < 0;
}

/// The system's text for a status, as a host shows it when it turns a failing result into an
/// error ("Unspecified error" for E_FAIL). Unknown codes read "Error 0x%08X".
std::string StatusText(HRESULT hr);

/// An error carrying a failing status and its system text; hosts throw it for failed calls.
class ComError : public std::exception {
  public:
    explicit ComError(HRESULT hr) : hr_(hr), text_(StatusText(hr)) {}
    HRESULT status() const { return hr_; }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    HRESULT hr_;
    std::string text_;
};

/// Throws ComError when `hr` is a failure; returns it otherwise.
inline HRESULT Check(HRESULT hr) {
    if (Failed(hr)) throw ComError(hr);
    return hr;
}

}  // namespace morva::com
