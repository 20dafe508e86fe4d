#include "engine/store/store.h"

#include <algorithm>

#include "component/text_util.h"
#include "component/utf8.h"

namespace morva::tpx {

namespace {

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int32_t ClampLength(size_t length) {
    constexpr auto kMax = static_cast<size_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(std::min(length, kMax));
}

/// Records `element` under `key` unless an element with that name is already there.
template <typename T>
void IndexFirst(NameIndex<T>& index, const StoreText& key, T* element) {
    index.TryAdd(TextView(key), element);
}

}  // namespace

bool HasNoLowerCase(const StoreText& text) {
    std::string_view s = TextView(text);
    return std::none_of(s.begin(), s.end(), com::IsLowerAscii);
}

int32_t TextLength(const StoreText& text) {
    return text ? ClampLength(com::CountCodePoints(*text)) : 0;
}

size_t FoldedNameHash::operator()(std::string_view name) const {
    // FNV-1a over the upper-cased bytes, so that names equal ignoring case hash alike.
    uint64_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(FoldAscii(c));
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool FoldedNameEqual::operator()(std::string_view a, std::string_view b) const {
    return com::EqualsIgnoreCase(a, b);
}

// ---------------------------------------------------------------------------------------------

bool CLookupList::Add(std::string_view text) {
    if (!items_.Add(std::make_unique<std::string>(text))) return false;
    maxLength_ = std::max(maxLength_, ClampLength(com::CountCodePoints(text)));
    return true;
}

void CColumn::SetLookup(CTable* table, CColumn* column, CColumn* key) {
    lookupTable = table;
    lookupColumn = column;
    lookupKey = key;
}

std::string_view CRefTable::RefColumnName(int32_t index) const {
    const CColumn* column = refColumns_.At(index);
    return column ? TextView(column->name) : kNoColumn;
}

std::string_view CRefTable::KeyColumnName(int32_t index) const {
    const CColumn* column = keyColumns_.At(index);
    return column ? TextView(column->name) : kNoColumn;
}

// ---------------------------------------------------------------------------------------------

CColumn* CTable::AddColumn(const StoreText& name, const StoreText& type, const StoreText& label,
                           const StoreText& dataType, int32_t size, int32_t flags,
                           int32_t precision, int32_t scale) {
    if (!columns_.EnsureRoom()) return nullptr;
    CColumn* added =
        columnPool_.Emplace(name, type, label, dataType, size, flags, precision, scale);
    IndexFirst(columnIndex_, added->name, added);
    columns_.Add(added);
    return added;
}

CColumn* CTable::FindColumn(std::string_view name) const {
    return columnIndex_.Find(name);
}

CRefTable* CTable::AddRefTable(CTable* referenced) {
    auto ref = std::make_unique<CRefTable>(referenced, refTables_.count());
    CRefTable* added = ref.get();
    if (!refTables_.EnsureRoom()) return nullptr;
    refIndex_.try_emplace(referenced, added);
    refTables_.Add(std::move(ref));
    return added;
}

CRefTable* CTable::FindRefTable(const CTable* referenced) const {
    auto it = refIndex_.find(referenced);
    return it == refIndex_.end() ? nullptr : it->second;
}

bool CTable::AddRefPair(CRefTable* ref, CColumn* refColumn, CColumn* keyColumn) {
    // Both lists must grow together, so room is made in both before either changes.
    if (!ref->refColumns_.EnsureRoom() || !ref->keyColumns_.EnsureRoom()) return false;
    // A pair may be added to an earlier reference after a later one already holds a key
    // column of that name; the earlier reference then takes over the index entry.
    auto [slot, added] = keyColumnIndex_.TryAdd(TextView(keyColumn->name), ref);
    if (!added && (*slot)->position() > ref->position()) *slot = ref;
    ref->refColumns_.Add(refColumn);
    ref->keyColumns_.Add(keyColumn);
    return true;
}

CRefTable* CTable::FindRefByKeyColumn(std::string_view columnName) const {
    return keyColumnIndex_.Find(columnName);
}

void CTable::ComputeWidths() {
    maxSize = maxNameLen = maxTypeLen = maxLabelLen = maxDataTypeLen = keyCount = 0;
    for (const CColumn* column : columns_) {
        if (column->IsKey()) ++keyCount;
        maxNameLen = std::max(maxNameLen, TextLength(column->name));
        maxTypeLen = std::max(maxTypeLen, TextLength(column->type));
        maxLabelLen = std::max(maxLabelLen, TextLength(column->label));
        maxDataTypeLen = std::max(maxDataTypeLen, TextLength(column->dataType));
        maxSize = std::max(maxSize, column->size);
    }
}

// ---------------------------------------------------------------------------------------------

CTable* CDatabase::AddTable(StoreText name, StoreText type, StoreText label) {
    auto table = std::make_unique<CTable>(std::move(name), std::move(type), std::move(label));
    CTable* added = table.get();
    if (!tables_.EnsureRoom()) return nullptr;
    IndexFirst(tableIndex_, added->name, added);
    tables_.Add(std::move(table));
    return added;
}

CTable* CDatabase::FindTable(std::string_view name) const {
    // The host spells the name alike each time: a byte comparison settles most calls.
    if (lastFound_ && (name == TextView(lastFound_->name) ||
                       com::EqualsIgnoreCase(name, TextView(lastFound_->name))))
        return lastFound_;
    CTable* found = tableIndex_.Find(name);
    if (found) lastFound_ = found;
    return found;
}

CRefTable* CDatabase::CreateRefTable(std::string_view tableName, std::string_view refTableName) {
    CTable* table = FindTable(tableName);
    CTable* referenced = FindTable(refTableName);
    if (!table || !referenced) return nullptr;
    return table->AddRefTable(referenced);
}

bool CDatabase::AddRefColumn(std::string_view tableName, std::string_view refTableName,
                             std::string_view refColumnName, std::string_view keyColumnName) {
    CTable* table = FindTable(tableName);
    CTable* referenced = FindTable(refTableName);
    if (!table || !referenced) return false;
    CColumn* keyColumn = table->FindColumn(keyColumnName);
    CColumn* refColumn = referenced->FindColumn(refColumnName);
    CRefTable* ref = table->FindRefTable(referenced);
    if (!keyColumn || !refColumn || !ref) return false;
    return table->AddRefPair(ref, refColumn, keyColumn);
}

bool CDatabase::SetLookupTable(std::string_view tableName, std::string_view columnName,
                               std::string_view lookupTableName, std::string_view lookupColumnName,
                               std::string_view lookupKeyName) {
    CTable* table = FindTable(tableName);
    CTable* lookupTable = FindTable(lookupTableName);
    if (!table || !lookupTable) return false;
    CColumn* column = table->FindColumn(columnName);
    CColumn* lookupColumn = lookupTable->FindColumn(lookupColumnName);
    CColumn* lookupKey = lookupTable->FindColumn(lookupKeyName);
    if (!column || !lookupColumn || !lookupKey) return false;
    column->SetLookup(lookupTable, lookupColumn, lookupKey);
    return true;
}

bool CDatabase::SetLookupItem(std::string_view tableName, std::string_view columnName,
                              const StoreText& item) {
    if (!item) return false;
    CTable* table = FindTable(tableName);
    CColumn* column = table ? table->FindColumn(columnName) : nullptr;
    return column && column->lookupItems.Add(*item);
}

void CDatabase::SetRoom(StoreText name, StoreText type, StoreText label) {
    roomName = std::move(name);
    roomType = std::move(type);
    roomLabel = std::move(label);
}

void CDatabase::SetSchema(StoreText name, StoreText type, StoreText label) {
    schemaName = std::move(name);
    schemaType = std::move(type);
    schemaLabel = std::move(label);
}

void CDatabase::ComputeWidths() {
    nameWidth = typeWidth = labelWidth = dataTypeWidth = maxSize = keyCount = 0;
    for (CTable* table : tables_) {
        table->ComputeWidths();
        nameWidth = std::max({nameWidth, TextLength(table->name), table->maxNameLen});
        typeWidth = std::max({typeWidth, TextLength(table->type), table->maxTypeLen});
        labelWidth = std::max({labelWidth, TextLength(table->label), table->maxLabelLen});
        dataTypeWidth = std::max(dataTypeWidth, table->maxDataTypeLen);
        maxSize = std::max(maxSize, table->maxSize);
        keyCount += table->keyCount;
    }
}

}  // namespace morva::tpx
