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

namespace {
// An unquoted value with commas ("9600,n,8,1" written by hand) comes back as
// a list; it is still one setting.
QString text(const QVariant &v) {
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
} // namespace

QString IniSettingsStore::value(const QString &section, const QString &key) const {
    return text(m_settings->value(section + QLatin1Char('/') + key));
}

SettingsStore::Entries IniSettingsStore::entries(const QString &section) const {
    Entries out;
    const QStringList groups = m_settings->childGroups();
    for (const QString &group : groups) {
        if (group.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        m_settings->beginGroup(group);
        const QStringList keys = m_settings->childKeys();
        for (const QString &key : keys)
            out.append({key, text(m_settings->value(key))});
        m_settings->endGroup();
    }
    return out;
}

void IniSettingsStore::setValue(const QString &section, const QString &key, const QString &text) {
    m_settings->setValue(section + QLatin1Char('/') + key, text);
    m_settings->sync();
}

} // namespace ui
