#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace devicelink {
class Switcher;
}
namespace ui {
class Dialogs;
}

namespace automation {

class AutomationFile;

// The editor's salvos: a list of them by name, and for the one chosen its
// name and, per monitor, the camera it puts there with its preset. The
// routing the switcher reported can be taken in as it is.
class SalvoPage : public QWidget {
    Q_OBJECT
public:
    SalvoPage(AutomationFile &work, const devicelink::Switcher &switcher, ui::Dialogs &dialogs,
              QWidget *parent = nullptr);

    // The working copy changed as a whole (read again).
    void refresh();
    QListWidget *list() const { return m_list; }

signals:
    void edited();
    // A note for the window's status line.
    void said(const QString &message);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fill(int row);
    void addSalvo();
    void removeSalvo();
    void takeRouting();
    void nameEdited(const QString &name);
    void routesEdited();
    void relabel(int row);

    AutomationFile &m_work;
    const devicelink::Switcher &m_switcher;
    ui::Dialogs &m_dialogs;
    QListWidget *m_list;
    QPushButton *m_add;
    QPushButton *m_remove;
    QWidget *m_form;
    QLabel *m_nameLabel;
    QLineEdit *m_name;
    QLabel *m_cameraHeader;
    QLabel *m_presetHeader;
    QLabel *m_monitorLabels[4];
    QSpinBox *m_cameras[4];
    QSpinBox *m_presets[4];
    QPushButton *m_take;
    bool m_filling = false;
};

} // namespace automation
