#pragma once

#include "automation/ListPage.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace devicelink {
class Switcher;
}

namespace automation {

class AutomationFile;

// The editor's salvos: a list of them by name, and for the one chosen its
// name and, per monitor, the camera it puts there with its preset. The
// routing the switcher reported can be taken in as it is.
class SalvoPage : public ListPage {
    Q_OBJECT
public:
    SalvoPage(AutomationFile &work, const devicelink::Switcher &switcher, ui::Dialogs &dialogs,
              QWidget *parent = nullptr);

signals:
    // A note for the window's status line.
    void said(const QString &message);

private:
    int count() const override;
    void relabel(int row) override;
    void fill(int row) override;
    void retranslate() override;
    QWidget *addEntry() override;
    QString removeQuestion(int row) const override;
    void removeEntry(int row) override;
    void takeRouting();
    void nameEdited(const QString &name);
    void routesEdited();

    AutomationFile &m_work;
    const devicelink::Switcher &m_switcher;
    QLabel *m_nameLabel;
    QLineEdit *m_name;
    QLabel *m_cameraHeader;
    QLabel *m_presetHeader;
    QLabel *m_monitorLabels[4];
    QSpinBox *m_cameras[4];
    QSpinBox *m_presets[4];
    QPushButton *m_take;
};

} // namespace automation
