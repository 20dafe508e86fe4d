// Placeholder translation unit; the engine control and its entry points come next.
namespace morva::tpx {
const char* ModuleName() { return "Tpx"; }
}  // namespace morva::tpx
