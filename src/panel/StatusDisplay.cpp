#include "panel/StatusDisplay.h"

#include "ui/ColourButton.h"
#include "ui/FramePacer.h"
#include "ui/Retranslator.h"

#include <QCoreApplication>
#include <QWidget>

namespace panel {

const QColor StatusDisplay::lit(0, 192, 0);

namespace {
// What a screen reader hears of a lit button.
const char *const cameraLit =
    QT_TRANSLATE_NOOP("panel::StatusDisplay", "on the monitor the switcher reported");
const char *const monitorLit =
    QT_TRANSLATE_NOOP("panel::StatusDisplay", "the monitor the switcher reported");
const char *const notConfirmed = QT_TRANSLATE_NOOP("panel::StatusDisplay", "%1, not confirmed");
const char *const lockedBy = QT_TRANSLATE_NOOP("panel::StatusDisplay", "locked by %1");

QString translated(const char *text) {
    return QCoreApplication::translate("panel::StatusDisplay", text);
}
} // namespace

StatusDisplay::StatusDisplay(QWidget &window, QList<ui::ColourButton *> cameras,
                             QList<ui::ColourButton *> monitors, ui::FramePacer *pacer)
    : m_window(window)
    , m_cameras(std::move(cameras))
    , m_monitors(std::move(monitors))
    , m_pacer(pacer) {
    if (m_pacer)
        m_frame = QObject::connect(m_pacer, &ui::FramePacer::frame, m_pacer,
                                   [this] { repaintChanged(); });
    // In another language the lit buttons say so in it.
    if (!m_cameras.isEmpty()) {
        m_retranslator = ui::Retranslator::keep(m_cameras.first(), [this] {
            for (ui::ColourButton *button : std::as_const(m_cameras))
                describe(button, cameraLit);
            for (ui::ColourButton *button : std::as_const(m_monitors))
                describe(button, monitorLit);
        });
    }
}

StatusDisplay::~StatusDisplay() {
    QObject::disconnect(m_frame);
    delete m_retranslator;
}

void StatusDisplay::show(const devicelink::RoutingModel::Lit &shown) {
    // Read at each write so the unlit buttons always match the window.
    const QColor unlit = m_window.palette().color(QPalette::Window);
    // A busy line decodes a reply a hundred times a second, mostly the same.
    if (m_drawn && unlit == m_drawnUnlit && shown.camera == m_drawnLit.camera &&
        shown.monitor == m_drawnLit.monitor && shown.cameraStale == m_drawnLit.cameraStale &&
        shown.monitorStale == m_drawnLit.monitorStale)
        return;
    m_drawn = true;
    m_drawnUnlit = unlit;
    m_drawnLit = shown;
    if (shown.camera != 0) {
        for (int i = 0; i < m_cameras.size(); ++i) {
            const bool on = i + 1 == shown.camera;
            colour(m_cameras[i], on ? lit : unlit, on && shown.cameraStale, cameraLit);
        }
    }
    if (shown.monitor != 0) {
        for (int i = 0; i < m_monitors.size(); ++i) {
            const bool on = i + 1 == shown.monitor;
            colour(m_monitors[i], on ? lit : unlit, on && shown.monitorStale, monitorLit);
        }
    }
    if (m_changed.isEmpty())
        return;
    if (m_pacer)
        m_pacer->request();
    else
        repaintChanged();
}

void StatusDisplay::describe(ui::ColourButton *button, const char *litText) const {
    QStringList parts;
    if (button->face() == lit) {
        const QString shown = translated(litText);
        parts << (button->isMarked() ? translated(notConfirmed).arg(shown) : shown);
    }
    if (const QString holder = m_lockHolders.value(button); !holder.isEmpty())
        parts << translated(lockedBy).arg(holder);
    // Each new description is an event on the accessibility bus: only news.
    const QString description = parts.join(QStringLiteral(", "));
    if (description != button->accessibleDescription())
        button->setAccessibleDescription(description);
}

void StatusDisplay::showLock(int monitor, const QString &holder) {
    if (monitor < 1 || monitor > m_monitors.size())
        return;
    ui::ColourButton *button = m_monitors[monitor - 1];
    m_lockHolders.insert(button, holder);
    if (button->changeNotch(!holder.isEmpty()))
        button->update();
    describe(button, monitorLit);
}

void StatusDisplay::colour(ui::ColourButton *button, const QColor &colour, bool stale,
                           const char *litText) {
    const bool face = button->changeFace(colour);
    const bool mark = button->changeMark(stale);
    if (!face && !mark)
        return;
    m_changed.insert(button);
    // A screen reader is told as the eye is shown: the description changes
    // (and says so on the accessibility bus) with the colour and the mark.
    describe(button, litText);
}

void StatusDisplay::repaintChanged() {
    for (ui::ColourButton *button : std::as_const(m_changed))
        button->update();
    m_changed.clear();
}

} // namespace panel
