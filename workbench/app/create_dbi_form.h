#pragma once
// "Create Database Information": builds database information from a database alias (alias
// mode) or lets the user choose an ODBC data source and log in to it (ODBC mode).

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace morva::app {

class TPasswdForm;
class TSettings;

class TCreateDBIForm : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { None, Bde, Odbc };

    TCreateDBIForm(TSettings& settings, TPasswdForm& passwd, QWidget* parent = nullptr);

    /// Lists the aliases; on success they become the list and the mode becomes alias mode.
    /// When they cannot be listed, EngineAvailable is cleared and list and mode stay.
    void FillWithAliases();
    /// The data source names become the list; ODBC mode.
    void FillWithSources(const QStringList& sources);
    /// The selected entry, or empty.
    QString SelectedEntry() const;
    QString UserID() const;
    QString Password() const;

    /// Double click on an entry: builds from the alias, or logs in to the data source.
    void lbDatabaseDblClick();
    /// Builds the database information of the alias `name`; true when the dialog may close.
    bool CreateFromAlias(const QString& name);

    Mode CurrentMode = Mode::None;
    bool EngineAvailable = false;
    QLabel* lbCaption;
    QListWidget* lbDatabase;
    QPushButton* btOk;

  private:
    TSettings& settings_;
    TPasswdForm& passwd_;
};

}  // namespace morva::app
