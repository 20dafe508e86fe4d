#include "engine/host/cmorva.h"

#include <filesystem>
#include <new>

#include "engine/script/output_files.h"
#include "engine/script/output_record.h"
#include "engine/script/script_api.h"

namespace morva::tpx {

namespace {

constexpr uint32_t kLogSinkCookie = 0x80000000u;

std::string TextOf(const BStr& s) {
    return s ? *s : std::string();
}

}  // namespace

CMorva::CMorva() {
    Engine().control = this;
    Engine().fileName = "Not Yet";
}

CMorva::~CMorva() {
    if (Engine().control == this) Engine().control = nullptr;
}

void CMorva::WriteLog(std::string_view text) {
    logText_.append(text);
    logSinks_.Fire([](IMorvaLogSink& sink) { sink.OnLogChanged(); });
}

void CMorva::CloseAsDfm(const std::string& filename) {
    events_.Fire([&](IMorvaEvents& sink) { sink.OnCloseAsDFM(filename); });
}

HRESULT CMorva::Write(const BStr& strMsg) {
    WriteLog(TextOf(strMsg));
    return com::S_OK;
}

HRESULT CMorva::WriteLine(const BStr& strMsg) {
    WriteLog(TextOf(strMsg));
    WriteLog("\r\n");
    return com::S_OK;
}

HRESULT CMorva::Clear() {
    logText_.clear();
    logSinks_.Fire([](IMorvaLogSink& sink) { sink.OnLogChanged(); });
    return com::S_OK;
}

HRESULT CMorva::GetLogText(std::string* text) {
    if (!text) return com::E_POINTER;
    *text = logText_;
    return com::S_OK;
}

HRESULT CMorva::SetScript(const BStr& Filename, const BStr& ScriptCode) {
    if (running_) return com::E_UNEXPECTED;
    if (!exe_) {
        try {
            exe_ = std::make_unique<Exe>();
        } catch (const std::bad_alloc&) {
            ShowOutOfMemory();
            return com::E_FAIL;
        }
    }
    exe_->Reset();
    // Copied into the text kept from the last script, whose room is reused.
    if (ScriptCode) {
        scriptText_ = *ScriptCode;
    } else {
        scriptText_.clear();
    }
    fileName_ = TextOf(Filename);
    Engine().control = this;
    compiled_ = CompileText(*this, fileName_, scriptText_, *exe_).ok();
    return com::S_OK;
}

// The lint compiles through the engine's state, which a run is walking while its events are
// raised; it waits for the run to end like every other change.
HRESULT CMorva::Lint(const BStr& ScriptCode, std::vector<LintFinding>* findings) {
    if (!findings) return com::E_POINTER;
    if (running_) return com::E_UNEXPECTED;
    try {
        *findings = LintScript(TextOf(ScriptCode));
    } catch (const std::bad_alloc&) {
        return com::E_OUTOFMEMORY;
    }
    return com::S_OK;
}

HRESULT CMorva::RunScript() {
    if (running_) return com::E_UNEXPECTED;
    // An output folder that cannot take the files stops every run until another is accepted:
    // running elsewhere would write where nobody looks.
    if (folderRefused_) return com::E_FAIL;
    if (outputFolder_ && !outputFiles_) runOutput_ = RunOutput{};
    if (!compiled_ || !store_.store() || !exe_) return com::S_OK;
    // While the run walks the program and the store, a sink called from inside it may not
    // replace or change either.
    running_ = true;
    struct Ran {
        bool& running;
        OutputFiles*& files;
        ~Ran() {
            running = false;
            files = nullptr;
        }
    } ran{running_, currentFiles_};
    Engine().control = this;
    RunOptions options;
    if (lineFeedOnly_) options.lineEnd = LineEnd::LineFeed;
    options.files = outputFiles_;
    if (!options.files && outputFolder_) {
        runFiles_ = std::make_unique<OutputFiles>(
            OutputPolicy{outputMode_ == kOutputToMemory ? OutputTarget::Memory : OutputTarget::Disk,
                         *outputFolder_});
        options.files = runFiles_.get();
    }
    currentFiles_ = options.files;
    RunStatus status = RunProgram(*this, *exe_, *store_.store(), options);
    if (status == RunStatus::OutOfMemory) ShowOutOfMemory();
    if (options.files && options.files == runFiles_.get())
        SettleRunOutput(*runFiles_, status == RunStatus::Completed);
    return com::S_OK;
}

void CMorva::SettleRunOutput(const OutputFiles& files, bool completed) {
    RunOutput out;
    out.completed = completed;
    for (const OutputFile& f : files.files()) {
        switch (f.outcome) {
            case FileOutcome::Created:
            case FileOutcome::Changed:
                ++out.written;
                break;
            case FileOutcome::Unchanged:
                ++out.unchanged;
                break;
            case FileOutcome::Failed:
                out.failed.push_back(f.name);
                break;
            case FileOutcome::Abandoned:
                break;
        }
    }
    for (const LostRegion& lost : files.lostRegions())
        out.lostRegions.push_back({lost.file, lost.region, lost.savedAs});
    // The stale files are only known after a whole run: a run that stopped early did not
    // generate everything it would have. Stale files stay in the record until they are
    // deleted, so that they stay known.
    if (completed) {
        const std::string& folder = files.policy().folder;
        const std::string recordName = OutputRecordName(fileName_);
        const std::string record = (std::filesystem::path(folder) / recordName).string();
        std::vector<std::string> generated = GeneratedFileNames(files);
        out.stale = StaleOutputFiles(ReadOutputRecord(record), generated, folder);
        if (files.policy().target == OutputTarget::Disk) {
            generated.insert(generated.end(), out.stale.begin(), out.stale.end());
            if (WriteOutputRecord(record, generated) != 0) out.failed.push_back(recordName);
        }
    }
    runOutput_ = std::move(out);
}

HRESULT CMorva::SetOutputPolicy(int32_t mode) {
    if (running_) return com::E_UNEXPECTED;
    if (mode != kOutputToDisk && mode != kOutputToMemory) return com::E_INVALIDARG;
    outputMode_ = mode;
    return com::S_OK;
}

HRESULT CMorva::SetOutputFolder(const BStr& folder, std::string* reason) {
    if (running_) return com::E_UNEXPECTED;
    std::string name = TextOf(folder);
    std::string why = PrepareOutputFolder(name.empty() ? "." : name, outputMode_ == kOutputToDisk);
    runOutput_.reset();
    if (!why.empty()) {
        outputFolder_.reset();
        folderRefused_ = true;
        if (reason) *reason = std::move(why);
        return com::E_FAIL;
    }
    outputFolder_ = std::move(name);
    folderRefused_ = false;
    return com::S_OK;
}

HRESULT CMorva::GetRunOutput(RunOutput* output) {
    if (!output) return com::E_POINTER;
    *output = runOutput_.value_or(RunOutput{});
    return runOutput_ ? com::S_OK : com::S_FALSE;
}

HRESULT CMorva::GetClosedText(const BStr& name, std::string* text) {
    if (!text) return com::E_POINTER;
    const std::string* closed =
        currentFiles_ ? currentFiles_->LastClosedText(TextOf(name)) : nullptr;
    if (!closed) return com::S_FALSE;
    *text = *closed;
    return com::S_OK;
}

HRESULT CMorva::PutOutputFile(const BStr& name, const std::string& content, int32_t* error) {
    if (!currentFiles_) return com::E_UNEXPECTED;
    int failure = currentFiles_->Put(TextOf(name), content);
    if (error) *error = failure;
    return failure ? com::E_FAIL : com::S_OK;
}

HRESULT CMorva::CreateDatabase(const BStr& sName, int32_t nTables) {
    if (running_) return com::E_UNEXPECTED;
    return store_.CreateDatabase(sName, nTables);
}

HRESULT CMorva::AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                         int32_t nColumns, int32_t nRefs) {
    if (running_) return com::E_UNEXPECTED;
    return store_.AddTable(strName, strType, strLabel, nColumns, nRefs);
}

