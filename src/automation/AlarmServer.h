#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace automation {

class Automation;

// The running program's end of `velmar-controller --alarm N on|off`: a local
// socket in the user's runtime folder, in a folder of its own that only the
// user may enter (0700; the socket itself 0600). A client sends one line and
// gets one line back; a line too long, a client too slow, or one client too
// many is cut off. A socket left by a program that ended is replaced; one
// that a running program answers on is left to it.
class AlarmServer : public QObject {
    Q_OBJECT
public:
    static constexpr int maxClients = 16;
    static constexpr int clientTimeoutMs = 2000;

    explicit AlarmServer(Automation &automation, QObject *parent = nullptr);
    ~AlarmServer() override;

    // $XDG_RUNTIME_DIR/velmar-controller (as Qt finds the runtime folder).
    static QString defaultFolder();
    static QString socketPath(const QString &folder);

    // Starts listening in the folder (made when missing); the outcome comes
    // through stateChanged.
    void listen(const QString &folder = defaultFolder());
    bool isListening() const;
    QString state() const { return m_state; }

signals:
    // "listening on PATH", or why not; for the status bar's tooltip.
    void stateChanged(const QString &state);

private:
    void takeOver();
    void setState(const QString &state);
    void accept();
    void read(QLocalSocket *client);
    void drop(QLocalSocket *client);
    static void answer(QLocalSocket *client, const QByteArray &line);

    Automation &m_automation;
    QLocalServer *m_server = nullptr;
    QString m_path;
    QString m_state;
    QHash<QLocalSocket *, QByteArray> m_clients; // what each has sent so far
};

} // namespace automation
