// libFuzzer target for schema files: any bytes are either rejected or read into a schema
// whose file reads back as the same schema. Not built by default; for example:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. fuzz/schema_fuzz.cc \
//     workbench/schema/schema.cc workbench/schema/ref_tables.cc \
//     workbench/schema/short_string.cc workbench/schema/database_infor.cc \
//     component/text_util.cc component/message_box.cc -o schema_fuzz

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "workbench/schema/schema.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    morva::schema::TSchema schema;
    if (!morva::schema::TSchema::Decode(bytes, &schema)) return 0;
    morva::schema::TSchema again;
    if (!morva::schema::TSchema::Decode(schema.Encode(), &again) || !(again == schema)) std::abort();
    return 0;
}
