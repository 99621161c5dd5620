#include "app/LinkStatusBar.h"

#include "link/LinkMonitor.h"
#include "link/NetworkChannel.h"

#include <QLabel>
#include <QPushButton>

namespace app {

namespace {
const char *colourOf(devicelink::LinkMonitor::Level level) {
    switch (level) {
    case devicelink::LinkMonitor::Level::Good:
        return "#1a7f1a";
    case devicelink::LinkMonitor::Level::Warning:
        return "#b06f00";
    case devicelink::LinkMonitor::Level::Fault:
        break;
    }
    return "#c01818";
}
} // namespace

LinkStatusBar::LinkStatusBar(devicelink::LinkMonitor &monitor, devicelink::NetworkChannel &network,
                             QWidget *parent)
    : QStatusBar(parent)
    , m_monitor(monitor)
    , m_state(new QLabel(this))
    , m_answer(new QLabel(this))
    , m_askStatus(new QPushButton(QStringLiteral("Ask status"), this))
    , m_openTraffic(new QPushButton(QStringLiteral("Traffic"), this)) {
    setObjectName(QStringLiteral("linkStatus"));
    setSizeGripEnabled(false);
    m_state->setObjectName(QStringLiteral("linkState"));
    m_state->setToolTip(QStringLiteral(
        "The channel to the switcher: the serial port with its device and settings, or the "
        "remote site's gateway. Green: open and answering; amber: no answer yet; red: closed "
        "or lost."));
    m_answer->setObjectName(QStringLiteral("linkAnswer"));
    m_answer->setToolTip(QStringLiteral(
        "When the switcher last reported its routing (the green buttons), and from where; a "
        "status request with no reply within 2 s is named here."));
    m_askStatus->setObjectName(QStringLiteral("askStatus"));
    m_askStatus->setShortcut(Qt::Key_F5);
    m_askStatus->setFocusPolicy(Qt::NoFocus);
    m_askStatus->setToolTip(QStringLiteral("Asks the switcher for its routing now (F5)"));
    addWidget(m_state);
    addWidget(m_answer, 1);
    m_openTraffic->setObjectName(QStringLiteral("openTraffic"));
    m_openTraffic->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    m_openTraffic->setFocusPolicy(Qt::NoFocus);
    m_openTraffic->setToolTip(
        QStringLiteral("Every frame on both channels, timed and explained (Ctrl+T)"));
    addPermanentWidget(m_askStatus);
    addPermanentWidget(m_openTraffic);
    connect(m_askStatus, &QPushButton::clicked, &network,
            &devicelink::NetworkChannel::statusRequest);

    // The monitor may say something changed many times a second; the bar
    // follows at its own pace.
    m_pending.setSingleShot(true);
    m_pending.setTimerType(Qt::PreciseTimer);
    m_pending.setInterval(refreshMs);
    connect(&m_pending, &QTimer::timeout, this, &LinkStatusBar::refresh);
    connect(&monitor, &devicelink::LinkMonitor::changed, this, [this] {
        if (!m_pending.isActive())
            m_pending.start();
    });
    refresh();
}

void LinkStatusBar::refresh() {
    m_state->setText(m_monitor.channelText());
    m_answer->setText(m_monitor.answerText());
    const int level = static_cast<int>(m_monitor.level());
    if (level != m_shownLevel) {
        m_shownLevel = level;
        m_state->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }")
                                   .arg(QLatin1String(colourOf(m_monitor.level()))));
    }
}

} // namespace app
