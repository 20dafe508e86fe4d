// libFuzzer target: a database description built from the bytes (names drawn from a few
// spellings, so that duplicates, case variants, unknown references and lookups to missing
// columns are common), handed over through IMorva either as a schema of all its tables or as
// a schema read from the remaining bytes, then run with a script that walks every loop.
// Errors are expected; the hand-over must end with an exception or a consistent store.

#include <fuzzer/FuzzedDataProvider.h>

#include <exception>
#include <string>

#include "engine/host/cmorva.h"
#include "engine/store/store.h"
#include "fuzz/fuzz_support.h"
#include "workbench/schema/schema.h"

namespace {

using namespace morva;

std::string Name(FuzzedDataProvider& in) {
    static const char* const kNames[] = {"A", "a", "B", "b", "AB", "ab", "C", "", "A B", "Ä"};
    return kNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)];
}

std::string Text(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? Name(in) : in.ConsumeRandomLengthString(40);
}

schema::TDatabaseInfor MakeDatabase(FuzzedDataProvider& in) {
    schema::TDatabaseInfor db;
    db.Name = Name(in);
    int tables = in.ConsumeIntegralInRange(0, 6);
    for (int t = 0; t < tables; ++t) {
        int capacity = in.ConsumeIntegralInRange(0, 8);
        schema::TTableInfor table(capacity);
        table.TableName = Name(in);
        table.TableType = Text(in);
        table.TableLabel = Text(in);
        table.Selected = in.ConsumeBool() || in.ConsumeBool();
        int columns = in.ConsumeIntegralInRange(0, capacity + 1);
        for (int c = 0; c < columns; ++c) {
            schema::ColumnRecord* column =
                table.AddColumn(in.ConsumeBool() || in.ConsumeBool(), Name(in), Text(in), Text(in),
                                Text(in), in.ConsumeIntegral<int32_t>(),
                                in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                                in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>());
            if (!column) continue;
            if (in.ConsumeBool()) {
                column->LookupTable = Name(in);
                column->LookupColumn = Name(in);
                column->LookupKey = Name(in);
            }
            for (int i = in.ConsumeIntegralInRange(0, 3); i > 0; --i)
                column->LookupItems.push_back(Text(in));
        }
        for (int r = in.ConsumeIntegralInRange(0, 3); r > 0; --r) {
            std::string master = Name(in);
            table.RefTables.AddTable(master);
            for (int p = in.ConsumeIntegralInRange(0, 3); p > 0; --p)
                table.RefTables.AddPair(master, Name(in), Name(in));
        }
        db.Tables.push_back(std::move(table));
    }
    return db;
}

constexpr const char* kScript =
    "<TEXT><VAR> n </VAR><DATABASE> <SCHEMA> <TCOUNT>\n"
    "<TABLES><T> <TL> <TTYPE> <COUNT> <KEYCOUNT>\n"
    "<COLUMNS><LEFT><C><NORMAL> <L> <D> <SIZE> <DASDELPHI> <ISFOREIGNKEY>"
    "<IF> <ISPROCESSED> == 1 <THEN>p</IF> <LOOKUPTABLE> <LOOKUPCOLUMN> <LOOKUPKEY>"
    "<LOOKUPITEMS>'<LOOKUPITEM>'<ELLI>,</ELLI></LOOKUPITEMS>"
    "<REFCOLUMNS> <REFC><ELRC>;</ELRC></REFCOLUMNS><ELC>,</ELC>\n"
    "</COLUMNS><REFTABLES>: <REFCOLUMNS><REFT>.<REFC>=<FOREIGNKEY></REFCOLUMNS><ELRT>|</ELRT>"
    "</REFTABLES><EXPR> <$n> += <COUNT>; </EXPR><ELT>--</ELT>\n</TABLES><$n>\n</TEXT>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    schema::TDatabaseInfor db = MakeDatabase(in);
    std::unique_ptr<schema::TSchema> schema;
    if (in.ConsumeBool()) {
        schema = schema::TSchema::CreateFromDatabase(Name(in), Text(in), Text(in), db);
    } else {
        schema = std::make_unique<schema::TSchema>();
        std::string bytes = in.ConsumeRemainingBytesAsString();
        schema::TSchema::Decode(bytes, schema.get());
    }
    auto morva = tpx::NewMorva();
    try {
        schema->SendToEngine(*morva, db);
    } catch (const std::exception&) {
        // Refused part way: the engine keeps what it received, which must still run.
    }
    morva->InitDatabase();
    if (const tpx::CDatabase* store = tpx::AsCMorva(morva.get())->database()) {
        fuzz::Require(store->tables().count() <= static_cast<int32_t>(schema->Tables.size()));
    }
    morva->SetScript(std::string("handover.tpx"), std::string(kScript));
    fuzz::Require(tpx::AsCMorva(morva.get())->compiled());
    morva->RunScript();
    return 0;
}
