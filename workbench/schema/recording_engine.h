#pragma once
// An engine control that records every call as one line of text, for hand-over tests.

#include <string>
#include <vector>

#include "engine/host/imorva.h"

namespace morva::schema::testing {

class RecordingEngine : public com::Object<tpx::IMorva> {
  public:
    using BStr = tpx::BStr;
    using HRESULT = com::HRESULT;

    std::vector<std::string> calls;
    /// A method whose name is here returns E_FAIL (after being recorded).
    std::string failing;

    HRESULT Invoke(int32_t, const std::vector<com::Variant>&, com::Variant*) override {
        return com::E_NOTIMPL;
    }
    HRESULT Write(const BStr& m) override { return Log("Write", {S(m)}); }
    HRESULT WriteLine(const BStr& m) override { return Log("WriteLine", {S(m)}); }
    HRESULT CreateDatabase(const BStr& n, int32_t t) override {
        return Log("CreateDatabase", {S(n), I(t)});
    }
    HRESULT AddTable(const BStr& n, const BStr& t, const BStr& l, int32_t c, int32_t r) override {
        return Log("AddTable", {S(n), S(t), S(l), I(c), I(r)});
    }
    HRESULT AddColumnIntoTable(const BStr& t, const BStr& ct, const BStr& c, const BStr& r,
                               const BStr& d, int32_t size, int32_t inx, int32_t prec,
                               int32_t scale) override {
        return Log("AddColumnIntoTable",
                   {S(t), S(ct), S(c), S(r), S(d), I(size), I(inx), I(prec), I(scale)});
    }
    HRESULT Clear() override { return Log("Clear", {}); }
    HRESULT SetScript(const BStr& f, const BStr&) override { return Log("SetScript", {S(f)}); }
    HRESULT RunScript() override { return Log("RunScript", {}); }
    HRESULT InitDatabase() override { return Log("InitDatabase", {}); }
    HRESULT CreateRefTable(const BStr& t, const BStr& r, int32_t n) override {
        return Log("CreateRefTable", {S(t), S(r), I(n)});
    }
    HRESULT AddRefColumn(const BStr& t, const BStr& r, const BStr& rc, const BStr& k) override {
        return Log("AddRefColumn", {S(t), S(r), S(rc), S(k)});
    }
    HRESULT SetLookupTable(const BStr& t, const BStr& c, const BStr& lt, const BStr& lc,
                           const BStr& lk) override {
        return Log("SetLookupTable", {S(t), S(c), S(lt), S(lc), S(lk)});
    }
    HRESULT SetLookupItem(const BStr& t, const BStr& c, const BStr& i) override {
        return Log("SetLookupItem", {S(t), S(c), S(i)});
    }
    HRESULT SetRoom(const BStr& n, const BStr& t, const BStr& l) override {
        return Log("SetRoom", {S(n), S(t), S(l)});
    }
    HRESULT SetSchema(const BStr& n, const BStr& t, const BStr& l) override {
        return Log("SetSchema", {S(n), S(t), S(l)});
    }
    HRESULT GetLogText(std::string* text) override {
        text->clear();
        return com::S_OK;
    }

  private:
    /// A null string shows as null, a text in quotes.
    static std::string S(const BStr& s) { return s ? "\"" + *s + "\"" : "null"; }
    static std::string I(int32_t v) { return std::to_string(v); }
    HRESULT Log(const std::string& name, const std::vector<std::string>& args) {
        std::string line = name + "(";
        for (size_t i = 0; i < args.size(); ++i) line += (i ? "," : "") + args[i];
        calls.push_back(line + ")");
        return name == failing ? com::E_FAIL : com::S_OK;
    }
};

}  // namespace morva::schema::testing
