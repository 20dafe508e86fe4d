#pragma once
// Generated SQL creation scripts for the compile benchmarks.

#include <string>

namespace morva::bench {

// About `megabytes` MB of script: tables of eight columns, each followed by twenty inserts.
inline std::string SqlScript(int megabytes) {
    std::string s;
    size_t target = static_cast<size_t>(megabytes) << 20;
    for (int t = 0; s.size() < target; ++t) {
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
    }
    return s;
}

}  // namespace morva::bench
