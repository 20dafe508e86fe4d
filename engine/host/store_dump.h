#pragma once
// Canonical text form of the schema store, for tests and diagnostics.

#include <string>

namespace morva::tpx {

class CDatabase;

/// The whole store as text, one element per line, children indented by two blanks:
///
///   database "SHOP"
///   room name=- type=- label=-
///   schema name="S" type="Normal" label=-
///   widths nameWidth=8 typeWidth=6 labelWidth=9 dataTypeWidth=7 maxSize=40 keyCount=1
///   table 0 "CUSTOMER" type="Master" label="Customers"
///     widths maxSize=40 maxNameLen=4 maxTypeLen=3 maxLabelLen=0 maxDataTypeLen=7 keyCount=1
///     column 0 "ID" type="Key" label=- dataType="INTEGER" size=4 flags=121 [key disp=30]
///         precision=0 scale=0                      (one line in the output)
///       lookup table="CITY" column="NAME" key="ID"
///       items maxLength=5
///         item 0 "Paris"
///     ref 0 table="ORDERS" pairs=1
///       pair 0 ref="ID" key="CUST_ID"
///
/// Texts are quoted with \" \\ \t \n \r and \xNN escapes for control bytes; an absent text is
/// "-". The lookup line appears when any link is set, the items block when there are items.
/// Widths are printed as stored, so dump after ComputeWidths to see current ones. A null
/// database dumps as "no database".
std::string DumpStore(const CDatabase* database);

}  // namespace morva::tpx
