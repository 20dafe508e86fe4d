#pragma once
// The engine control `CMorva`: the component object behind IMorva. It keeps the script text,
// the log, the store and the script engine, and raises _MorvaEvents.

#include <memory>
#include <optional>
#include <string>

#include "component/connection_point.h"
#include "component/unknown.h"
#include "engine/host/imorva.h"
#include "engine/host/store_loader.h"
#include "engine/script/diagnostics.h"
#include "engine/script/script_api.h"

namespace morva::tpx {

class Exe;
class CDatabase;

class CMorva : public com::Object<IMorva, com::IConnectionPoint, IMorvaLint>, public EngineControl {
  public:
    /// The new control becomes the engine's current control.
    CMorva();

    HRESULT Write(const BStr& strMsg) override;
    HRESULT WriteLine(const BStr& strMsg) override;
    HRESULT CreateDatabase(const BStr& sName, int32_t nTables) override;
    HRESULT AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                     int32_t nColumns, int32_t nRefs) override;
    HRESULT AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                               const BStr& sReal, const BStr& sdType, int32_t nSize, int32_t nInx,
                               int32_t nPrec, int32_t nScale) override;
    HRESULT Clear() override;
    HRESULT SetScript(const BStr& Filename, const BStr& ScriptCode) override;
    HRESULT RunScript() override;
    HRESULT InitDatabase() override;
    HRESULT CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t nRefs) override;
    HRESULT AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                         const BStr& pKey) override;
    HRESULT SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT, const BStr& sLC,
                           const BStr& sLK) override;
    HRESULT SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) override;
    HRESULT SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) override;
    HRESULT SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) override;
    HRESULT GetLogText(std::string* text) override;
    HRESULT SetOutputPolicy(int32_t mode) override;
    HRESULT SetOutputFolder(const BStr& folder, std::string* reason) override;
    HRESULT GetRunOutput(RunOutput* output) override;
    HRESULT GetClosedText(const BStr& name, std::string* text) override;
    HRESULT PutOutputFile(const BStr& name, const std::string& content, int32_t* error) override;

    // IMorvaLint
    HRESULT Lint(const BStr& ScriptCode, std::vector<LintFinding>* findings) override;

    HRESULT Invoke(int32_t dispId, const std::vector<com::Variant>& args,
                   com::Variant* result) override;

    /// Connects a sink of IMorvaEvents, or else of IMorvaLogSink (whose cookies have the top
    /// bit set).
    HRESULT Advise(com::IUnknown* sink, uint32_t* cookie) override;
    HRESULT Unadvise(uint32_t cookie) override;

    // EngineControl
    void WriteLog(std::string_view text) override;
    void CloseAsDfm(const std::string& filename) override;

    /// The script engine (null before the first SetScript).
    const Exe* exe() const { return exe_.get(); }
    /// The store (null before CreateDatabase).
    const CDatabase* database() const { return store_.store(); }
    /// Output files of later runs end their lines with a line feed only.
    void SetLineFeedOnly(bool on) { lineFeedOnly_ = on; }
    /// Later runs write their output files through `files` (not owned; null: to disk in the
    /// current folder), so that the host chooses the policy and reads the outcomes and the
    /// kept regions lost after each run.
    void SetOutputFiles(OutputFiles* files) { outputFiles_ = files; }
    /// True when the last SetScript compiled without errors.
    bool compiled() const { return compiled_; }

  protected:
    ~CMorva() override;

  private:
    /// After a run through the control's own output files: its results, and when it went to
    /// its end the stale files and (to disk) the record of generated files.
    void SettleRunOutput(const OutputFiles& files, bool completed);

    std::string scriptText_;
    std::string logText_;
    std::string fileName_;
    StoreLoader store_;
    std::unique_ptr<Exe> exe_;
    bool lineFeedOnly_ = false;
    OutputFiles* outputFiles_ = nullptr;
    // The output layer as the host chose it through IMorva: the policy, the folder accepted
    // (none: the current folder, as the runner's own files), whether the last folder asked
    // for was refused, the files of the last run, the files of the run under way, and what
    // the last run did.
    int32_t outputMode_ = kOutputToDisk;
    std::optional<std::string> outputFolder_;
    bool folderRefused_ = false;
    std::unique_ptr<OutputFiles> runFiles_;
    OutputFiles* currentFiles_ = nullptr;
    std::optional<RunOutput> runOutput_;
    bool compiled_ = false;
    bool running_ = false;  // a RunScript is under way
    com::ConnectionPoint<IMorvaEvents> events_;
    com::ConnectionPoint<IMorvaLogSink> logSinks_;
};

/// The library's identity: its name, file description, product name and version.
inline constexpr const char* kModuleName = "Tpx";
inline constexpr const char* kFileDescription = "Tpx Module";
inline constexpr const char* kProductName = "Morva Script Engine";
inline constexpr const char* kFileVersion = "1.0.0.1";

/// A new engine control, for hosts that link the engine directly.
com::ComPtr<IMorva> NewMorva();

/// The control behind `morva`, or null when it is not an engine control of this library.
CMorva* AsCMorva(IMorva* morva);

}  // namespace morva::tpx
