#include "config/Localiser.h"

#include "config/Captions.h"
#include "config/LanguageFile.h"

#include <QFile>
#include <QMainWindow>
#include <QMenuBar>

namespace config {

namespace {
// The main window's controls live in its central widget and its menu bar;
// the dialogs it owns are searched separately, by their own names.
QObject *mainControl(QWidget &main, const QString &name) {
    if (auto *window = qobject_cast<QMainWindow *>(&main)) {
        if (QWidget *central = window->centralWidget()) {
            if (QObject *c = central->findChild<QObject *>(name))
                return c;
        }
        return window->menuBar()->findChild<QAction *>(name);
    }
    return main.findChild<QObject *>(name);
}
} // namespace

bool Localiser::apply(const QString &path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QStringList captions = LanguageFile::captions(file.readAll());
    for (int i = 0; i < captions.size(); ++i) {
        const LanguageFile::Slot &slot = LanguageFile::table[i];
        const QString control = QLatin1String(slot.control);
        if (qstrcmp(slot.window, "frmTerminal") == 0)
            setCaption(mainControl(m_main, control), captions[i]);
        else
            m_dialogCaptions[QLatin1String(slot.window) + QLatin1Char('/') + control] = captions[i];
    }
    return true;
}

void Localiser::applyTo(QWidget *dialog) const {
    const QString prefix = dialog->objectName() + QLatin1Char('/');
    for (auto it = m_dialogCaptions.begin(); it != m_dialogCaptions.end(); ++it) {
        if (it.key().startsWith(prefix))
            setCaption(dialog->findChild<QObject *>(it.key().mid(prefix.size())), it.value());
    }
}

} // namespace config
