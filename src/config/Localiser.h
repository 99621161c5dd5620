#pragma once

#include <QHash>
#include <QString>

class QWidget;

namespace config {

// Applies language files: the main window's captions at once, the dialogs'
// captions kept so that each dialog gets them whenever it loads.
class Localiser {
public:
    explicit Localiser(QWidget &mainWindow)
        : m_main(mainWindow) {}

    // Applies the file to the main window and remembers the dialogs' lines.
    // A file that cannot be read changes nothing and returns false; lines
    // missing from a short file leave their captions as they were.
    bool apply(const QString &path);
    // Gives a dialog (found by its objectName) the captions of the last file.
    void applyTo(QWidget *dialog) const;

private:
    QWidget &m_main;
    QHash<QString, QString> m_dialogCaptions; // "frmProperties/Label1" -> caption
};

} // namespace config
