#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace sim {

// The switcher's serial port: a pseudo-terminal in raw mode whose slave side
// is offered to the panel through a symlink. The simulator keeps the slave
// open itself, so the line stays up while the panel closes and reopens it.
// The symlink is removed again when the line is destroyed.
class PtyLine : public QObject {
    Q_OBJECT
public:
    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    // Creates the pseudo-terminal and the symlink; the error's text, or empty.
    // An existing symlink (left by a simulator that was killed) is replaced;
    // anything else at that path is left alone and reported.
    QString open(const QString &linkPath);
    QString slaveName() const { return m_slaveName; }
    QString linkPath() const { return m_linkPath; }

    // Writes to the panel's side; false when not everything could be written
    // (the panel is not reading and the line's buffer is full).
    bool write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);
    // The line cannot be read any more; it is not watched from then on.
    void failed(const QString &description);

private:
    void onReadable();
    void close();

    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_slaveName;
    QString m_linkPath;
};

} // namespace sim
