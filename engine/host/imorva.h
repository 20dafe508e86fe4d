#pragma once
// The engine control's interfaces as hosts see them: IMorva (methods, dispatch identifiers),
// its event interface _MorvaEvents, and the class and type library identifiers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "component/connection_point.h"
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
};

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
    /// Runs the compiled script over the database. S_OK always.
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
