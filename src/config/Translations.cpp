#include "config/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace config {

Translations::Translations(QObject *parent)
    : QObject(parent) {}

Translations::~Translations() {
    // The translator leaves the application with this object (QTranslator's
    // own destructor removes it).
}

QString Translations::translationOf(const QString &languageFile) {
    const QFileInfo lng(languageFile);
    return lng.dir().filePath(lng.completeBaseName() + QStringLiteral(".qm"));
}

void Translations::follow(const QString &languageFile) {
    QString wanted;
    auto next = std::make_unique<QTranslator>();
    if (!languageFile.isEmpty()) {
        const QFileInfo qm(translationOf(languageFile));
        if (qm.exists()) {
            wanted = qm.absoluteFilePath();
            // The dialogs' loads apply the language in use again: the same
            // translation is not read again.
            if (wanted == m_file)
                return;
            if (!next->load(wanted)) {
                emit notUsed(wanted, tr("not a translation that can be loaded"));
                wanted.clear();
            }
        }
    }
    if (wanted == m_file)
        return;
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
    m_translator.reset();
    m_qtTranslator.reset();
    if (!wanted.isEmpty()) {
        // Qt's own texts first, so that the program's take precedence.
        auto qt = std::make_unique<QTranslator>();
        if (const QString language = next->language();
            !language.isEmpty() &&
            qt->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            m_qtTranslator = std::move(qt);
            QCoreApplication::installTranslator(m_qtTranslator.get());
        }
        m_translator = std::move(next);
        QCoreApplication::installTranslator(m_translator.get());
    }
    m_file = wanted;
    emit changed();
}

} // namespace config
