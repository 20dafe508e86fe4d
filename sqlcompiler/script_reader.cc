#include "sqlcompiler/script_reader.h"

#include <new>

#include "sqlcompiler/auto_reader.h"
#include "sqlcompiler/compilation.h"

namespace morva::sql {

void ParseInput(Compilation& c) {
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

bool CompileScript(Compilation& compilation) {
    if (!compilation.OpenScript()) return false;
    ParseInput(compilation);
    return compilation.CloseScript();
}

}  // namespace morva::sql
