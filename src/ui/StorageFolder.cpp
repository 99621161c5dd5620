#include "ui/StorageFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace ui {

QString storageFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:/ini");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmar-controller");
#endif
}

bool ensureFolder(const QString &path) {
    return QDir().mkpath(path);
}

} // namespace ui

namespace ui {

QString StoragePaths::configuration() const {
    return QDir(m_folder).filePath(QStringLiteral("velmarcontroller.ini"));
}

QString StoragePaths::siteList() const {
    return QDir(m_folder).filePath(QStringLiteral("RemoteIPVelmar.ini"));
}

QString StoragePaths::settings() const {
    return QDir(m_folder).filePath(QStringLiteral("settings.ini"));
}

QString StoragePaths::automation() const {
    return QDir(m_folder).filePath(QStringLiteral("automation.ini"));
}

QString StoragePaths::automationState() const {
    return QDir(m_folder).filePath(QStringLiteral("automation-state"));
}

} // namespace ui
