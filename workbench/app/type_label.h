#pragma once
// The type and label dialog: a name with a type text and a label text, for a schema (the
// name must be new in its database), a table or a column (the name is shown, disabled).

#include <QDialog>

#include "workbench/app/global.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace morva::app {

class TTypeLabel : public QDialog {
    Q_OBJECT
  public:
    explicit TTypeLabel(TSettings& settings, QWidget* parent = nullptr);

    /// Schema mode: `database` is where the name must be new; `nameEnabled` false shows the
    /// name without letting it change (and without checking it).
    void PrepareSchema(const QString& database, const QString& name, const QString& label,
                       const QString& type, bool nameEnabled = true);
    /// Table mode and column mode: the name is shown disabled.
    void PrepareTable(const QString& name, const QString& type, const QString& label);
    void PrepareColumn(const QString& name, const QString& type, const QString& label);

    QString Name() const;
    QString Type() const;
    QString Label() const;

    /// Closes with OK when the name is disabled, or when it is not empty and no schema file
    /// of that name exists in the remembered database; otherwise says why and stays open.
    void btOkClick();

    QLabel* lbName;
    QLineEdit* neName;
    QLineEdit* neType;
    QLineEdit* neLabel;
    QPushButton* btOk;
    QPushButton* btCancel;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Prepare(const QString& caption, const QString& nameLabel, const QString& name,
                 const QString& type, const QString& label, bool nameEnabled);

    TSettings& settings_;
    QString database_;
};

}  // namespace morva::app
