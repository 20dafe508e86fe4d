#include "engine/host/store_loader.h"

#include <new>
#include <string_view>

#include "component/message_box.h"
#include "engine/store/store.h"

namespace morva::tpx {

namespace {

/// The text of a name argument, read in place: look-ups need no copy of it.
std::string_view NameOf(const BStr& s) {
    return s ? std::string_view(*s) : std::string_view();
}

}  // namespace

void ShowOutOfMemory() {
    com::ShowMessageBox("Insufficent Memory", "Morva Script Engine", com::MbIcon::Stop);
}

StoreLoader::StoreLoader() = default;
StoreLoader::~StoreLoader() = default;

HRESULT StoreLoader::CreateDatabase(const BStr& sName, int32_t) {
    database_.reset();
    try {
        database_ = std::make_unique<CDatabase>(sName);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory();
    }
    return com::S_OK;
}

HRESULT StoreLoader::AddTable(const BStr& strName, const BStr& strType, const BStr& strLabel,
                              int32_t, int32_t) {
    if (!database_) return com::E_FAIL;
    try {
        return database_->AddTable(strName, strType, strLabel) ? com::S_OK : com::E_FAIL;
    } catch (const std::bad_alloc&) {
        return com::E_FAIL;
    }
}

HRESULT StoreLoader::AddColumnIntoTable(const BStr& sTable, const BStr& scType, const BStr& sCol,
                                        const BStr& sReal, const BStr& sdType, int32_t nSize,
                                        int32_t nInx, int32_t nPrec, int32_t nScale) {
    if (!database_) return com::E_FAIL;
    CTable* table = database_->FindTable(NameOf(sTable));
    if (!table) return com::E_FAIL;
    try {
        return table->AddColumn(sCol, scType, sReal, sdType, nSize, nInx, nPrec, nScale)
                   ? com::S_OK
                   : com::E_FAIL;
    } catch (const std::bad_alloc&) {
        return com::E_FAIL;
    }
}

HRESULT StoreLoader::InitDatabase() {
    if (database_) database_->ComputeWidths();
    return com::S_OK;
}

HRESULT StoreLoader::CreateRefTable(const BStr& pTN, const BStr& pRefTN, int32_t) {
    if (!database_) return com::E_FAIL;
    try {
        database_->CreateRefTable(NameOf(pTN), NameOf(pRefTN));
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory();
    }
    return com::S_OK;
}

HRESULT StoreLoader::AddRefColumn(const BStr& pTN, const BStr& pRefTN, const BStr& pRefCol,
                                  const BStr& pKey) {
    if (!database_) return com::E_FAIL;
    database_->AddRefColumn(NameOf(pTN), NameOf(pRefTN), NameOf(pRefCol), NameOf(pKey));
    return com::S_OK;
}

HRESULT StoreLoader::SetLookupTable(const BStr& sT, const BStr& sC, const BStr& sLT,
                                    const BStr& sLC, const BStr& sLK) {
    if (database_) {
        database_->SetLookupTable(NameOf(sT), NameOf(sC), NameOf(sLT), NameOf(sLC), NameOf(sLK));
    }
    return com::S_OK;
}

HRESULT StoreLoader::SetLookupItem(const BStr& sT, const BStr& sC, const BStr& sItem) {
    if (!database_) return com::S_OK;
    try {
        database_->SetLookupItem(NameOf(sT), NameOf(sC), sItem);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory();
    }
    return com::S_OK;
}

HRESULT StoreLoader::SetRoom(const BStr& sRN, const BStr& sRT, const BStr& sRL) {
    if (database_) database_->SetRoom(sRN, sRT, sRL);
    return com::S_OK;
}

HRESULT StoreLoader::SetSchema(const BStr& sN, const BStr& sT, const BStr& sL) {
    if (database_) database_->SetSchema(sN, sT, sL);
    return com::S_OK;
}

}  // namespace morva::tpx
