#include "sqlcompiler/script_reader.h"

#include <new>

#include "sqlcompiler/auto_reader.h"
#include "sqlcompiler/compilation.h"

namespace morva::sql {
namespace {

void Parse(Compilation& c) {
    try {
        if (c.dialect == Dialect::kAuto) {
            RunAutoReader(c);
        } else {
            RunParser(c);
        }
    } catch (const std::bad_alloc&) {
        c.ReportMemoryError();
    }
}

}  // namespace

bool CompileScript(Compilation& compilation) {
    if (!compilation.OpenScript()) return false;
    Parse(compilation);
    return compilation.CloseScript();
}

void ParseScriptText(Compilation& compilation, std::string_view text) {
    compilation.OpenText(text);
    Parse(compilation);
    compilation.CloseText();
}

}  // namespace morva::sql
