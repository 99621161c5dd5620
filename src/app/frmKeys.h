#pragma once

#include <QWidget>

class QPushButton;
class QTreeWidget;

namespace app {

// The keys window (F1): every key of the panel and what it does, as a list
// a screen reader reads row by row.
class frmKeys : public QWidget {
    Q_OBJECT
public:
    explicit frmKeys(QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }

protected:
    void changeEvent(QEvent *event) override;

private:
    // The rows, the headers and the button in the language in use.
    void retranslate();

    QTreeWidget *m_list;
    QPushButton *m_close;
};

} // namespace app
