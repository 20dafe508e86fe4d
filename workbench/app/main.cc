// The workbench program: one instance per settings file, a splash while the windows are
// made, then the main window with the file named on the command line.

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "component/message_box.h"
#include "workbench/app/main_form.h"
#include "workbench/app/message_boxes.h"
#include "workbench/app/single_instance.h"
#include "workbench/app/splash_form.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Morva"));
    const QStringList arguments = QApplication::arguments();
    const QString startFile =
        arguments.size() > 1 ? QFileInfo(arguments[1]).absoluteFilePath() : QString();

    using namespace morva::app;
    if (SingleInstance::Forward(startFile)) return 0;
    SingleInstance instance;
    // Two starts at the same moment: the one that lost the name hands over after all.
    if (!instance.Listen() && SingleInstance::Forward(startFile)) return 0;

    // Messages raised by the engine and compiler components appear as workbench boxes.
    morva::com::SetMessageBoxHook([](const std::string& text, const std::string& caption,
                                     morva::com::MbIcon, morva::com::MbButtons buttons) {
        const QString message = QString::fromStdString(text);
        if (buttons == morva::com::MbButtons::YesNo ||
            buttons == morva::com::MbButtons::YesNoCancel)
            return static_cast<int>(Confirmation(message) == Answer::Yes ? morva::com::IDYES
                                                                         : morva::com::IDNO);
        InformationBox(message, QString::fromStdString(caption));
        return static_cast<int>(morva::com::IDOK);
    });

    TSplash splash;
    splash.show();
    QApplication::processEvents();
    TMainForm form;
    QObject::connect(&instance, &SingleInstance::Requested, &form,
                     &TMainForm::HandleInstanceRequest);
    splash.close();
    form.show();
    form.FormShow(startFile);
    return QApplication::exec();
}
