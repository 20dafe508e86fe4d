#include "engine/host/store.h"

#include <gtest/gtest.h>

#include "engine/host/store_dump.h"

namespace morva::tpx {
namespace {

TEST(StoreTest, Smoke) {
    CDatabase db("SHOP");
    CTable* t = db.AddTable("Customer", "Master", std::nullopt);
    ASSERT_TRUE(t);
    t->AddColumn("ID", "Key", std::nullopt, "INTEGER", 4, 4 * 30 + 1, 0, 0);
    db.ComputeWidths();
    std::cout << DumpStore(&db);
}

}  // namespace
}  // namespace morva::tpx
