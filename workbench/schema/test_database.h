#pragma once
// A small order database shared by the schema library's tests.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "workbench/schema/database_infor.h"

namespace morva::schema::testing {

/// CUSTOMER (3 columns) and ORDERS (4 columns, referring to CUSTOMER), all selected.
inline TDatabaseInfor OrderDatabase() {
    TDatabaseInfor db;
    db.Name = "SHOP";
    TTableInfor customer(3);
    customer.TableName = "CUSTOMER";
    customer.TableType = "Master";
    customer.TableLabel = "Customers";
    customer.AddColumn(true, "CUST_NO", "Key", "Number", "INTEGER", 0, 10, kColumnKey, 0, 0);
    customer.AddColumn(true, "NAME", "Normal", "Name", "VARCHAR", 40, 40, 0, 0, 0);
    ColumnRecord* kind = customer.AddColumn(true, "KIND", "Normal", "Kind", "CHAR", 1, 1, 0, 0, 0);
    kind->LookupItems = {"A", "B"};
    TTableInfor orders(4);
    orders.TableName = "ORDERS";
    orders.TableType = "Sub";
    orders.TableLabel = "Orders";
    orders.AddColumn(true, "ORDER_NO", "Key", "Order", "INTEGER", 0, 25, kColumnKey, 0, 0);
    orders.AddColumn(true, "CUST_NO", "RefTop", "Customer", "INTEGER", 0, 10, 0, 0, 0);
    orders.AddColumn(true, "TOTAL", "Normal", "Total", "NUMERIC", 10, 12, kColumnReadOnly, 10, 2);
    orders.AddColumn(true, "NOTE", "Normal", "", "VARCHAR", 80, 80, 0, 0, 0);
    orders.RefTables.AddTable("CUSTOMER");
    orders.RefTables.AddPair("CUSTOMER", "CUST_NO", "CUST_NO");
    db.Tables.push_back(std::move(customer));
    db.Tables.push_back(std::move(orders));
    return db;
}

/// A fresh empty folder below the system's temporary folder, removed by the destructor.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "morva-schema-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace morva::schema::testing
