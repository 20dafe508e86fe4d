// libFuzzer target: any bytes read as a schema file. A file that reads writes back to bytes
// that read to the same schema.

#include <string>

#include "fuzz/fuzz_support.h"
#include "workbench/schema/schema.h"
#include "workbench/schema/schema_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace morva;
    schema::TSchema schema;
    if (!schema::TSchema::Decode(fuzz::AsText(data, size), &schema)) return 0;
    schema::TSchema back;
    fuzz::Require(schema::TSchema::Decode(schema.Encode(), &back));
    fuzz::Require(back == schema);
    fuzz::Require(!schema::DumpSchema(schema).empty());
    fuzz::Require(!schema::DumpSchemaJson(schema).empty());
    return 0;
}
