#include "config/Localiser.h"

#include "config/Captions.h"
#include "config/LanguageFile.h"
#include "config/StoredFile.h"

#include <QObject>

namespace config {

std::optional<QStringList> Localiser::read(const QString &path) {
    if (path.isEmpty())
        return std::nullopt;
    // Its 32 lines and no more; a lone LF is part of a caption.
    const std::optional<QByteArray> bytes =
        StoredFile(path).read({LanguageFile::captionCount, 1024, false});
    if (!bytes)
        return std::nullopt;
    return LanguageFile::captions(*bytes);
}

void Localiser::relabel(const QStringList &captions, const char *window,
                        const QList<QObject *> &controls) {
    for (int i = 0; i < captions.size(); ++i) {
        const LanguageFile::Slot &slot = LanguageFile::table[i];
        if (qstrcmp(slot.window, window) != 0)
            continue;
        for (QObject *control : controls) {
            if (control && control->objectName() == QLatin1String(slot.control))
                setCaption(control, captions[i]);
        }
    }
}

} // namespace config
