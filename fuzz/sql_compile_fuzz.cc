// libFuzzer target: any bytes compiled as an SQL script. Every problem must end as a counted
// message; every table of the model must make a table file that reads back to itself.

#include <string>

#include "fuzz/fuzz_support.h"
#include "sqlcompiler/compilation.h"
#include "sqlcompiler/table_file.h"
#include "sqlcompiler/table_writer.h"
#include "sqlcompiler/testing/model_dump.h"
#include "sqlcompiler/testing/parse_script_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    sql::Compilation compilation;
    compilation.SetReporter([](int32_t, const std::string&) {});
    compilation.ResetCompilation("fuzz.sql");
    sql::testing::ParseScriptText(compilation, fuzz::AsText(data, size));
    sql::testing::DumpModel(compilation.model());
    for (const auto& table : compilation.model().tables) {
        std::string bytes = sql::EncodeTableFile(sql::ToTableFile(*table));
        sql::TableFile back;
        fuzz::Require(sql::DecodeTableFile(bytes, &back));
        fuzz::Require(sql::EncodeTableFile(back) == bytes);
    }
    return 0;
}
