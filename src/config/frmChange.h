#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;
class frmTerminal;

namespace config {

// The remote site chooser. Picking an entry of the site list makes it the
// current site (the main window's IPAD) and opens or closes the serial port
// to match: "0.0.0.0" is the serial port, anything else a gateway. While it
// is open the main window's status polls are stopped; Ok starts them again.
class frmChange : public QWidget {
    Q_OBJECT
public:
    explicit frmChange(frmTerminal &main);

    // The open chooser, or a new one (loaded, not shown). It is a child
    // window of the main window named "frmChange".
    static frmChange *find(frmTerminal &main);
    static frmChange &ensure(frmTerminal &main);
    // Shows the chooser modeless, loading it first, or brings it forward.
    static frmChange &open(frmTerminal &main);
    // What the chooser's load does to the link: the status polls stop and
    // the site the socket addresses is signed off.
    static void leaveSite(frmTerminal &main);

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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString siteListPath() const;
    void readSiteList();
    static void enableStatusPolls(frmTerminal &main, bool enabled);

    frmTerminal &m_main;
    QListWidget *m_List1;
    QPushButton *m_New;
    QPushButton *m_Cancel;
    QPushButton *m_Ok;
};

} // namespace config
