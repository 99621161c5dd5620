#include "config/Localiser.h"

#include "config/Captions.h"
#include "config/LanguageFile.h"
#include "config/StoredFile.h"

#include <QObject>

namespace config {

std::optional<QStringList> Localiser::read(const QString &path, QString *whyNot) {
    if (path.isEmpty())
        return std::nullopt;
    // Its 32 lines and no more; a lone LF is part of a caption.
    const StoredFile::Contents contents =
        StoredFile(path).load({LanguageFile::captionCount, false});
    if (whyNot)
        *whyNot = contents.reason;
    if (contents.presence != StoredFile::Presence::Readable)
        return std::nullopt;
    return LanguageFile::captions(contents.bytes);
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
