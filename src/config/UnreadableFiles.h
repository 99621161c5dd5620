#pragma once

#include <QObject>
#include <QSet>

namespace config {

// The stored and language files that are there but were not used (past the
// readers' bounds, not a regular file, not permitted), each named once with
// the reason; the main window shows it on its status bar, without a box:
// the file was read in the background, not at the operator's request.
class UnreadableFiles : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A file that was not read, and why; the same file for the same reason
    // is reported once.
    void note(const QString &path, const QString &reason);

signals:
    void reported(const QString &message);

private:
    QSet<QString> m_noted;
};

} // namespace config
