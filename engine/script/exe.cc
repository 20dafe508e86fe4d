#include "engine/script/exe.h"

#include "engine/script/compiler.h"

namespace morva::tpx {

void Exe::Compile() {
    morva::tpx::Compile(emitter_);
}

}  // namespace morva::tpx
