#pragma once

#include <QString>

namespace ui {

// The folder that holds velmarcontroller.ini, RemoteIPVelmar.ini,
// settings.ini and automation.ini: C:\ini on Windows,
// $XDG_CONFIG_HOME/velmar-controller elsewhere.
QString storageFolder();

// Creates the folder when it is missing; false when it cannot be made.
bool ensureFolder(const QString &path);

// The program's files in its storage folder: the one place their names are
// put together.
class StoragePaths {
public:
    explicit StoragePaths(QString folder = storageFolder())
        : m_folder(std::move(folder)) {}

    QString folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }
    QString configuration() const;   // velmarcontroller.ini, the 35-line file
    QString siteList() const;        // RemoteIPVelmar.ini
    QString settings() const;        // settings.ini, the settings store
    QString automation() const;      // automation.ini: salvos, tours, alarms, schedules
    QString automationState() const; // automation-state: what ran when the program ended

private:
    QString m_folder;
};

} // namespace ui
