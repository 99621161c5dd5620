#pragma once

#include <QList>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace ui {
class StoragePaths;
}

namespace config {

// The address entry dialog: four fields of up to three characters joined by
// dots into one site list entry, taken as typed. Ok adds the entry to the
// chooser's list and to the end of the site list file; closing the window
// by its frame discards the input.
class frmNew : public QWidget {
    Q_OBJECT
public:
    frmNew(const ui::StoragePaths &paths, QWidget *parent);

    void Command1_Click();

    QLineEdit *field(int n) const { return m_Text.value(n - 1); }

signals:
    // The entry as it goes into the chooser's list, before the file takes it.
    void entered(const QString &entry);
    // The site list is there but was not read, for the reason given.
    void fileNotUsed(const QString &path, const QString &reason);

private:
    const ui::StoragePaths &m_paths;
    QList<QLineEdit *> m_Text;
    QPushButton *m_Command1;
};

} // namespace config
