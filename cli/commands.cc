#include <array>

#include "cli/cli.h"
#include "cli/handlers.h"

namespace morva::cli {

std::span<const Command> Commands() {
    static const std::array<Command, 10> commands{{
        {"compile", "SCRIPT [--dump]",
         "Compile a template script only and print the engine log; --dump also prints the "
         "compiled program.",
         CompileCommand},
        {"lint", "[--check NAME]... [--ignore NAME]... SCRIPT...",
         "Read each template script as the compiler does and print what is likely a mistake "
         "as FILE:LINE:COLUMN: warning: MESSAGE [CHECK]: a word in angle brackets that is "
         "close to a tag, a tag that clashes with the markup the script generates, a variable "
         "never used or tested before it is set, a file never closed or closed twice, a "
         "separator block in the wrong loop, and the compiler's errors and warnings. --check "
         "runs only the checks named, --ignore skips them; a line \"<COMMENT> lint: ignore "
         "CHECK\" silences one finding on the line after it. Exits 1 when there are findings.",
         LintCommand},
        {"run", "SCRIPT --db DB [--schema S] [--lf] [--check | --diff | --prune]",
         "Hand the schema S of database DB (without --schema: every table and column) to the "
         "engine, compile SCRIPT and run it into the output folder; print the engine log. A "
         "file whose text did not change is left alone; a changed one is replaced at once. "
         "Lines between MORVA-KEEP-BEGIN name and MORVA-KEEP-END name are kept from the file "
         "on disk. --check writes nothing and prints 'create NAME', 'change NAME' or 'stale "
         "NAME' for each file a run would change, exiting 1 unless all is up to date (the log "
         "goes to standard error); --diff prints a unified diff instead; --prune also deletes "
         "files this script generated before and no longer generates. An unknown database or "
         "schema is bad usage, with the names there are.",
         RunCommand},
        {"sql", "[--dialect classic|auto] DB FILE... [--fresh]",
         "Build the database information DB from SQL scripts. --dialect auto reads the "
         "creation scripts of PostgreSQL, MySQL and MariaDB, SQLite, Oracle, SQL Server and "
         "Firebird 3 or later; classic (the default) reads the classic dialect. Table files of "
         "an existing DB that the scripts do not define are kept and named on standard error; "
         "--fresh removes them (the schemas are kept).",
         SqlCommand},
        {"odbc", "--list | DSN [--user U] [--password-stdin]",
         "List ODBC data sources, or build database information from the data source DSN.",
         OdbcCommand},
        {"schema", "create DB S [--type T] [--label L] [--table NAME]... [--replace] | list DB",
         "Create a schema of database DB (all tables when none is named), or list its schemas. "
         "An existing schema is replaced only with --replace, since that drops the choices "
         "made in it since. An unknown database is bad usage, with the names there are.",
         SchemaCommand},
        {"dump", "DB [S] [--json]",
         "Show database information, or the schema S, as text or JSON. The database's JSON "
         "also holds its schemas, and `import` reads it back. An unknown database or schema is "
         "bad usage, with the names there are.",
         DumpCommand},
        {"import", "DB FILE.json [--replace] [--keep-dangling]",
         "Build the database information DB and its schemas from FILE.json, as `dump DB --json` "
         "writes it. The whole file is checked first; a problem is named with its JSON path "
         "(or its line and column) and nothing is written. An existing database is replaced "
         "only with --replace, since that drops every table and schema it holds. A reference "
         "to a table or column that the model lacks is refused unless --keep-dangling is "
         "given; the SQL reader records references as the scripts state them, so a database "
         "built from scripts may hold such references.",
         ImportCommand},
        {"dfm", "SOURCE [TARGET] | --text FILE.DFM",
         "Convert a text form file to a binary form file, or print a binary form file as text.",
         DfmCommand},
        {"alias", "list | tables A | build A [--table NAME]...",
         "List database aliases, the tables of alias A, or build database information from A.",
         AliasCommand},
    }};
    return commands;
}

}  // namespace morva::cli
