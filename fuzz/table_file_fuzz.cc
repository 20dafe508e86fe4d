// libFuzzer target: any bytes read as a table file. A file that reads writes back to the
// same bytes, since every field of the file is kept.

#include <string>

#include "fuzz/fuzz_support.h"
#include "sqlcompiler/table_file.h"
#include "sqlcompiler/table_file_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    std::string_view bytes = fuzz::AsText(data, size);
    sql::TableFile table;
    if (!sql::DecodeTableFile(bytes, &table)) return 0;
    std::string again = sql::EncodeTableFile(table);
    sql::TableFile back;
    fuzz::Require(sql::DecodeTableFile(again, &back));
    fuzz::Require(back == table);
    fuzz::Require(!sql::DumpTablesText({table}).empty());
    fuzz::Require(!sql::DumpTablesJson("fuzz", {table}).empty());
    return 0;
}
