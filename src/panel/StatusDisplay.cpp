#include "panel/StatusDisplay.h"

#include "link/StatusReply.h"
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
            for (ui::ColourButton *button : std::as_const(m_cameras)) {
                if (!button->accessibleDescription().isEmpty())
                    button->setAccessibleDescription(translated(cameraLit));
            }
            for (ui::ColourButton *button : std::as_const(m_monitors)) {
                if (!button->accessibleDescription().isEmpty())
                    button->setAccessibleDescription(translated(monitorLit));
            }
        });
    }
}

StatusDisplay::~StatusDisplay() {
    QObject::disconnect(m_frame);
    delete m_retranslator;
}

void StatusDisplay::show(const devicelink::StatusReply &reply) {
    // Read at each write so the unlit buttons always match the window.
    const QColor unlit = m_window.palette().color(QPalette::Window);
    if (reply.camera != 0) {
        for (int i = 0; i < m_cameras.size(); ++i)
            colour(m_cameras[i], i + 1 == reply.camera ? lit : unlit, cameraLit);
    }
    for (int i = 0; i < m_monitors.size(); ++i)
        colour(m_monitors[i], i + 1 == reply.monitor ? lit : unlit, monitorLit);
    if (m_changed.isEmpty())
        return;
    if (m_pacer)
        m_pacer->request();
    else
        repaintChanged();
}

void StatusDisplay::colour(ui::ColourButton *button, const QColor &colour, const char *litText) {
    if (!button->changeFace(colour))
        return;
    m_changed.insert(button);
    // A screen reader is told as the eye is shown: the description changes
    // (and says so on the accessibility bus) with the colour.
    button->setAccessibleDescription(colour == lit ? translated(litText) : QString());
}

void StatusDisplay::repaintChanged() {
    for (ui::ColourButton *button : std::as_const(m_changed))
        button->update();
    m_changed.clear();
}

} // namespace panel
