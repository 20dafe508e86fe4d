// A stand-in for the engine control that records its calls. Keys: "fail" names a method that
// returns E_FAIL; "dfm" adds a file name that RunScript reports as closed as a form file.
// RunScript writes "run.txt" into the output folder (made by SetOutputFolder when missing,
// else the current folder), so tests see where a run happened, and with "lines" N logs N lines
// two milliseconds apart, as a long run does. Form files are put into the output folder.

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "component/module.h"
#include "engine/host/imorva.h"
#include "workbench/app/tests/recorder.h"

namespace morva::testing {
namespace {

using com::HRESULT;
using tpx::BStr;

constexpr uint32_t kLogCookie = 0x80000000u;

std::string Text(const BStr& s) {
    return s ? *s : "<null>";
}

class RecordingEngine : public com::Object<tpx::IMorva, com::IConnectionPoint, IRecorder> {
  public:
    std::vector<std::string> Calls() override { return calls_; }
    void ForgetCalls() override { calls_.clear(); }
    void Set(const std::string& key, const std::string& value) override {
        settings_[key].push_back(value);
    }

    HRESULT Write(const BStr& s) override { return Append("Write(" + Text(s) + ")", Text(s)); }
    HRESULT WriteLine(const BStr& s) override {
        return Append("WriteLine(" + Text(s) + ")", Text(s) + "\r\n");
    }
    HRESULT CreateDatabase(const BStr& n, int32_t t) override {
        return Record("CreateDatabase(" + Text(n) + "|" + std::to_string(t) + ")");
    }
    HRESULT AddTable(const BStr& n, const BStr&, const BStr&, int32_t, int32_t) override {
        return Record("AddTable(" + Text(n) + ")");
    }
    HRESULT AddColumnIntoTable(const BStr& t, const BStr&, const BStr& c, const BStr&, const BStr&,
                               int32_t, int32_t, int32_t, int32_t) override {
        return Record("AddColumnIntoTable(" + Text(t) + "|" + Text(c) + ")");
    }
    HRESULT Clear() override {
        log_.clear();
        NotifyLog();
        return Record("Clear()");
    }
    HRESULT SetScript(const BStr& f, const BStr& code) override {
        log_ += Text(f) + " Compiling...\r\n";
        NotifyLog();
        return Record("SetScript(" + Text(f) + "|" + Text(code) + ")");
    }
    HRESULT RunScript() override {
        std::ofstream(InFolder("run.txt")) << "ran";
        for (const std::string& count : settings_["lines"]) {
            for (int i = 0; i < std::stoi(count); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                log_ += "line " + std::to_string(i) + "\r\n";
                NotifyLog();
            }
        }
        for (const std::string& name : settings_["dfm"])
            events_.Fire([&](tpx::IMorvaEvents& sink) { sink.OnCloseAsDFM(name); });
        log_ += "End script.\r\n";
        NotifyLog();
        return Record("RunScript()");
    }
    HRESULT InitDatabase() override { return Record("InitDatabase()"); }
    HRESULT CreateRefTable(const BStr& a, const BStr& b, int32_t) override {
        return Record("CreateRefTable(" + Text(a) + "|" + Text(b) + ")");
    }
    HRESULT AddRefColumn(const BStr& a, const BStr& b, const BStr&, const BStr&) override {
        return Record("AddRefColumn(" + Text(a) + "|" + Text(b) + ")");
    }
    HRESULT SetLookupTable(const BStr& t, const BStr& c, const BStr&, const BStr&,
                           const BStr&) override {
        return Record("SetLookupTable(" + Text(t) + "|" + Text(c) + ")");
    }
    HRESULT SetLookupItem(const BStr& t, const BStr& c, const BStr&) override {
        return Record("SetLookupItem(" + Text(t) + "|" + Text(c) + ")");
    }
    HRESULT SetRoom(const BStr&, const BStr&, const BStr&) override { return Record("SetRoom()"); }
    HRESULT SetSchema(const BStr& n, const BStr& t, const BStr& l) override {
        return Record("SetSchema(" + Text(n) + "|" + Text(t) + "|" + Text(l) + ")");
    }
    HRESULT GetLogText(std::string* text) override {
        *text = log_;
        return com::S_OK;
    }
    HRESULT SetOutputFolder(const BStr& folder, std::string* reason) override {
        folder_ = folder ? *folder : std::string();
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::create_directories(folder_, ec);
        if (!folder_.empty() && !std::filesystem::is_directory(folder_)) {
            *reason = "it is not a folder";
            return com::E_FAIL;
        }
        return com::S_OK;
    }
    HRESULT GetClosedText(const BStr&, std::string*) override { return com::S_FALSE; }
    HRESULT PutOutputFile(const BStr& name, const std::string& content, int32_t*) override {
        std::ofstream(InFolder(name ? *name : std::string()), std::ios::binary) << content;
        return com::S_OK;
    }
    HRESULT Invoke(int32_t, const std::vector<com::Variant>&, com::Variant*) override {
        return com::DISP_E_MEMBERNOTFOUND;
    }

    HRESULT Advise(com::IUnknown* sink, uint32_t* cookie) override {
        if (com::Succeeded(events_.Advise(sink, cookie))) return com::S_OK;
        HRESULT hr = logSinks_.Advise(sink, cookie);
        if (com::Succeeded(hr)) *cookie |= kLogCookie;
        return hr;
    }
    HRESULT Unadvise(uint32_t cookie) override {
        if (cookie & kLogCookie) return logSinks_.Unadvise(cookie & ~kLogCookie);
        return events_.Unadvise(cookie);
    }

  private:
    std::string InFolder(const std::string& name) const {
        return folder_.empty() ? name : (std::filesystem::path(folder_) / name).string();
    }
    HRESULT Record(const std::string& call) {
        calls_.push_back(call);
        const std::string name = call.substr(0, call.find('('));
        for (const std::string& failing : settings_["fail"])
            if (failing == name) return com::E_FAIL;
        return com::S_OK;
    }
    HRESULT Append(const std::string& call, const std::string& text) {
        log_ += text;
        NotifyLog();
        return Record(call);
    }
    void NotifyLog() {
        logSinks_.Fire([](tpx::IMorvaLogSink& sink) { sink.OnLogChanged(); });
    }

    std::vector<std::string> calls_;
    std::map<std::string, std::vector<std::string>> settings_;
    std::string log_;
    std::string folder_;
    com::ConnectionPoint<tpx::IMorvaEvents> events_;
    com::ConnectionPoint<tpx::IMorvaLogSink> logSinks_;
};

HRESULT Create(const com::Guid& iid, void** out) {
    auto* object = new RecordingEngine;
    object->AddRef();
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

std::span<const com::ClassInfo> Classes() {
    static const std::array<com::ClassInfo, 1> classes{
        {{tpx::kMorvaClsid, "Morva.Recording.1", "Morva.Recording", "Recording engine",
          tpx::kTpxTypeLib, "1.0", true, "131473", &Create}}};
    return classes;
}

}  // namespace
}  // namespace morva::testing

MORVA_COMPONENT_ENTRY_POINTS(morva::testing::Classes)
