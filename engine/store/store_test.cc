#include "engine/store/store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/store/testing/store_dump.h"

namespace morva::tpx {
namespace {

CColumn* AddColumn(CTable* table, const char* name, int32_t size = 10, int32_t flags = 0) {
    return table->AddColumn(std::string(name), "Normal", std::nullopt, "VARCHAR", size, flags, 0,
                            0);
}

// --- Lists ---------------------------------------------------------------------------------

struct Counted {
    explicit Counted(int* alive) : alive(alive) { ++*alive; }
    ~Counted() { --*alive; }
    int* alive;
};

TEST(PtrArrayTest, StartsWithRoomFor32AndDoublesWhenFull) {
    CDatabase db("D");
    EXPECT_EQ(32, db.tables().capacity());
    for (int i = 0; i < 33; ++i) ASSERT_TRUE(db.AddTable("T" + std::to_string(i), "", ""));
    EXPECT_EQ(64, db.tables().capacity());
    ASSERT_EQ(33, db.tables().count());
    for (int i = 0; i < 33; ++i) EXPECT_EQ("T" + std::to_string(i), *db.TableAt(i)->name);

    for (int i = 33; i < 65; ++i) db.AddTable("T" + std::to_string(i), "", "");
    EXPECT_EQ(128, db.tables().capacity());
}

TEST(PtrArrayTest, ElementsKeepTheirOrderAcrossManyGrowths) {
    CPtrArray<int> list;
    std::vector<int> values(1000);
    for (int& v : values) ASSERT_TRUE(list.Add(&v));
    EXPECT_EQ(1024, list.capacity());
    ASSERT_EQ(1000, list.count());
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(&values[static_cast<size_t>(i)], list.At(i));
}

TEST(PtrArrayTest, ColumnsStayInPlaceAsTheTableGrows) {
    // Columns live in blocks of growing size; those added earlier must neither move nor
    // change when later ones need a new block.
    CDatabase db("D");
    CTable* table = db.AddTable("T", "", "");
    std::vector<CColumn*> added;
    for (int i = 0; i < 600; ++i) {
        CColumn* column = AddColumn(table, ("C_" + std::to_string(i)).c_str(), i);
        ASSERT_TRUE(column);
        added.push_back(column);
    }
    for (int i = 0; i < 600; ++i) {
        CColumn* column = table->ColumnAt(i);
        ASSERT_EQ(added[static_cast<size_t>(i)], column);
        EXPECT_EQ(i, column->size);
        EXPECT_EQ("C_" + std::to_string(i), *column->name);
    }
    EXPECT_EQ(added[599], table->FindColumn("c_599"));
    EXPECT_EQ(1024, table->columns().capacity());
}

TEST(PtrArrayTest, IndexOutsideTheElementsYieldsNothing) {
    CPtrArray<int> list;
    int a = 1, b = 2;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(&a, list.At(0));
    EXPECT_EQ(&b, list.At(1));
    EXPECT_EQ(nullptr, list.At(2));
    EXPECT_EQ(nullptr, list.At(-1));
    EXPECT_EQ(nullptr, CPtrArray<int>().At(0));
}

TEST(PtrArrayTest, OwningListDestroysItsElementsBorrowingListDoesNot) {
    int alive = 0;
    Counted kept(&alive);
    {
        CPtrArray<Counted, true> owning;
        CPtrArray<Counted> borrowing;
        for (int i = 0; i < 40; ++i) owning.Add(std::make_unique<Counted>(&alive));
        borrowing.Add(&kept);
        EXPECT_EQ(41, alive);
    }
    EXPECT_EQ(1, alive);
}

// --- Name look-ups -------------------------------------------------------------------------

TEST(StoreLookupTest, FirstOfEqualNamesWinsForEitherSpelling) {
    CDatabase db("D");
    CTable* first = db.AddTable("Orders", "A", "");
    CTable* second = db.AddTable("ORDERS", "B", "");
    ASSERT_NE(first, second);
    EXPECT_EQ(first, db.FindTable("orders"));
    EXPECT_EQ(first, db.FindTable("ORDERS"));
    EXPECT_EQ(first, db.FindTable("Orders"));
    EXPECT_EQ(nullptr, db.FindTable("Order"));
    EXPECT_EQ(2, db.tables().count()) << "duplicates are kept";

    CColumn* id = AddColumn(first, "Id");
    AddColumn(first, "ID");
    EXPECT_EQ(id, first->FindColumn("iD"));
    EXPECT_EQ(nullptr, second->FindColumn("ID")) << "columns are looked up per table";
}

TEST(StoreLookupTest, RepeatedLookupsOfOneTableStayExact) {
    // The host names the same table for each of its columns; the answer must not stick to a
    // table once another name, a prefix or a later duplicate comes along.
    CDatabase db("D");
    CTable* orders = db.AddTable("ORDERS", "", "");
    CTable* items = db.AddTable("ITEMS", "", "");
    EXPECT_EQ(items, db.FindTable("items"));
    EXPECT_EQ(items, db.FindTable("Items"));
    EXPECT_EQ(orders, db.FindTable("orders"));
    EXPECT_EQ(nullptr, db.FindTable("ORDER"));
    EXPECT_EQ(nullptr, db.FindTable("ORDERSX"));
    EXPECT_EQ(orders, db.FindTable("ORDERS"));
    db.AddTable("Orders", "", "");
    EXPECT_EQ(orders, db.FindTable("Orders")) << "a later duplicate does not take over";
    CTable* fresh = db.AddTable("NEW", "", "");
    EXPECT_EQ(fresh, db.FindTable("new"));
}

TEST(StoreLookupTest, FirstOfEqualNamesSurvivesTheIndexGrowing) {
    // Every name comes twice in another spelling, interleaved, while the index grows many
    // times over; each look-up still finds the first, and absent names are absent.
    CDatabase db("D");
    CTable* table = db.AddTable("T", "", "");
    std::vector<CColumn*> firsts;
    for (int i = 0; i < 1000; ++i) {
        firsts.push_back(AddColumn(table, ("Col" + std::to_string(i)).c_str()));
        if (i > 0) AddColumn(table, ("COL" + std::to_string(i - 1)).c_str());
    }
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(firsts[static_cast<size_t>(i)], table->FindColumn("col" + std::to_string(i)));
        ASSERT_EQ(nullptr, table->FindColumn("col" + std::to_string(i) + "x"));
    }
    EXPECT_EQ(nullptr, CTable("E", "", "").FindColumn("anything"));
}

TEST(StoreLookupTest, CaseFoldingTouchesAsciiLettersOnly) {
    CDatabase db("D");
    CTable* lower = db.AddTable("caf\xC3\xA9", "", "");  // "café"
    CTable* upper = db.AddTable("CAF\xC3\x89", "", "");  // "CAFÉ"
    EXPECT_EQ(lower, db.FindTable("CAF\xC3\xA9"));
    EXPECT_EQ(upper, db.FindTable("caf\xC3\x89"));
    CTable* bracket = db.AddTable("[", "", "");
    EXPECT_EQ(nullptr, db.FindTable("{")) << "only letters fold";
    EXPECT_EQ(bracket, db.FindTable("["));
}

TEST(StoreLookupTest, AbsentNameComparesAsEmpty) {
    CDatabase db("D");
    CTable* unnamed = db.AddTable(std::nullopt, std::nullopt, std::nullopt);
    db.AddTable("", "", "");
    EXPECT_EQ(unnamed, db.FindTable(""));
    CColumn* column =
        unnamed->AddColumn(std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, 0);
    EXPECT_EQ(column, unnamed->FindColumn(""));
}

TEST(StoreLookupTest, NamesOfAnyLength) {
    CDatabase db("D");
    std::string longName(5000, 'a');
    std::string other = longName + "b";
    CTable* a = db.AddTable(longName, "", "");
    CTable* b = db.AddTable(other, "", "");
    EXPECT_EQ(a, db.FindTable(std::string(5000, 'A')));
    std::string upperOther(5000, 'A');
    upperOther += 'B';
    EXPECT_EQ(b, db.FindTable(upperOther));
    db.ComputeWidths();
    EXPECT_EQ(5001, db.nameWidth);
}

// --- References ----------------------------------------------------------------------------

class StoreRefTest : public ::testing::Test {
  protected:
    void SetUp() override {
        customer = db.AddTable("CUSTOMER", "Master", "Customers");
        orders = db.AddTable("ORDERS", "Sub", "Orders");
        AddColumn(customer, "ID");
        AddColumn(customer, "REGION");
        AddColumn(orders, "NO");
        AddColumn(orders, "CUST_ID");
        AddColumn(orders, "CUST_REGION");
    }
    CDatabase db{"SHOP"};
    CTable* customer = nullptr;
    CTable* orders = nullptr;
};

TEST_F(StoreRefTest, ReferenceNeedsBothTables) {
    EXPECT_EQ(nullptr, db.CreateRefTable("ORDERS", "NOPE"));
    EXPECT_EQ(nullptr, db.CreateRefTable("NOPE", "CUSTOMER"));
    EXPECT_EQ(0, orders->refTables().count());

    CRefTable* ref = db.CreateRefTable("orders", "customer");
    ASSERT_TRUE(ref);
    EXPECT_EQ(customer, ref->table);
    EXPECT_EQ(0, ref->PairCount());
    EXPECT_EQ(ref, orders->FindRefTable(customer));
    EXPECT_EQ(nullptr, customer->FindRefTable(orders)) << "a reference belongs to its owner";
}

TEST_F(StoreRefTest, PairWithAMissingPartIsDroppedAndOthersStay) {
    db.CreateRefTable("ORDERS", "CUSTOMER");
    EXPECT_TRUE(db.AddRefColumn("ORDERS", "CUSTOMER", "id", "cust_id"));
    EXPECT_FALSE(db.AddRefColumn("ORDERS", "CUSTOMER", "REGION", "NO_SUCH_KEY"));
    EXPECT_FALSE(db.AddRefColumn("ORDERS", "CUSTOMER", "NO_SUCH_REF", "CUST_REGION"));
    EXPECT_FALSE(db.AddRefColumn("ORDERS", "NOPE", "ID", "CUST_ID"));
    EXPECT_FALSE(db.AddRefColumn("CUSTOMER", "ORDERS", "CUST_ID", "ID"))
        << "no reference from CUSTOMER to ORDERS";
    EXPECT_TRUE(db.AddRefColumn("ORDERS", "CUSTOMER", "REGION", "CUST_REGION"));

    CRefTable* ref = orders->RefAt(0);
    ASSERT_EQ(2, ref->PairCount());
    EXPECT_EQ(2, ref->refColumns().count());
    EXPECT_EQ(customer->FindColumn("ID"), ref->refColumns().At(0));
    EXPECT_EQ(orders->FindColumn("CUST_ID"), ref->keyColumns().At(0));
    EXPECT_EQ("REGION", ref->RefColumnName(1));
    EXPECT_EQ("CUST_REGION", ref->KeyColumnName(1));
    EXPECT_EQ("None", ref->RefColumnName(5));
    EXPECT_EQ("None", ref->KeyColumnName(2));
    EXPECT_EQ("None", ref->RefColumnName(-1));
    EXPECT_EQ(0, customer->refTables().count());
}

TEST_F(StoreRefTest, PairsGoToTheFirstOfSeveralReferencesToOneTable) {
    CRefTable* first = db.CreateRefTable("ORDERS", "CUSTOMER");
    CRefTable* second = db.CreateRefTable("ORDERS", "Customer");
    ASSERT_NE(first, second);
    EXPECT_EQ(first, orders->FindRefTable(customer));
    db.AddRefColumn("ORDERS", "CUSTOMER", "ID", "CUST_ID");
    EXPECT_EQ(1, first->PairCount());
    EXPECT_EQ(0, second->PairCount());
    EXPECT_EQ(1, second->position());
}

TEST_F(StoreRefTest, ReferenceIsFoundByTheTableObjectNotItsName) {
    CTable* twin = db.AddTable("customer", "", "");
    CRefTable* toTwin = orders->AddRefTable(twin);
    EXPECT_EQ(nullptr, orders->FindRefTable(customer));
    EXPECT_EQ(toTwin, orders->FindRefTable(twin));
    // By name, "customer" resolves to the first table, which orders does not reference.
    EXPECT_FALSE(db.AddRefColumn("ORDERS", "customer", "ID", "CUST_ID"));
}

TEST_F(StoreRefTest, SelfReference) {
    AddColumn(customer, "PARENT_ID");
    CRefTable* ref = db.CreateRefTable("CUSTOMER", "customer");
    ASSERT_TRUE(ref);
    EXPECT_TRUE(db.AddRefColumn("Customer", "CUSTOMER", "ID", "PARENT_ID"));
    EXPECT_EQ(ref, customer->FindRefByKeyColumn("parent_id"));
}

TEST_F(StoreRefTest, KeyColumnLookupTakesTheFirstReferenceInListOrder) {
    CTable* region = db.AddTable("REGION", "", "");
    AddColumn(region, "CODE");
    CRefTable* toCustomer = db.CreateRefTable("ORDERS", "CUSTOMER");
    CRefTable* toRegion = db.CreateRefTable("ORDERS", "REGION");
    EXPECT_EQ(nullptr, orders->FindRefByKeyColumn("CUST_REGION"));

    // The later reference gets its pair first; the earlier one still wins once it has one.
    db.AddRefColumn("ORDERS", "REGION", "CODE", "CUST_REGION");
    EXPECT_EQ(toRegion, orders->FindRefByKeyColumn("cust_region"));
    db.AddRefColumn("ORDERS", "CUSTOMER", "REGION", "CUST_REGION");
    EXPECT_EQ(toCustomer, orders->FindRefByKeyColumn("CUST_REGION"));
    db.AddRefColumn("ORDERS", "CUSTOMER", "ID", "CUST_ID");
    EXPECT_EQ(toCustomer, orders->FindRefByKeyColumn("Cust_Id"));

    EXPECT_EQ(nullptr, orders->FindRefByKeyColumn("NO"));
    EXPECT_EQ(nullptr, customer->FindRefByKeyColumn("CUST_ID"));
}

// --- Lookups -------------------------------------------------------------------------------

TEST_F(StoreRefTest, LookupTableIsSetOnlyWhenAllFiveExist) {
    CColumn* column = orders->FindColumn("CUST_ID");
    EXPECT_FALSE(db.SetLookupTable("ORDERS", "CUST_ID", "CUSTOMER", "REGION", "NOPE"));
    EXPECT_FALSE(db.SetLookupTable("ORDERS", "CUST_ID", "CUSTOMER", "NOPE", "ID"));
    EXPECT_FALSE(db.SetLookupTable("ORDERS", "NOPE", "CUSTOMER", "REGION", "ID"));
    EXPECT_FALSE(db.SetLookupTable("NOPE", "CUST_ID", "CUSTOMER", "REGION", "ID"));
    EXPECT_FALSE(db.SetLookupTable("ORDERS", "CUST_ID", "NOPE", "REGION", "ID"));
    EXPECT_FALSE(column->IsLookupByTable());
    EXPECT_FALSE(column->IsLookup());

    EXPECT_TRUE(db.SetLookupTable("orders", "cust_id", "customer", "region", "id"));
    EXPECT_EQ(customer, column->lookupTable);
    EXPECT_EQ(customer->FindColumn("REGION"), column->lookupColumn);
    EXPECT_EQ(customer->FindColumn("ID"), column->lookupKey);
    EXPECT_TRUE(column->IsLookupByTable());
    EXPECT_TRUE(column->IsLookup());
    EXPECT_FALSE(column->IsLookupByItems());

    // A later setting replaces the links; a failing one leaves them.
    EXPECT_TRUE(db.SetLookupTable("ORDERS", "CUST_ID", "ORDERS", "NO", "CUST_ID"));
    EXPECT_EQ(orders, column->lookupTable);
    EXPECT_FALSE(db.SetLookupTable("ORDERS", "CUST_ID", "CUSTOMER", "REGION", "NOPE"));
    EXPECT_EQ(orders, column->lookupTable);
}

TEST_F(StoreRefTest, LookupItemsKeepOrderAndLongestLength) {
    CColumn* column = orders->FindColumn("NO");
    EXPECT_TRUE(db.SetLookupItem("ORDERS", "no", std::string("Open")));
    EXPECT_TRUE(db.SetLookupItem("ORDERS", "NO", std::string("Shipped")));
    EXPECT_TRUE(db.SetLookupItem("ORDERS", "NO", std::string("")));
    EXPECT_FALSE(db.SetLookupItem("ORDERS", "NO", std::nullopt));
    EXPECT_FALSE(db.SetLookupItem("ORDERS", "NOPE", std::string("x")));
    EXPECT_FALSE(db.SetLookupItem("NOPE", "NO", std::string("x")));

    ASSERT_EQ(3, column->lookupItems.count());
    EXPECT_EQ("Open", *column->lookupItems.At(0));
    EXPECT_EQ("Shipped", *column->lookupItems.At(1));
    EXPECT_EQ("", *column->lookupItems.At(2));
    EXPECT_EQ(nullptr, column->lookupItems.At(3));
    EXPECT_EQ(7, column->lookupItems.maxLength());
    EXPECT_TRUE(column->IsLookupByItems());
    EXPECT_TRUE(column->IsLookup());
    EXPECT_FALSE(column->IsLookupByTable());
}

// --- Columns and widths --------------------------------------------------------------------

TEST(StoreColumnTest, FlagsCarryKeyReadOnlyAndDisplayWidth) {
    CTable table("T", "", "");
    CColumn* key = AddColumn(&table, "A", 10, 4 * 30 + 1);
    EXPECT_TRUE(key->IsKey());
    EXPECT_FALSE(key->IsReadOnly());
    EXPECT_EQ(30, key->DisplayWidth());
    CColumn* readOnly = AddColumn(&table, "B", 10, 4 * 12 + 2);
    EXPECT_FALSE(readOnly->IsKey());
    EXPECT_TRUE(readOnly->IsReadOnly());
    EXPECT_EQ(12, readOnly->DisplayWidth());
    EXPECT_EQ(-1, AddColumn(&table, "C", 10, -4)->DisplayWidth()) << "the sign is kept";
}

TEST(StoreColumnTest, AbsentLabelFallsBackToTheName) {
    CTable table("T", "", "");
    CColumn* unlabelled = AddColumn(&table, "Name");
    EXPECT_EQ("Name", unlabelled->LabelOrName());
    CColumn* emptyLabel = table.AddColumn("Code", "", "", "", 0, 0, 0, 0);
    EXPECT_EQ("", emptyLabel->LabelOrName()) << "only an absent label is replaced";
}

TEST(StoreWidthsTest, EmptyDatabaseHasAllZero) {
    CDatabase db("A rather long database name");
    db.SetSchema("A long schema name", "A long schema type", "A long schema label");
    db.SetRoom("A long room name", "A long room type", "A long room label");
    db.ComputeWidths();
    EXPECT_EQ(0, db.nameWidth);
    EXPECT_EQ(0, db.typeWidth);
    EXPECT_EQ(0, db.labelWidth);
    EXPECT_EQ(0, db.dataTypeWidth);
    EXPECT_EQ(0, db.maxSize);
    EXPECT_EQ(0, db.keyCount);
}

TEST(StoreWidthsTest, StatisticsOverTablesAndColumns) {
    CDatabase db("D");
    CTable* a = db.AddTable("ACCOUNT", "Master", std::nullopt);
    a->AddColumn("ID", "Key", std::nullopt, "INTEGER", 4, 4 * 30 + 1, 0, 0);
    a->AddColumn("OWNER_NAME", "Normal", "Owner", "VARCHAR", 40, 4 * 30, 0, 0);
    a->AddColumn("BALANCE", "Normal", "Balance in cents", "NUMERIC", -100, 3, 15, 2);
    CTable* b = db.AddTable("X", "A very long table type", "Label of X");
    b->AddColumn("K", std::nullopt, std::nullopt, std::nullopt, -5, 1, 0, 0);

    EXPECT_EQ(0, db.nameWidth) << "nothing is computed before ComputeWidths";
    EXPECT_EQ(0, a->maxNameLen);
    db.ComputeWidths();

    EXPECT_EQ(40, a->maxSize);
    EXPECT_EQ(10, a->maxNameLen);
    EXPECT_EQ(6, a->maxTypeLen);
    EXPECT_EQ(16, a->maxLabelLen);
    EXPECT_EQ(7, a->maxDataTypeLen);
    EXPECT_EQ(2, a->keyCount) << "the display width alone does not make a key";

    EXPECT_EQ(0, b->maxSize) << "negative sizes never raise a maximum";
    EXPECT_EQ(0, b->maxTypeLen);
    EXPECT_EQ(1, b->keyCount);

    EXPECT_EQ(10, db.nameWidth);
    EXPECT_EQ(22, db.typeWidth) << "table types count";
    EXPECT_EQ(16, db.labelWidth);
    EXPECT_EQ(7, db.dataTypeWidth);
    EXPECT_EQ(40, db.maxSize);
    EXPECT_EQ(3, db.keyCount);

    // Widths reflect the store as of the last computation and are recomputed from scratch.
    CTable* c = db.AddTable("A_MUCH_LONGER_TABLE_NAME", "", "");
    c->AddColumn("Z", "", "", "", 9999, 1, 0, 0);
    EXPECT_EQ(10, db.nameWidth);
    db.ComputeWidths();
    EXPECT_EQ(24, db.nameWidth);
    EXPECT_EQ(9999, db.maxSize);
    EXPECT_EQ(4, db.keyCount);
    db.ComputeWidths();
    EXPECT_EQ(4, db.keyCount) << "a second computation does not add up again";
}

// --- Dump ----------------------------------------------------------------------------------

TEST(StoreDumpTest, ShowsEveryFieldAfterComputeWidths) {
    CDatabase db("SHOP");
    db.SetSchema("Sales", "Normal", std::nullopt);
    CTable* city = db.AddTable("CITY", "Master", "Cities");
    city->AddColumn("ID", "Key", std::nullopt, "INTEGER", 4, 4 * 6 + 1, 10, 0);
    city->AddColumn("NAME", "Normal", "City name", "VARCHAR", 30, 4 * 20 + 2, 0, 0);
    CTable* customer = db.AddTable("CUSTOMER", "Sub", std::nullopt);
    customer->AddColumn("CITY_ID", "RefTop", "City", "INTEGER", 4, 0, 10, 0);
    customer->AddColumn("KIND", "Normal", "", "CHAR", 1, 0, 0, 0);
    db.CreateRefTable("CUSTOMER", "CITY");
    db.AddRefColumn("CUSTOMER", "CITY", "ID", "CITY_ID");
    db.SetLookupTable("CUSTOMER", "CITY_ID", "CITY", "NAME", "ID");
    db.SetLookupItem("CUSTOMER", "KIND", std::string("Private"));
    db.SetLookupItem("CUSTOMER", "KIND", std::string("Firm \"Ltd\"\t\\"));
    db.ComputeWidths();

    EXPECT_EQ(
        "database \"SHOP\"\n"
        "room name=- type=- label=-\n"
        "schema name=\"Sales\" type=\"Normal\" label=-\n"
        "widths nameWidth=8 typeWidth=6 labelWidth=9 dataTypeWidth=7 maxSize=30 keyCount=1\n"
        "table 0 \"CITY\" type=\"Master\" label=\"Cities\"\n"
        "  widths maxSize=30 maxNameLen=4 maxTypeLen=6 maxLabelLen=9 maxDataTypeLen=7 "
        "keyCount=1\n"
        "  column 0 \"ID\" type=\"Key\" label=- dataType=\"INTEGER\" size=4 flags=25 "
        "[key disp=6] precision=10 scale=0\n"
        "  column 1 \"NAME\" type=\"Normal\" label=\"City name\" dataType=\"VARCHAR\" size=30 "
        "flags=82 [readonly disp=20] precision=0 scale=0\n"
        "table 1 \"CUSTOMER\" type=\"Sub\" label=-\n"
        "  widths maxSize=4 maxNameLen=7 maxTypeLen=6 maxLabelLen=4 maxDataTypeLen=7 "
        "keyCount=0\n"
        "  column 0 \"CITY_ID\" type=\"RefTop\" label=\"City\" dataType=\"INTEGER\" size=4 "
        "flags=0 [disp=0] precision=10 scale=0\n"
        "    lookup table=\"CITY\" column=\"NAME\" key=\"ID\"\n"
        "  column 1 \"KIND\" type=\"Normal\" label=\"\" dataType=\"CHAR\" size=1 flags=0 "
        "[disp=0] precision=0 scale=0\n"
        "    items maxLength=12\n"
        "      item 0 \"Private\"\n"
        "      item 1 \"Firm \\\"Ltd\\\"\\t\\\\\"\n"
        "  ref 0 table=\"CITY\" pairs=1\n"
        "    pair 0 ref=\"ID\" key=\"CITY_ID\"\n",
        DumpStore(&db));
}

TEST(StoreDumpTest, ControlBytesAreEscapedAndUtf8Kept) {
    CDatabase db(std::string("a\nb\r\x01\x7f\xC3\xA9", 8));
    EXPECT_EQ("database \"a\\nb\\r\\x01\\x7F\xC3\xA9\"\n", DumpStore(&db).substr(0, 28));
    EXPECT_EQ("no database\n", DumpStore(nullptr));
    CDatabase unnamed(std::nullopt);
    EXPECT_EQ(0u, DumpStore(&unnamed).find("database -\n"));
}

// --- Scale ---------------------------------------------------------------------------------

TEST(StoreScaleTest, TenThousandTablesOfFiftyColumnsByName) {
    // Filled the way the host does it: every column names its table. With linear look-ups this
    // would take minutes; with the indexes it is a fraction of a second.
    CDatabase db("BIG");
    constexpr int kTables = 10000, kColumns = 50;
    for (int t = 0; t < kTables; ++t) db.AddTable("TABLE_" + std::to_string(t), "Normal", "");
    for (int t = 0; t < kTables; ++t) {
        std::string tableName = "table_" + std::to_string(t);
        for (int c = 0; c < kColumns; ++c) {
            CTable* table = db.FindTable(tableName);
            ASSERT_TRUE(table);
            AddColumn(table, ("COLUMN_" + std::to_string(c)).c_str(), c);
        }
        if (t > 0) {
            std::string previous = "TABLE_" + std::to_string(t - 1);
            db.CreateRefTable(tableName, previous);
            db.AddRefColumn(tableName, previous, "COLUMN_0", "COLUMN_1");
        }
    }
    db.ComputeWidths();
    EXPECT_EQ(kTables, db.tables().count());
    EXPECT_EQ(16384, db.tables().capacity());
    EXPECT_EQ(64, db.TableAt(0)->columns().capacity());
    EXPECT_EQ(49, db.maxSize);
    CTable* last = db.FindTable("TABLE_9999");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->ColumnAt(49), last->FindColumn("column_49"));
    EXPECT_EQ(last->RefAt(0), last->FindRefByKeyColumn("COLUMN_1"));
    EXPECT_EQ(db.FindTable("TABLE_9998"), last->RefAt(0)->table);
}

}  // namespace
}  // namespace morva::tpx
