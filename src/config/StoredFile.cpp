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
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace config
