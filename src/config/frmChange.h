#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace devicelink {
class NetworkChannel;
class RemoteAddress;
class SerialChannel;
class StatusPolls;
} // namespace devicelink
namespace ui {
class StoragePaths;
}

namespace config {

class LanguageHost;

// The remote site chooser. Picking an entry of the site list makes it the
// current site (the main window's IPAD) and opens or closes the serial port
// to match: "0.0.0.0" is the serial port, anything else a gateway. While it
// is loaded the main window's status polls are stopped; Ok starts them again.
class frmChange : public QWidget {
    Q_OBJECT
public:
    struct Link {
        devicelink::StatusPolls &polls;
        devicelink::NetworkChannel &network;
        devicelink::RemoteAddress &IPAD;
        devicelink::SerialChannel &serial;
    };

    frmChange(LanguageHost &language, Link link, const ui::StoragePaths &paths, QWidget *parent);

    void Form_Load();
    // The entry in the given row becomes the current site.
    void List1_Click(int row);
    // Deletes the selected entry from the file, then shows the file again.
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
    QListWidget *m_List1;
    QPushButton *m_New;
    QPushButton *m_Cancel;
    QPushButton *m_Ok;
    bool m_listRead = false; // the list shows what the file held when last read
};

} // namespace config
