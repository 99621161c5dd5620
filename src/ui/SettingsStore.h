#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <utility>

class QSettings;

namespace ui {

// The user's settings store: text values by section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // A key that was never written reads as empty text.
    virtual QString value(const QString &section, const QString &key) const = 0;
    virtual void setValue(const QString &section, const QString &key, const QString &text) = 0;
    // Every key and value of a section, its name and the keys' written as
    // they stand, the section found without regard to case ("[ports]").
    using Entries = QList<std::pair<QString, QString>>;
    virtual Entries entries(const QString &section) const = 0;
};

// settings.ini in the storage folder, INI groups as sections.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(const QString &path);
    ~IniSettingsStore() override;

    QString value(const QString &section, const QString &key) const override;
    void setValue(const QString &section, const QString &key, const QString &text) override;
    Entries entries(const QString &section) const override;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace ui
