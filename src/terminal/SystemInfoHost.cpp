#include "terminal/SystemInfoHost.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace terminal {

bool NativeSystemInfoHost::queryValue(quint32 root, const QString &key, const QString &valueName,
                                      quint32 &type, QByteArray &data) {
#ifdef Q_OS_WIN
    HKEY handle = nullptr;
    // Read access is all a lookup needs; asking for write access to the
    // machine-wide keys fails for every user who is not an administrator.
    if (RegOpenKeyExA(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)),
                      key.toLocal8Bit().constData(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    QByteArray buffer(1024, '\0');
    DWORD valueType = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG result =
        RegQueryValueExA(handle, valueName.toLocal8Bit().constData(), nullptr, &valueType,
                         reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return false;
    type = valueType;
    data = buffer.left(static_cast<qsizetype>(size));
    return true;
#else
    Q_UNUSED(root);
    Q_UNUSED(key);
    Q_UNUSED(valueName);
    Q_UNUSED(type);
    Q_UNUSED(data);
    return false;
#endif
}

bool NativeSystemInfoHost::fileExists(const QString &path) {
    return QFileInfo(path).isFile();
}

bool NativeSystemInfoHost::start(const QString &program) {
    return QProcess::startDetached(program, {});
}

QString NativeSystemInfoHost::hostTool() {
#if defined(Q_OS_WIN)
    const char *const tools[] = {"msinfo32"};
#elif defined(Q_OS_MACOS)
    const QString macTool = QStringLiteral(
        "/System/Applications/Utilities/System Information.app/Contents/MacOS/System Information");
    return fileExists(macTool) ? macTool : QString();
#else
    const char *const tools[] = {"hardinfo2", "hardinfo", "kinfocenter", "lshw-gtk"};
#endif
#ifndef Q_OS_MACOS
    for (const char *tool : tools) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty())
            return path;
    }
    return {};
#endif
}

} // namespace terminal
