#pragma once
// "Enter UserID & Password": the login for an ODBC data source. The password is held by the
// field only; it is never stored or written anywhere.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace morva::app {

class TPasswdForm : public QDialog {
    Q_OBJECT
  public:
    explicit TPasswdForm(QWidget* parent = nullptr);

    void SetDatabase(const QString& name);
    QString Database() const;
    QString UserID() const;
    QString Password() const;

    QLineEdit *neDatabase, *neUserID, *nePassword;
    QPushButton *btOk, *btCancel;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace morva::app
