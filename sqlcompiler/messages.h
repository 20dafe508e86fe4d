#pragma once
// Every message text of the compiler, in one place. Formats take %s and %d only.

namespace morva::sql::msg {

inline constexpr const char* kCompiling = "%s compiling...";
inline constexpr const char* kUnableToOpen = "Fatal: Unable to open file %s\n";
inline constexpr const char* kSummary = "%d Errors, %d Warning";
inline constexpr const char* kFatalSummary = "%d Fatal Errors";
inline constexpr const char* kSyntaxError = "%s(%d): syntax error";
inline constexpr const char* kStackOverflow = "%s(%d): Compiler stack overflow, too big script";
inline constexpr const char* kIndexColumnNotFound =
    "%s(%d): Cannot found Index column(%s) in table %s";
inline constexpr const char* kTableNotFound = "%s(%d): Table %s not found";
inline constexpr const char* kRefColumnNotFound =
    "%s(%d): Warning error: Cannot find reference column(%s) in table(%s)";
inline constexpr const char* kUnexpected = "%s(%d): syntax error at %s, expected %s";
inline constexpr const char* kRefusedInput = "%s: %s";
inline constexpr const char* kTablesDetected = "%d table detected.";
inline constexpr const char* kTableName = "\t%s";
inline constexpr const char* kFail = "*** Fail ***";

inline constexpr const char* kMemoryText = "Insufficent memory";
inline constexpr const char* kMemoryCaption = "SQL parser";

inline constexpr const char* kOdbcCaption = "ODBC Error!";
inline constexpr const char* kOdbcNoDriver = "Cannot found ODBC driver";
inline constexpr const char* kOdbcNoDataSources = "Cannot found Data Source Name(s)\n";
inline constexpr const char* kOdbcNotAvailable = "ODBC is not available";
inline constexpr const char* kOdbcNoStatement = "Cannot allocate statement handle";
inline constexpr const char* kOdbcCannotClose = "ODBC Error: Cannot close statement handle";
inline constexpr const char* kOdbcDiagnostic = "%s: %s";
inline constexpr const char* kOdbcDone = "Database %s with %d tables created";
inline constexpr const char* kOdbcDoneCaption = "Morva ODBC Driver";

}  // namespace morva::sql::msg
