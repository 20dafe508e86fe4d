#include "component/hresult.h"

#include <cstdio>

namespace morva::com {

std::string StatusText(HRESULT hr) {
    switch (hr) {
        case S_OK:
            return "The operation completed successfully.";
        case S_FALSE:
            return "Incorrect function.";
        case E_NOTIMPL:
            return "Not implemented";
        case E_NOINTERFACE:
            return "No such interface supported";
        case E_POINTER:
            return "Invalid pointer";
        case E_FAIL:
            return "Unspecified error";
        case E_UNEXPECTED:
            return "Catastrophic failure";
        case E_OUTOFMEMORY:
            return "Not enough storage is available to complete this operation.";
        case E_INVALIDARG:
            return "The parameter is incorrect.";
        case CLASS_E_CLASSNOTAVAILABLE:
            return "ClassFactory cannot supply requested class";
        case CLASS_E_NOAGGREGATION:
            return "Class does not support aggregation";
        case CONNECT_E_NOCONNECTION:
            return "Connection point has no such connection";
        case DISP_E_MEMBERNOTFOUND:
            return "Member not found.";
        case DISP_E_BADPARAMCOUNT:
            return "Invalid number of parameters.";
        case DISP_E_TYPEMISMATCH:
            return "Type mismatch.";
        case SELFREG_E_CLASS:
            return "Error registering the class";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "Error 0x%08X", static_cast<unsigned>(hr));
    return buf;
}

}  // namespace morva::com
