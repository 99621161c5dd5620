#pragma once

#include <QWidget>

class QTreeWidget;

namespace app {

// The keys window (F1): every key of the panel and what it does, as a list
// a screen reader reads row by row.
class frmKeys : public QWidget {
    Q_OBJECT
public:
    explicit frmKeys(QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }

private:
    QTreeWidget *m_list;
};

} // namespace app
