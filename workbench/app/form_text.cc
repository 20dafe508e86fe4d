#include "workbench/app/form_text.h"

#include <string>

#include "workbench/formfile/formfile.h"

namespace morva::app {

bool FormFileToText(const QString& path, QString* text, QString* error) {
    std::string converted, reason;
    if (!formfile::ReadFormFileAsText(path.toStdString(), &converted, &reason)) {
        *error = QString::fromStdString(reason);
        return false;
    }
    *text = QString::fromStdString(converted);
    return true;
}

}  // namespace morva::app
