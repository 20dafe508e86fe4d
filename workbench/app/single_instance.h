#pragma once
// Keeps one workbench per settings file: a second start hands its file argument to the
// running instance over a local socket and ends.

#include <QObject>
#include <QString>

class QLocalServer;

namespace morva::app {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);

    /// The socket name: the title "Morva 1.00", the user and the settings file.
    static QString ServerName();

    /// Asks a running instance to come to the front and open `fileName` (absolute, or empty).
    /// True when one answered; this instance should then end.
    static bool Forward(const QString& fileName, int timeoutMs = 3000);

    /// Starts answering later starts; a socket left behind by a crashed instance is replaced.
    /// False when another live instance holds the name.
    bool Listen();

  signals:
    /// A later start asked to come to the front and to open `fileName` (may be empty).
    void Requested(const QString& fileName);

  private:
    void Serve();
    QLocalServer* server_;
};

}  // namespace morva::app
