#pragma once
// The main window's parts as a user meets them, for the tests and the screen renderer:
// commands, menus and panels by their object names, dialogs and the run window by their type.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QString>

#include "workbench/app/main_form.h"

namespace morva::app {

/// The one child of `form` of type T (named `name` when given), or null.
template <class T>
T* Part(const TMainForm& form, const QString& name = {}) {
    return form.findChild<T*>(name);
}

/// The command named `name` ("mmFSave", ...).
inline QAction* Command(const TMainForm& form, const char* name) {
    return Part<QAction>(form, QLatin1String(name));
}

/// Status bar panel `index`: 0 caret position, 1 "Modified", 2 the schema.
inline QLabel* StatusPanel(const TMainForm& form, int index) {
    return Part<QLabel>(form, QStringLiteral("ssBarPanel%1").arg(index));
}

}  // namespace morva::app
