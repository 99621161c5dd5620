#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

namespace config {
class CameraModel;
class LanguageHost;
} // namespace config

// The language chooser: a drive list, a folder list and the *.lng files of
// the chosen folder, starting at the process's current folder. A click on a
// file is the choice: it is applied, remembered, and the main window shown.
class frmSceltaLingua : public QWidget {
    Q_OBJECT
public:
    // main is the main window, shown once a language is chosen.
    frmSceltaLingua(config::LanguageHost &language, config::CameraModel &cameras, QWidget &main);

    void Drive1_Change();
    void Dir1_Change();
    // The file clicked (or the selected one); "English.lng" when none is.
    void File1_Click();

signals:
    // Closed without a file being picked.
    void closedWithoutChoice();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showFolder(const QString &folder);

    config::LanguageHost &m_language;
    config::CameraModel &m_cameras;
    QWidget &m_main;
    QComboBox *m_Drive1;
    QListWidget *m_Dir1;
    QListWidget *m_File1;
    QLabel *m_path;
    QString m_folder;
    bool m_chosen = false;
};
