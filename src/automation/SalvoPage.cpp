#include "automation/SalvoPage.h"

#include "automation/AutomationFile.h"
#include "automation/EditorFields.h"
#include "link/Switcher.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace automation {

SalvoPage::SalvoPage(AutomationFile &work, const devicelink::Switcher &switcher,
                     ui::Dialogs &dialogs, QWidget *parent)
    : ListPage(QStringLiteral("salvo"), dialogs, parent, 1, 1)
    , m_work(work)
    , m_switcher(switcher) {
    m_name = new QLineEdit(m_form);
    m_name->setObjectName(QStringLiteral("salvoName"));
    m_name->setMaxLength(AutomationFile::maxNameLength);
    m_nameLabel = fieldLabel(m_form, m_name);
    m_cameraHeader = new QLabel(m_form);
    m_presetHeader = new QLabel(m_form);
    m_take = new QPushButton(m_form);
    m_take->setObjectName(QStringLiteral("takeRouting"));

    auto *grid = new QGridLayout(m_form);
    grid->addWidget(m_nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(m_cameraHeader, 1, 1);
    grid->addWidget(m_presetHeader, 1, 2);
    for (int m = 0; m < 4; ++m) {
        m_cameras[m] = numberBox(m_form, QStringLiteral("salvoCamera%1").arg(m + 1), 0,
                                 AutomationFile::cameras, QStringLiteral("-"));
        m_presets[m] = numberBox(m_form, QStringLiteral("salvoPreset%1").arg(m + 1), 0,
                                 AutomationFile::presets, QStringLiteral("-"));
        m_monitorLabels[m] = fieldLabel(m_form, m_cameras[m]);
        grid->addWidget(m_monitorLabels[m], m + 2, 0);
        grid->addWidget(m_cameras[m], m + 2, 1);
        grid->addWidget(m_presets[m], m + 2, 2);
        connect(m_cameras[m], &QSpinBox::valueChanged, this, &SalvoPage::routesEdited);
        connect(m_presets[m], &QSpinBox::valueChanged, this, &SalvoPage::routesEdited);
    }
    grid->addWidget(m_take, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);

    connect(m_take, &QPushButton::clicked, this, &SalvoPage::takeRouting);
    connect(m_name, &QLineEdit::textEdited, this, &SalvoPage::nameEdited);
    retranslate();
    refresh();
}

void SalvoPage::retranslate() {
    m_nameLabel->setText(tr("Na&me:"));
    m_name->setAccessibleName(tr("Name of the salvo"));
    m_cameraHeader->setText(tr("Camera"));
    m_presetHeader->setText(tr("Preset"));
    for (int m = 0; m < 4; ++m) {
        m_monitorLabels[m]->setText(tr("Monitor &%1:").arg(m + 1));
        m_cameras[m]->setAccessibleName(tr("Camera on monitor %1").arg(m + 1));
        m_cameras[m]->setToolTip(
            tr("The camera the salvo puts on monitor %1; - leaves it as it is").arg(m + 1));
        m_presets[m]->setAccessibleName(tr("Preset for monitor %1").arg(m + 1));
        m_presets[m]->setToolTip(tr("The preset recalled on that camera; - none"));
    }
    m_take->setText(tr("Take the routing sho&wn now"));
    m_take->setToolTip(tr("Each monitor gets the camera the switcher last reported on it"));
    retranslateList(tr("Salvos"), tr("&New salvo"), tr("&Delete salvo"));
}

int SalvoPage::count() const {
    return int(m_work.salvos.size());
}

void SalvoPage::relabel(int row) {
    if (QListWidgetItem *item = list()->item(row)) {
        const QString name = m_work.salvos[row].name;
        item->setText(name.isEmpty() ? tr("(no name)") : name);
    }
}

void SalvoPage::fill(int row) {
    const bool chosen = row >= 0;
    m_filling = true;
    m_name->setText(chosen ? m_work.salvos[row].name : QString());
    for (int m = 0; m < 4; ++m) {
        m_cameras[m]->setValue(0);
        m_presets[m]->setValue(0);
    }
    if (chosen) {
        for (const AutomationFile::Route &r : m_work.salvos[row].routes) {
            m_cameras[r.monitor - 1]->setValue(r.camera);
            m_presets[r.monitor - 1]->setValue(r.preset);
        }
    }
    m_filling = false;
}

QWidget *SalvoPage::addEntry() {
    AutomationFile::Salvo salvo;
    salvo.number = freeNumber(m_work.salvos, [](const auto &s) { return s.number; });
    for (int n = 1;; ++n) {
        const QString name = tr("Salvo %1").arg(n);
        if (!m_work.salvo(name)) {
            salvo.name = name;
            break;
        }
    }
    m_work.salvos.append(salvo);
    return m_name;
}

QString SalvoPage::removeQuestion(int row) const {
    return tr("Delete the salvo %1?").arg(m_work.salvos[row].name);
}

void SalvoPage::removeEntry(int row) {
    m_work.salvos.removeAt(row);
}

void SalvoPage::nameEdited(const QString &name) {
    const int row = current();
    if (m_filling || row < 0)
        return;
    // The schedules that recall it follow the new name.
    const QString old = m_work.salvos[row].name;
    for (AutomationFile::Schedule &s : m_work.schedules) {
        if (s.action.kind == AutomationFile::Action::Kind::Salvo && s.action.salvo == old)
            s.action.salvo = name;
    }
    m_work.salvos[row].name = name;
    relabel(row);
    emit edited();
}

void SalvoPage::routesEdited() {
    const int row = current();
    if (m_filling || row < 0)
        return;
    // The routes keep the order they had; a monitor given a camera anew goes last.
    QList<AutomationFile::Route> &routes = m_work.salvos[row].routes;
    QList<AutomationFile::Route> next;
    bool placed[4] = {};
    for (const AutomationFile::Route &r : std::as_const(routes)) {
        const int m = r.monitor - 1;
        if (m_cameras[m]->value() > 0) {
            next.append({r.monitor, m_cameras[m]->value(), m_presets[m]->value()});
            placed[m] = true;
        }
    }
    for (int m = 0; m < 4; ++m) {
        if (!placed[m] && m_cameras[m]->value() > 0)
            next.append({m + 1, m_cameras[m]->value(), m_presets[m]->value()});
    }
    routes = next;
    emit edited();
}

void SalvoPage::takeRouting() {
    QStringList unknown;
    m_filling = true;
    for (int m = 0; m < 4; ++m) {
        const devicelink::Switcher::MonitorState state = m_switcher.monitor(m + 1);
        // Only what the switcher reported, and not from before a loss.
        if (state.camera > 0 && !state.stale) {
            m_cameras[m]->setValue(state.camera);
            m_presets[m]->setValue(0);
        } else {
            unknown << QString::number(m + 1);
        }
    }
    m_filling = false;
    routesEdited();
    emit said(unknown.isEmpty()
                  ? tr("The routing now taken in")
                  : tr("The routing taken in; not known now, left as they were: monitor %1")
                        .arg(unknown.join(QLatin1String(", "))));
}

} // namespace automation
