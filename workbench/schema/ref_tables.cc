#include "workbench/schema/ref_tables.h"

#include "component/text_util.h"

namespace morva::schema {

int TRefTables::IndexOf(std::string_view name) const {
    auto it = index_.find(com::ToUpperAscii(name));
    return it == index_.end() ? -1 : static_cast<int>(it->second);
}

void TRefTables::AddTable(std::string_view name) {
    if (index_.try_emplace(com::ToUpperAscii(name), entries_.size()).second)
        entries_.push_back({std::string(name), {}});
}

void TRefTables::AddPair(std::string_view name, std::string_view refColumn,
                         std::string_view keyColumn) {
    int i = IndexOf(name);
    if (i < 0) return;
    entries_[static_cast<size_t>(i)].pairs.push_back(
        {std::string(refColumn), std::string(keyColumn)});
}

int TRefTables::FindPair(std::string_view name, std::string_view refColumn,
                         std::string_view keyColumn) const {
    int i = IndexOf(name);
    if (i < 0) return -1;
    const auto& pairs = entries_[static_cast<size_t>(i)].pairs;
    for (size_t p = 0; p < pairs.size(); ++p)
        if (pairs[p].RefColumn == refColumn && pairs[p].KeyColumn == keyColumn)
            return static_cast<int>(p);
    return -1;
}

void TRefTables::Write(com::FieldWriter& out) const {
    out.Int32(Count());
    for (const Entry& e : entries_) {
        out.ShortString(e.name);
        out.Int32(static_cast<int32_t>(e.pairs.size()));
        for (const TRefColumn& pair : e.pairs) {
            out.ShortString(pair.RefColumn);
            out.ShortString(pair.KeyColumn);
        }
    }
}

bool TRefTables::Read(com::FieldReader& in) {
    Clear();
    int32_t tables = 0;
    if (!in.Count(&tables)) return false;
    for (int32_t t = 0; t < tables; ++t) {
        std::string name;
        int32_t pairs = 0;
        if (!in.ShortString(&name) || !in.Count(&pairs)) return false;
        // A name repeated in another letter case joins the first one: names stay unique.
        AddTable(name);
        auto& joined = entries_[static_cast<size_t>(IndexOf(name))].pairs;
        for (int32_t p = 0; p < pairs; ++p) {
            TRefColumn pair;
            if (!in.ShortString(&pair.RefColumn) || !in.ShortString(&pair.KeyColumn)) return false;
            joined.push_back(std::move(pair));
        }
    }
    return true;
}

}  // namespace morva::schema
