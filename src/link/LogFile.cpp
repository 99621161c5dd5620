#include "link/LogFile.h"

#include <QCoreApplication>

namespace devicelink {

QString LogFile::open(const QString &path, bool append) {
    m_file.close();
    m_file.setFileName(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered |
                                     (append ? QIODevice::Append : QIODevice::Truncate);
    if (!m_file.open(mode))
        return m_file.errorString();
    return {};
}

QString LogFile::write(const QString &text) {
    if (!m_file.isOpen())
        return QCoreApplication::translate("devicelink::LogFile", "Bad file name or number");
    const QByteArray bytes = text.toLatin1();
    if (m_file.write(bytes) != bytes.size()) {
        const QString error = m_file.errorString();
        m_file.unsetError();
        return error;
    }
    return {};
}

} // namespace devicelink
