#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace ui {
class Dialogs;
}

namespace automation {

// One page of the automation editor: its entries in a list with New and
// Delete below it, and the fields of the entry chosen beside it. The page
// edits the editor's working copy; this keeps the list in step with it.
class ListPage : public QWidget {
    Q_OBJECT
public:
    // The working copy changed as a whole (read again): the entries are listed
    // anew, the one chosen kept where it still is.
    void refresh();
    QListWidget *list() const { return m_list; }

signals:
    void edited();

protected:
    // The list, New and Delete are named "<stem>List", "add<Stem>" and
    // "remove<Stem>" ("alarm": alarmList, addAlarm, removeAlarm).
    ListPage(const QString &stem, ui::Dialogs &dialogs, QWidget *parent, int listStretch,
             int formStretch);

    void changeEvent(QEvent *event) override;

    // How many entries the working copy holds, and each one's line in the list.
    virtual int count() const = 0;
    virtual void relabel(int row) = 0;
    // The fields of the entry in that row, or of none (-1).
    virtual void fill(int row) = 0;
    virtual void retranslate() = 0;
    // Appends a new entry to the working copy, or nothing when it is full, and
    // says which field to go on in.
    virtual QWidget *addEntry() = 0;
    virtual QString removeQuestion(int row) const = 0;
    virtual void removeEntry(int row) = 0;

    // The list's and its buttons' texts, every entry's line anew with them.
    void retranslateList(const QString &listName, const QString &addText,
                         const QString &removeText);
    // The row chosen, or -1.
    int current() const;

    QWidget *m_form;
    // Set while the fields are filled from the working copy, so that their
    // change signals are not taken as edits.
    bool m_filling = false;

private:
    void choose(int row);
    void add();
    void remove();

    ui::Dialogs &m_dialogs;
    QListWidget *m_list;
    QPushButton *m_add;
    QPushButton *m_remove;
};

} // namespace automation
