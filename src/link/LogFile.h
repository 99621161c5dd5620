#pragma once

#include <QFile>
#include <QString>

namespace devicelink {

// The terminal's log file: every text the terminal box shows is appended,
// unbuffered, so a failed write is seen at once.
class LogFile {
public:
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }
    // Opens for appending or replacing; returns the error's description.
    QString open(const QString &path, bool append);
    QString write(const QString &text);
    void close() { m_file.close(); }

private:
    QFile m_file;
};

} // namespace devicelink
