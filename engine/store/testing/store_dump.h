#pragma once
// Canonical text form of the schema store, for tests that compare a store with its expected text.

#include <string>

namespace morva::tpx {

class CDatabase;

/// The whole store as text, one element per line, children indented by two blanks. Each
/// column is one line (shown folded here):
///
///   database "SHOP"
///   room name=- type=- label=-
///   schema name="S" type="Normal" label=-
///   widths nameWidth=8 typeWidth=6 labelWidth=9 dataTypeWidth=7 maxSize=40 keyCount=1
///   table 0 "CUSTOMER" type="Master" label="Customers"
///     widths maxSize=40 maxNameLen=4 maxTypeLen=3 maxLabelLen=0 maxDataTypeLen=7 keyCount=1
///     column 0 "ID" type="Key" label=- dataType="INTEGER" size=4 flags=121 [key disp=30]
///           precision=0 scale=0
///       lookup table="CITY" column="NAME" key="ID"
///       items maxLength=5
///         item 0 "Paris"
///     ref 0 table="ORDERS" pairs=1
///       pair 0 ref="ID" key="CUST_ID"
///
/// Texts are quoted, with \" \\ \t \n \r and \xNN escapes for quotes, backslashes and
/// control bytes; other bytes (UTF-8) are kept. An absent text shows as "-". A lookup line
/// appears when a lookup link is set, an items block when there are lookup items. The flags
/// are followed by what they pack. Widths are shown as stored: dump after ComputeWidths to see
/// current ones. A null database dumps as "no database".
std::string DumpStore(const CDatabase* database);

}  // namespace morva::tpx
