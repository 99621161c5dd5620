#include "config/UnreadableFiles.h"

#include <QFileInfo>

namespace config {

void UnreadableFiles::note(const QString &path, const QString &reason) {
    const QString key = path + QLatin1Char('\n') + reason;
    if (m_noted.contains(key))
        return;
    m_noted.insert(key);
    // The name alone: the note shares one line of the status bar.
    emit reported(tr("%1 not used, left as it is: %2").arg(QFileInfo(path).fileName(), reason));
}

} // namespace config
