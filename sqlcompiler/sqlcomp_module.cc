// Placeholder translation unit; the compiler component comes next.
namespace morva::sql {
const char* ModuleName() {
    return "Sqlcompiler";
}
}  // namespace morva::sql
