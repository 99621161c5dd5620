#include "ui/SettingsStore.h"

#include "ui/StorageFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace ui {

IniSettingsStore::IniSettingsStore(const QString &path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
    // An empty file from the first start on, so that an operator who wants
    // to map a port ([Ports] Com1=...) finds where to write it.
    if (!QFileInfo::exists(path)) {
        ensureFolder(QFileInfo(path).absolutePath());
        QFile(path).open(QIODevice::WriteOnly);
    }
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::value(const QString &section, const QString &key) const {
    const QVariant v = m_settings->value(section + QLatin1Char('/') + key);
    // An unquoted value with commas ("9600,n,8,1" written by hand) comes back
    // as a list; it is still one setting.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

void IniSettingsStore::setValue(const QString &section, const QString &key, const QString &text) {
    m_settings->setValue(section + QLatin1Char('/') + key, text);
    m_settings->sync();
}

} // namespace ui
