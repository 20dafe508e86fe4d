#include "workbench/app/form_text.h"

#include <QFile>

namespace morva::app {

bool FormFileToText(const QString& path, QString* text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString());
        return false;
    }
    text->clear();
    *error = QStringLiteral("Cannot show form file %1: form file conversion is not available")
                 .arg(path);
    return false;
}

}  // namespace morva::app
