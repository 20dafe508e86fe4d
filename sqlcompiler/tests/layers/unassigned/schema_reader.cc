#include "sqlcompiler/model.h"
