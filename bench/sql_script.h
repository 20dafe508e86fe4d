#pragma once
// Generated SQL creation scripts for the compile benchmarks.

#include <string>

namespace morva::bench {

// One table of eight columns, followed by twenty inserts; table `t` refers to table t - 1.
inline std::string SqlTable(int t) {
    std::string s;
    std::string name = "TABLE_" + std::to_string(t);
    s += "CREATE TABLE " + name + " ( /* Table " + std::to_string(t) + " */\n";
    s += "  ID INTEGER NOT NULL PRIMARY KEY,\n  NAME VARCHAR(40), /* Name */\n";
    s += "  PRICE NUMERIC(15,2) DEFAULT 0 CHECK (PRICE >= 0),\n  CREATED TIMESTAMP,\n";
    s += "  STATUS CHAR(1), /* Status\n    A=Active\n    I=Inactive */\n";
    s += "  NOTES BLOB SUB_TYPE TEXT SEGMENT SIZE 80,\n  PARENT_ID INTEGER,\n";
    s += "  TOTAL COMPUTED BY (PRICE * 2),\n";
    if (t > 0)
        s += "  FOREIGN KEY (PARENT_ID) REFERENCES TABLE_" + std::to_string(t - 1) + " (ID),\n";
    s += "  UNIQUE (NAME)\n);\n";
    for (int i = 0; i < 20; ++i)
        s += "INSERT INTO " + name + " (ID, NAME, PRICE) VALUES (" + std::to_string(i) +
             ", 'Item number " + std::to_string(i) + "', 12.50);\n";
    s += "CREATE INDEX IX_" + name + " ON " + name + " (CREATED);\nCOMMIT;\n";
    return s;
}

// About `megabytes` MB of script: tables with runs of inserts between them, as real database
// dumps have.
inline std::string SqlScript(int megabytes) {
    std::string s;
    size_t target = static_cast<size_t>(megabytes) << 20;
    for (int t = 0; s.size() < target; ++t) s += SqlTable(t);
    return s;
}

// A script of `tables` tables.
inline std::string SqlScriptOfTables(int tables) {
    std::string s;
    for (int t = 0; t < tables; ++t) s += SqlTable(t);
    return s;
}

// One table of `columns` integer columns: the largest table a script can describe.
inline std::string WideTableScript(int columns) {
    std::string s = "CREATE TABLE WIDE (\n";
    for (int c = 0; c < columns; ++c)
        s += "  C" + std::to_string(c) + (c + 1 < columns ? " INTEGER,\n" : " INTEGER\n");
    return s + ");\n";
}

}  // namespace morva::bench
