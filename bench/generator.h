#pragma once
// The realistic generator of the speed table: one Delphi unit per table with a record type,
// key and column lists, references and lookup lists, all written into "units.pas". The
// Jinja2 version (bench/jinja_units.py) writes the same bytes.

#include <string>

namespace morva::bench {

inline constexpr const char* kOutputName = "units.pas";

inline constexpr const char kUnitLoop[] =
    "<TABLES>\n"
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
    "end.\n"
    "</TABLES>\n";

/// The whole generator script.
inline std::string GeneratorScript() {
    return std::string("<TEXT><VAR> n </VAR>\n<CREATE>") + kOutputName + "</CREATE>\n" + kUnitLoop +
           "{ <$n> columns in <TCOUNT> tables }\n<CLOSE>\n</TEXT>\n";
}

}  // namespace morva::bench
