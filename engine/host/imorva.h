#pragma once
// The engine control's interfaces as hosts see them: IMorva (methods, dispatch identifiers),
// its event interface _MorvaEvents, and the class and type library identifiers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "component/connection_point.h"
#include "component/hresult.h"
#include "component/unknown.h"
#include "engine/script/lint.h"

namespace morva::tpx {

using com::Guid;
using com::HRESULT;

/// An automation string: absent stands for a null string, which the engine reads as empty.
using BStr = std::optional<std::string>;

inline constexpr Guid kMorvaClsid{
    0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x01}};
inline constexpr Guid kTpxTypeLib{
    0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x02}};
/// File name of the engine library, for hosts that fall back to the library beside them.
inline constexpr const char* kTpxLibrary = "libtpx.so";

/// Dispatch identifiers of IMorva.
enum MorvaDispId : int32_t {
    kDispWrite = 1,
    kDispWriteLine = 2,
    kDispCreateDatabase = 3,
    kDispAddTable = 4,
    kDispAddColumnIntoTable = 5,
    kDispClear = 6,
    kDispSetScript = 7,
    kDispRunScript = 8,
    kDispInitDatabase = 9,
    kDispCreateRefTable = 10,
    kDispAddRefColumn = 11,
    kDispSetLookupTable = 12,
    kDispSetLookupItem = 13,
    kDispSetRoom = 14,
    kDispSetSchema = 18,
    kDispSetOutputPolicy = 19,
    kDispSetOutputFolder = 20,  // result: the reason a folder is refused, "" when accepted
    kDispGetRunSummary = 21,    // result: OutputSummary of GetRunOutput (late-bound only)
};

/// Where the output files of a run go (SetOutputPolicy).
enum OutputMode : int32_t {
    kOutputToDisk = 0,    // written, each only when its text changed
    kOutputToMemory = 1,  // nothing is written; the results tell what a run would change
};

/// What the last run did with its output files (GetRunOutput).
struct RunOutput {
    /// The run went to its end; only then are the stale files known.
    bool completed = false;
    int32_t written = 0;  // created or changed (into memory: would be)
    int32_t unchanged = 0;
    std::vector<std::string> failed;  // files that could not be created, written or replaced
    /// Files the script's last run generated that this run did not, still in the folder.
    std::vector<std::string> stale;
    /// Kept regions the file on disk had and the new text lacks: file, region and where the
    /// region's text was kept ("" into memory).
    struct LostRegion {
        std::string file, region, savedAs;
    };
    std::vector<LostRegion> lostRegions;
};

/// The one-line summary of a run's output, as every host words it: "N files written,
/// N unchanged, N pruned, N stale", and ", N failed" when any failed.
inline std::string OutputSummary(int written, int unchanged, int pruned, size_t stale, int failed) {
    std::string text = std::to_string(written) + " files written, " + std::to_string(unchanged) +
                       " unchanged, " + std::to_string(pruned) + " pruned, " +
                       std::to_string(stale) + " stale";
    if (failed > 0) text += ", " + std::to_string(failed) + " failed";
    return text;
}

/// Dispatch identifier of the event OnCloseAsDFM.
inline constexpr int32_t kDispOnCloseAsDFM = 1;

/// Events of the engine control. Sinks connect through IConnectionPoint::Advise on the control.
class IMorvaEvents : public com::IUnknown {
  public:
    static constexpr Guid kIid{
        0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x03}};
    /// A run closed the output file `filename` (the name it was created under) as a form file.
    virtual HRESULT OnCloseAsDFM(const BStr& filename) = 0;
};

/// Told whenever the log text changes, so a window can show it.
class IMorvaLogSink : public com::IUnknown {
  public:
    static constexpr Guid kIid{
        0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x05}};
    virtual HRESULT OnLogChanged() = 0;
};

