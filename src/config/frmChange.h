#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace devicelink {
class Session;
}
namespace terminal {
class PortMenu;
}
namespace ui {
class Dialogs;
class StoragePaths;
} // namespace ui

namespace config {

class LanguageHost;

// The remote site chooser. Picking an entry of the site list makes it the
// channel in use (the main window's IPAD shows it) and opens or closes the serial port
// to match: "0.0.0.0" is the serial port, anything else a gateway. While it
// is loaded the main window's status polls are stopped; Ok starts them again.
class frmChange : public QWidget {
    Q_OBJECT
public:
    struct Link {
        devicelink::Session &session;
        terminal::PortMenu &portMenu; // opens or closes the port to match a pick
    };

    frmChange(LanguageHost &language, Link link, const ui::StoragePaths &paths,
              ui::Dialogs &dialogs, QWidget *parent);

    void Form_Load();
    // The entry in the given row becomes the current site.
    void List1_Click(int row);
    // Deletes the selected entry from the file once the operator confirms,
    // then shows the file again.
    void Cancel_Click();
    void New_Click();
    void Ok_Click();

    // An entry just added to the file by the address entry dialog.
    void addEntry(const QString &entry);
    QListWidget *list() const { return m_List1; }
    // The controls a language file relabels.
    QList<QObject *> captioned() const;

signals:
    // New: the address entry dialog is wanted.
    void newRequested();
    // The site list is there but was not read, for the reason given.
    void fileNotUsed(const QString &path, const QString &reason);

private:
    void readSiteList();

    LanguageHost &m_language;
    Link m_link;
    const ui::StoragePaths &m_paths;
    ui::Dialogs &m_dialogs;
    QListWidget *m_List1;
    QPushButton *m_New;
    QPushButton *m_Cancel;
    QPushButton *m_Ok;
    bool m_listRead = false; // the list shows what the file held when last read
};

} // namespace config
