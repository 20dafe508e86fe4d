#pragma once
// The splash window shown while the workbench starts; with its OK button it is the About box.

#include <QDialog>

class QPushButton;

namespace morva::app {

class TSplash : public QDialog {
    Q_OBJECT
  public:
    explicit TSplash(QWidget* parent = nullptr);
    QPushButton* btOk;
};

}  // namespace morva::app
