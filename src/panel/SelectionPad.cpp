#include "panel/SelectionPad.h"

#include "link/Switcher.h"
#include "panel/Controls.h"
#include "ui/ColourButton.h"
#include "ui/PlainText.h"
#include "ui/Retranslator.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace panel {

SelectionPad::SelectionPad(QWidget *parent, QMenu *monMenu, devicelink::Switcher &switcher)
    : QObject(parent)
    , m_switcher(switcher) {
    for (int n = 1; n <= 16; ++n) {
        const int column = n <= 8 ? 0 : 1;
        const int top = 120 + ((n - 1) % 8) * 240;
        auto *button = makeButton(parent, QStringLiteral("C%1").arg(n), QString::number(n),
                                  1080 + column * 1800, top, 255, 255);
        connect(button, &QPushButton::clicked, this, [this, n] { C_Click(n); });
        m_cameras.append(button);
        m_titles.append(makeLabel(parent, QStringLiteral("T%1").arg(n),
                                  QStringLiteral("CAMERA %1").arg(n), 1440 + column * 1800, top,
                                  1395, 255));
        setTitle(n, m_titles.last()->text());
    }
    makeLabel(parent, QStringLiteral("Label1"), QStringLiteral("MONITOR"), 120, 600, 735, 255);
    const int places[4][2] = {{120, 960}, {600, 960}, {120, 1320}, {600, 1320}};
    for (int m = 1; m <= 4; ++m) {
        auto *button = makeButton(parent, QStringLiteral("M%1").arg(m), QString::number(m),
                                  places[m - 1][0], places[m - 1][1], 252, 252);
        connect(button, &QPushButton::clicked, this, [this, m] { M_Click(m); });
        m_monitors.append(button);
        auto *item = monMenu->addAction(QString::number(m));
        item->setObjectName(QStringLiteral("Mon%1").arg(m));
        item->setCheckable(true);
        item->setVisible(false);
        item->setEnabled(false);
        connect(item, &QAction::triggered, this, [this, m] { Mon_Click(m); });
        m_monItems.append(item);
    }
    ui::Retranslator::keep(
        parent,
        [this] {
            for (int n = 1; n <= m_cameras.size(); ++n)
                nameCamera(n);
            for (int m = 1; m <= m_monitors.size(); ++m)
                m_monitors[m - 1]->setAccessibleName(tr("Monitor %1").arg(m));
        },
        this);
}

void SelectionPad::nameCamera(int camera) {
    m_cameras[camera - 1]->setAccessibleName(
        tr("Camera %1, %2").arg(camera).arg(m_titles[camera - 1]->text()));
}

void SelectionPad::setTitle(int camera, const QString &title) {
    QLabel *label = m_titles[camera - 1];
    label->setText(title);
    // A title longer than its label shows whole when pointed at.
    const bool cut = label->fontMetrics().horizontalAdvance(title) > label->width();
    label->setToolTip(cut ? ui::plainToolTip(title) : QString());
    nameCamera(camera);
}

void SelectionPad::C_Click(int camera) {
    m_switcher.selectCamera(camera, {devicelink::Origin::Kind::Panel});
}

void SelectionPad::M_Click(int monitor) {
    m_switcher.selectMonitor(monitor, {devicelink::Origin::Kind::Panel});
}

void SelectionPad::Mon_Click(int item) {
    M_Click(item);
    for (int i = 0; i < m_monItems.size(); ++i)
        m_monItems[i]->setChecked(i + 1 == item);
}

} // namespace panel