HRESULT CMorva::AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                                   const BStr& sReal, const BStr& sdType, int32_t nSize,
                                   int32_t nInx, int32_t nPrec, int32_t nScale) {
    if (running_) return com::E_UNEXPECTED;
    return store_.AddColumnIntoTable(sTable, scType, sCol, sReal, sdType, nSize, nInx, nPrec,
                                     nScale);
}

HRESULT CMorva::InitDatabase() {
    if (running_) return com::E_UNEXPECTED;
    return store_.InitDatabase();
}

HRESULT CMorva::CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t nRefs) {
    if (running_) return com::E_UNEXPECTED;
    return store_.CreateRefTable(pTN, pRefTN, nRefs);
}

HRESULT CMorva::AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                             const BStr& pKey) {
    if (running_) return com::E_UNEXPECTED;
    return store_.AddRefColumn(pTN, pRefTN, pRefCol, pKey);
}

HRESULT CMorva::SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT, const BStr& sLC,
                               const BStr& sLK) {
    if (running_) return com::E_UNEXPECTED;
    return store_.SetLookupTable(sT, sC, sLT, sLC, sLK);
}

HRESULT CMorva::SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) {
    if (running_) return com::E_UNEXPECTED;
    return store_.SetLookupItem(sT, sC, sItem);
}

HRESULT CMorva::SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) {
    if (running_) return com::E_UNEXPECTED;
    return store_.SetRoom(sRN, sRT, sRL);
}

HRESULT CMorva::SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) {
    if (running_) return com::E_UNEXPECTED;
    return store_.SetSchema(sN, sT, sL);
}

HRESULT CMorva::Advise(com::IUnknown* sink, uint32_t* cookie) {
    HRESULT hr = events_.Advise(sink, cookie);
    if (hr != com::CONNECT_E_CANNOTCONNECT) return hr;
    hr = logSinks_.Advise(sink, cookie);
    if (com::Succeeded(hr)) *cookie |= kLogSinkCookie;
    return hr;
}

HRESULT CMorva::Unadvise(uint32_t cookie) {
    if (cookie & kLogSinkCookie) return logSinks_.Unadvise(cookie & ~kLogSinkCookie);
    return events_.Unadvise(cookie);
}

com::ComPtr<IMorva> NewMorva() {
    return com::MakeObject<CMorva, IMorva>();
}

CMorva* AsCMorva(IMorva* morva) {
    return dynamic_cast<CMorva*>(morva);
}

}  // namespace morva::tpx