/// The engine control. Every method returns a status; see each for when it fails.
class IMorva : public com::IDispatch {
  public:
    static constexpr Guid kIid{
        0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x04}};

    /// Appends the text to the log. S_OK.
    virtual HRESULT Write(const BStr& strMsg) = 0;
    /// Appends the text and a carriage return and line feed. S_OK.
    virtual HRESULT WriteLine(const BStr& strMsg) = 0;
    /// Replaces the database by an empty one named sName. S_OK, also when creation failed.
    virtual HRESULT CreateDatabase(const BStr& sName, int32_t nTables) = 0;
    /// Appends a table. E_FAIL without a database.
    virtual HRESULT AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                             int32_t nColumns, int32_t nRefs) = 0;
    /// Appends a column to table sTable. E_FAIL without a database or without that table.
    virtual HRESULT AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                                       const BStr& sReal, const BStr& sdType, int32_t nSize,
                                       int32_t nInx, int32_t nPrec, int32_t nScale) = 0;
    /// Empties the log. S_OK.
    virtual HRESULT Clear() = 0;
    /// Takes the script and compiles it, writing messages to the log. E_FAIL only when the
    /// script engine cannot be created.
    virtual HRESULT SetScript(const BStr& Filename, const BStr& ScriptCode) = 0;
    /// Runs the compiled script over the database. S_OK, but E_FAIL without running while the
    /// last output folder asked for (SetOutputFolder) is refused.
    virtual HRESULT RunScript() = 0;
    /// Computes the padding widths of the store. S_OK always.
    virtual HRESULT InitDatabase() = 0;
    /// Appends to pTN a reference to pRefTN when both exist. E_FAIL without a database.
    virtual HRESULT CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t nRefs) = 0;
    /// Appends a column pair to the reference from pTN to pRefTN. E_FAIL without a database.
    virtual HRESULT AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                                 const BStr& pKey) = 0;
    /// Makes column sC of sT look up in table sLT (shown column sLC, key sLK). S_OK always.
    virtual HRESULT SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT, const BStr& sLC,
                                   const BStr& sLK) = 0;
    /// Appends a lookup item to column sC of table sT. S_OK always.
    virtual HRESULT SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) = 0;
    /// Replaces the room name, type and label. S_OK always.
    virtual HRESULT SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) = 0;
    /// Replaces the schema name, type and label. S_OK always.
    virtual HRESULT SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) = 0;

    /// The log text since the last Clear (what the log window shows). S_OK.
    virtual HRESULT GetLogText(std::string* text) = 0;

    // The output layer. A host that never calls SetOutputFolder has runs write their files
    // in the current folder, each only when its text changed. A control without the layer
    // answers E_NOTIMPL.

    /// How later runs treat their output files (an OutputMode). E_INVALIDARG for another
    /// value.
    virtual HRESULT SetOutputPolicy(int32_t /*mode*/) { return com::E_NOTIMPL; }
    /// Later runs write their output files in `folder` (names without a folder are taken in
    /// it, and the record of generated files is kept there). To disk the folder is made when
    /// missing. E_FAIL with the reason in `reason` when the folder cannot take the files (it
    /// cannot be made, or is a file); later runs then run nothing until a folder is accepted.
    virtual HRESULT SetOutputFolder(const BStr& /*folder*/, std::string* /*reason*/) {
        return com::E_NOTIMPL;
    }
    /// What the last run did with its output files. S_FALSE when no run went through an output
    /// folder since it was set.
    virtual HRESULT GetRunOutput(RunOutput* /*output*/) { return com::E_NOTIMPL; }
    /// The text the running script gave `name`, when that is the file it closed last. S_FALSE
    /// otherwise (the file on disk then holds its text).
    virtual HRESULT GetClosedText(const BStr& /*name*/, std::string* /*text*/) {
        return com::E_NOTIMPL;
    }
    /// Writes the whole output file `name` of `content` (a converted form file) through the
    /// run's output files, so that an unchanged file is left alone and the outcome is counted.
    /// E_FAIL with the errno in `error` when it cannot be written; E_UNEXPECTED outside a run.
    virtual HRESULT PutOutputFile(const BStr& /*name*/, const std::string& /*content*/,
                                  int32_t* /*error*/) {
        return com::E_NOTIMPL;
    }
};

/// The lint of the engine control, asked for through QueryInterface: it reads a script as
/// SetScript would and reports its likely mistakes, leaving the control's script, program and
/// log as they were. It runs on the thread that calls the control.
class IMorvaLint : public com::IUnknown {
  public:
    static constexpr Guid kIid{
        0x3A6E2C41, 0x7B19, 0x4F0D, {0x8E, 0x21, 0x5C, 0x90, 0x1D, 0x44, 0xA0, 0x06}};
    /// Replaces `*findings` by the findings of every check over ScriptCode, in script order.
    /// E_UNEXPECTED while a run is under way (from one of its events), E_POINTER without
    /// `findings`, E_OUTOFMEMORY when the lint runs out of memory.
    virtual HRESULT Lint(const BStr& ScriptCode, std::vector<LintFinding>* findings) = 0;
};

}  // namespace morva::tpx
