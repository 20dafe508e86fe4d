#pragma once
// The realistic generator of the speed table: one Delphi unit per table with a record type,
// key and column lists, references and lookup lists, all written into "units.pas". The
// Jinja2 version (bench/jinja_units.py) writes the same bytes.

#include <string>

namespace morva::bench {

inline constexpr const char* kOutputName = "units.pas";

// One table's unit; the loops below wrap it in <TABLES>.
inline constexpr const char kUnitBody[] =
    "unit u<T>;\n"
    "{ <TL> (<TTYPE>) }\n"
    "interface\n"
    "type\n"
    "  T<T>Record = record\n"
    "<COLUMNS>\n"
    "    <LEFT><C><NORMAL>: <D>(<SIZE>); { <L><IF> <ISKEY> == 1 <THEN>, key</IF> }\n"
    "</COLUMNS>\n"
    "  end;\n"
    "const\n"
    "  <T>Keys = '<COLUMNS><IF> <ISKEY> == 1 <THEN><C>;</IF></COLUMNS>';\n"
    "  <T>Columns = '<COLUMNS><C><ELC>,</ELC></COLUMNS>';\n"
    "<REFTABLES>\n"
    "  { <REFT>: <REFCOLUMNS><FOREIGNKEY> = <REFC><ELRC>, </ELRC></REFCOLUMNS> }\n"
    "</REFTABLES>\n"
    "<COLUMNS>\n"
    "<IF> <ISLOOKUPBYITEMS> > 0 <THEN>\n"
    "  <C>Items: array of string = (<LOOKUPITEMS>'<LOOKUPITEM>'<ELLI>, </ELLI></LOOKUPITEMS>);\n"
    "</IF>\n"
    "</COLUMNS>\n"
    "<EXPR> <$n> += <COUNT>; </EXPR>\n"
    "implementation\n"
    "end.\n";

/// Every table's unit, one after the other.
inline std::string UnitLoop() {
    return std::string("<TABLES>\n") + kUnitBody + "</TABLES>\n";
}

/// The whole generator script.
inline std::string GeneratorScript() {
    return std::string("<TEXT><VAR> n </VAR>\n<CREATE>") + kOutputName + "</CREATE>\n" +
           UnitLoop() + "{ <$n> columns in <TCOUNT> tables }\n<CLOSE>\n</TEXT>\n";
}

/// The same units, each in a file of its own, "u" + the table's name + ".pas", as a
/// generator of a real application writes them.
inline std::string UnitFilesScript() {
    return std::string("<TEXT><VAR> n </VAR>\n<TABLES>\n<CREATE>u<T>.pas</CREATE>\n") + kUnitBody +
           "<CLOSE>\n</TABLES>\n</TEXT>\n";
}

}  // namespace morva::bench
