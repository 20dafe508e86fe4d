#pragma once
// Building the engine's store from the schema hand-over's calls: the calls as an interface, so
// that the schema library can send a schema without the engine control, and the loader that
// turns them into a store, which the engine control and the command line share.

#include <cstdint>
#include <memory>

#include "engine/host/imorva.h"

namespace morva::tpx {

class CDatabase;

/// The hand-over calls that build a store, with IMorva's arguments and statuses.
class StoreBuilder {
  public:
    /// Starts a new store named `sName`, discarding the one before.
    virtual HRESULT CreateDatabase(const BStr& sName, int32_t nTables) = 0;
    virtual HRESULT AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                             int32_t nColumns, int32_t nRefs) = 0;
    virtual HRESULT AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                                       const BStr& sReal, const BStr& sdType, int32_t nSize,
                                       int32_t nInx, int32_t nPrec, int32_t nScale) = 0;
    /// Computes the store's widths once every table and column is in.
    virtual HRESULT InitDatabase() = 0;
    virtual HRESULT CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t nRefs) = 0;
    virtual HRESULT AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                                 const BStr& pKey) = 0;
    virtual HRESULT SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT, const BStr& sLC,
                                   const BStr& sLK) = 0;
    virtual HRESULT SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) = 0;
    virtual HRESULT SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) = 0;
    virtual HRESULT SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) = 0;

  protected:
    ~StoreBuilder() = default;
};

/// Builds one store from the hand-over calls. Calls that need a store fail, or do nothing,
/// before CreateDatabase; a store that cannot get memory is reported in a message box.
class StoreLoader final : public StoreBuilder {
  public:
    StoreLoader();
    ~StoreLoader();

    HRESULT CreateDatabase(const BStr& sName, int32_t nTables) override;
    HRESULT AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                     int32_t nColumns, int32_t nRefs) override;
    HRESULT AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                               const BStr& sReal, const BStr& sdType, int32_t nSize, int32_t nInx,
                               int32_t nPrec, int32_t nScale) override;
    HRESULT InitDatabase() override;
    HRESULT CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t nRefs) override;
    HRESULT AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                         const BStr& pKey) override;
    HRESULT SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT, const BStr& sLC,
                           const BStr& sLK) override;
    HRESULT SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) override;
    HRESULT SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) override;
    HRESULT SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) override;

    /// The store built so far; null before CreateDatabase or when it had no memory.
    const CDatabase* store() const { return database_.get(); }

  private:
    std::unique_ptr<CDatabase> database_;
};

/// Tells the user that the engine ran out of memory.
void ShowOutOfMemory();

}  // namespace morva::tpx
