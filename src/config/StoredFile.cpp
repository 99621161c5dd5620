#include "config/StoredFile.h"

#include "ui/StorageFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace config {

std::optional<QByteArray> StoredFile::read() const {
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

bool StoredFile::replace(const QByteArray &bytes) const {
    ui::ensureFolder(QFileInfo(m_path).absolutePath());
    // Unbuffered, so that a write the disk refuses (full, over quota) fails
    // here: a buffered one "succeeds" into the buffer, and the commit would
    // then rename a short temporary file over the whole old one.
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (f.write(bytes) != bytes.size() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace config
