#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QTranslator;

namespace config {

// The texts beyond a language file's 32 captions (status bar, traffic window,
// messages, tooltips): a Qt translation with the base name of the chosen
// language file, beside it (Italiano.qm beside Italiano.lng), installed on
// the application while that language is in use, with Qt's own translation
// of its language where the system has one (the buttons of message boxes,
// the file dialogs). A language without one, English among them, shows the
// program's own English texts.
class Translations : public QObject {
    Q_OBJECT
public:
    explicit Translations(QObject *parent = nullptr);
    ~Translations() override;

    // Follows the language file at languageFile: installs its translation,
    // or drops the one in use when it has none. Choosing the same language
    // again changes nothing.
    void follow(const QString &languageFile);
    // The translation in use; empty while the texts are the built-in ones.
    QString file() const { return m_file; }
    // Where the translation of a language file lies: "lang/Italiano.qm" for
    // "lang/Italiano.lng".
    static QString translationOf(const QString &languageFile);

signals:
    // The texts have changed language; what is read through tr() from now on
    // is in the new one (windows also get QEvent::LanguageChange).
    void changed();
    // A translation that is there but cannot be loaded, and is not used.
    void notUsed(const QString &path, const QString &reason);

private:
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<QTranslator> m_qtTranslator;
    QString m_file;
};

} // namespace config
