#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace terminal {

// What the about box needs from the operating system to start its
// system-information tool: registry values, a file test and a launcher.
class SystemInfoHost {
public:
    // The registry root that both lookups use.
    static constexpr quint32 localMachine = 0x80000002u;
    // Registry value types the about box reads.
    static constexpr quint32 stringValue = 1;
    static constexpr quint32 numberValue = 4;

    virtual ~SystemInfoHost() = default;

    // Reads one value of a key into at most 1024 bytes: its type and the
    // bytes as the registry returns them. False when the key or the value
    // cannot be read.
    virtual bool queryValue(quint32 root, const QString &key, const QString &valueName,
                            quint32 &type, QByteArray &data) = 0;
    virtual bool fileExists(const QString &path) = 0;
    // Starts a program in a normal window with the focus; false on failure.
    virtual bool start(const QString &program) = 0;
    // The host's own system-information tool where the registry names none;
    // empty when none is installed.
    virtual QString hostTool() = 0;
};

// The running system: the registry on Windows (which elsewhere has no
// values), and on every system the first installed tool of its own kind.
class NativeSystemInfoHost : public SystemInfoHost {
public:
    bool queryValue(quint32 root, const QString &key, const QString &valueName, quint32 &type,
                    QByteArray &data) override;
    bool fileExists(const QString &path) override;
    bool start(const QString &program) override;
    QString hostTool() override;
};

} // namespace terminal
