#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>

class QAction;
class QComboBox;
class QLineEdit;

namespace ui {
class StoragePaths;
}

namespace config {

class CameraModel;
class LanguageHost;

// The camera title dialog: the sixteen titles shown above the camera buttons
// and each camera's type. Save puts them on the panel and writes them with
// the window position and the language into velmarcontroller.ini; nothing
// goes to the switcher.
class frmControllerProgram : public QMainWindow {
    Q_OBJECT
public:
    // position gives the main window's left and top in twips.
    frmControllerProgram(LanguageHost &language, CameraModel &cameras,
                         const ui::StoragePaths &paths, std::function<QPoint()> position,
                         QWidget *parent);

    void Form_Load();
    void Save_Click();
    void Annulla_Click();

    QLineEdit *text(int camera) const { return m_Text.value(camera - 1); }
    QComboBox *combo(int camera) const { return m_Combo.value(camera - 1); }
    // The controls a language file relabels.
    QList<QObject *> captioned() const;

signals:
    // The configuration file is there but was not read, for the reason given.
    void fileNotUsed(const QString &path, const QString &reason);

private:
    // Whether Save may replace the configuration file: never one that is
    // there and was not read.
    bool mayReplace() const;

    LanguageHost &m_language;
    CameraModel &m_cameras;
    const ui::StoragePaths &m_paths;
    std::function<QPoint()> m_position;
    QString m_storedLanguage;  // kept when the start-up never read the file
    bool m_loadReadIt = false; // this load read the file itself, or found none
    QAction *m_Save;
    QAction *m_Annulla;
    QList<QLineEdit *> m_Text;
    QList<QComboBox *> m_Combo;
};

} // namespace config
