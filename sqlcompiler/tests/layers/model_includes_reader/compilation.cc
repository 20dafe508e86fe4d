#include "sqlcompiler/compilation.h"
#include "sqlcompiler/keywords.h"
