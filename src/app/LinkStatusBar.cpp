#include "app/LinkStatusBar.h"

#include "link/LinkMonitor.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "ui/ElidedLabel.h"
#include "ui/PlainText.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

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

LinkStatusBar::LinkStatusBar(devicelink::LinkMonitor &monitor, devicelink::Session &session,
                             QWidget *parent)
    : QStatusBar(parent)
    , m_monitor(monitor)
    , m_session(session)
    , m_state(new QLabel(this))
    , m_channel(new ui::ElidedLabel(Qt::ElideMiddle, this))
    , m_answer(new ui::ElidedLabel(Qt::ElideRight, this))
    , m_askStatus(new QPushButton(this))
    , m_openTraffic(new QPushButton(this))
    , m_openControlRoom(new QPushButton(this)) {
    setObjectName(QStringLiteral("linkStatus"));
    setSizeGripEnabled(false);
    m_state->setObjectName(QStringLiteral("linkState"));
    m_channel->setObjectName(QStringLiteral("linkChannel"));
    m_answer->setObjectName(QStringLiteral("linkAnswer"));
    m_askStatus->setObjectName(QStringLiteral("askStatus"));
    m_askStatus->setFocusPolicy(Qt::NoFocus);
    // Two lines, the state and the channel above the answer; the state is
    // never cut, a long device path is cut in its middle rather than the
    // window made wider.
    auto *texts = new QWidget(this);
    auto *lines = new QVBoxLayout(texts);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(0);
    auto *first = new QHBoxLayout;
    first->setContentsMargins(0, 0, 0, 0);
    // The lines keep no room between them; the state and the channel do
    // ("Open  Serial Com1", not "OpenSerial Com1").
    first->setSpacing(fontMetrics().horizontalAdvance(QStringLiteral("  ")));
    m_state->setTextFormat(Qt::PlainText);
    m_state->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    first->addWidget(m_state);
    first->addWidget(m_channel, 1);
    lines->addLayout(first);
    lines->addWidget(m_answer);
    addWidget(texts, 1);
    // The other parts' notes one above the other, as the link's two lines
    // are, so that they take from those lines no more room than the widest.
    m_notes = new QWidget(this);
    m_notes->setObjectName(QStringLiteral("sideNotes"));
    auto *notes = new QVBoxLayout(m_notes);
    notes->setContentsMargins(0, 0, 0, 0);
    notes->setSpacing(0);
    addPermanentWidget(m_notes);
    m_openTraffic->setObjectName(QStringLiteral("openTraffic"));
    m_openTraffic->setFocusPolicy(Qt::NoFocus);
    m_openControlRoom->setObjectName(QStringLiteral("openControlRoom"));
    m_openControlRoom->setFocusPolicy(Qt::NoFocus);
    // The three buttons in two rows beside the two lines, so that the lines
    // keep the width of the bar.
    auto *buttons = new QWidget(this);
    auto *grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    for (QPushButton *button : {m_askStatus, m_openTraffic, m_openControlRoom}) {
        button->setParent(buttons);
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 6px; }"));
    }
    grid->addWidget(m_askStatus, 0, 0);
    grid->addWidget(m_openTraffic, 0, 1);
    grid->addWidget(m_openControlRoom, 1, 0, 1, 2);
    addPermanentWidget(buttons);
    connect(m_askStatus, &QPushButton::clicked, &session,
            [&session] { session.statusRequest({devicelink::Origin::Kind::StatusPoll}); });

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
    // What the operator should hear of once: a command that did not leave,
    // an action of the panel's refused, a monitor changed by another source.
    connect(&session, &devicelink::Session::frameNotSent, this, &LinkStatusBar::noteNotSent);
    devicelink::Operations &operations = session.operations();
    connect(&operations, &devicelink::Switcher::refused, this, &LinkStatusBar::noteRefused);
    connect(&operations, &devicelink::Switcher::routed, this, &LinkStatusBar::noteRouted);
    retranslate();
    refresh();
}

void LinkStatusBar::note(const QString &text) {
    if (currentMessage() != text)
        showMessage(text, noteMs);
}

void LinkStatusBar::noteNotSent(const devicelink::Frame &frame) {
    using devicelink::Frame;
    using devicelink::SerialChannel;
    // The status requests that cannot leave are said on the answer line.
    if (frame.origin.kind == devicelink::Origin::Kind::StatusPoll)
        return;
    QString why = frame.note;
    if (frame.medium == Frame::Medium::Serial) {
        switch (m_session.serial().state()) {
        case SerialChannel::PortState::Closed:
            why = tr("the port is closed");
            break;
        case SerialChannel::PortState::Lost:
            why = tr("the port is lost");
            break;
        case SerialChannel::PortState::Absent:
            why = tr("the port's device is missing");
            break;
        case SerialChannel::PortState::Open:
            break;
        }
    }
    note(frame.origin.isPanel() ? tr("Not sent: %1").arg(why)
                                : tr("Not sent for %1: %2").arg(frame.origin.text(), why));
}

void LinkStatusBar::noteRefused(const devicelink::Origin &origin,
                                const devicelink::Outcome &outcome) {
    using Why = devicelink::Outcome::Why;
    // Another source is told by its own client; the keyboard says its own
    // numbers out of range.
    if (!origin.isPanel() || outcome.kind != devicelink::Outcome::Kind::Refused ||
        outcome.why == Why::OutOfRange)
        return;
    switch (outcome.why) {
    case Why::Locked:
        note(tr("Monitor %1 is locked by %2").arg(outcome.subject).arg(outcome.holder));
        return;
    case Why::CameraHeld:
        note(outcome.subject > 0
                 ? tr("Camera %1 is controlled by %2").arg(outcome.subject).arg(outcome.holder)
                 : tr("The camera is controlled by %1").arg(outcome.holder));
        return;
    case Why::Busy:
        note(tr("Not done: %1 did not finish in time").arg(outcome.holder));
        return;
    case Why::PresetRunning:
        note(tr("Not done: a preset sequence is running"));
        return;
    default:
        note(outcome.reason);
        return;
    }
}

void LinkStatusBar::noteRouted(int monitor, int camera, const devicelink::Origin &origin) {
    // The lights will move; the operator learns why.
    if (!origin.isPanel())
        note(tr("Monitor %1 <- camera %2 by %3").arg(monitor).arg(camera).arg(origin.text()));
}

void LinkStatusBar::retranslate() {
    setAccessibleName(tr("Link status"));
    m_stateTip =
        tr("The channel to the switcher and its state: the serial port with its device and "
           "settings, or the remote site's gateway. Green: open and answering; amber: no answer "
           "yet, or an answer from before; red: closed, lost or not resolving.");
    m_answerTip = tr("When the switcher last reported its routing (the green buttons), and from "
                     "where; a status request with no reply within 2 s is named here.");
    m_askStatus->setText(tr("Ask status"));
    m_askStatus->setToolTip(tr("Asks the switcher for its routing now (F5)"));
    m_openTraffic->setText(tr("Traffic"));
    m_openTraffic->setToolTip(tr("Every frame on both channels, timed and explained (Ctrl+T)"));
    // A button's new text replaces its shortcut with the text's access key:
    // the keys come after.
    m_openControlRoom->setText(tr("Control room"));
    m_openControlRoom->setToolTip(tr("Who holds each monitor's lock and drives each camera (F2)"));
    m_askStatus->setShortcut(Qt::Key_F5);
    m_openTraffic->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    m_openControlRoom->setShortcut(Qt::Key_F2);
}

void LinkStatusBar::changeEvent(QEvent *event) {
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        refresh();
    }
}

void LinkStatusBar::setSideNote(const QString &name, const QString &text, const QString &tip,
                                bool fault) {
    QLabel *&label = m_sideNotes[name];
    if (!label) {
        label = new QLabel(m_notes);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        // Beside the link's two lines, before the buttons.
        static_cast<QVBoxLayout *>(m_notes->layout())->addWidget(label, 0, Qt::AlignRight);
    }
    label->setText(text);
    label->setToolTip(ui::plainToolTip(tip));
    label->setAccessibleName(text);
    label->setStyleSheet(fault ? QStringLiteral("QLabel { color: #c01818; }") : QString());
    label->setVisible(!text.isEmpty());
}

QString LinkStatusBar::shownText() const {
    return m_state->text() + QStringLiteral(" | ") + m_channel->fullText() + QStringLiteral(" | ") +
           m_answer->fullText();
}

void LinkStatusBar::showEvent(QShowEvent *event) {
    QStatusBar::showEvent(event);
    hideOrShow();
}

void LinkStatusBar::refresh() {
    m_state->setText(m_monitor.stateText());
    // Cut to the room there is, the channel keeps its name ("Serial Com1",
    // the site's address) and the answer its time and what follows it; the
    // rest is in the tooltips.
    const QString channel = m_monitor.channelText();
    m_channel->setFullText(channel, channel.section(QStringLiteral(" ("), 0, 0));
    QString now = m_state->text() + QStringLiteral("\n") + m_channel->fullText();
    if (const QString detail = m_monitor.stateDetail(); !detail.isEmpty())
        now += QStringLiteral("\n") + detail;
    const QString stateTip = m_stateTip + QStringLiteral("\n\n") + now;
    m_state->setToolTip(ui::plainToolTip(stateTip));
    m_channel->setToolTip(ui::plainToolTip(stateTip));
    static const QRegularExpression time(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"));
    const QString answer = m_monitor.answerText();
    qsizetype at = -1;
    for (auto it = time.globalMatch(answer); it.hasNext();)
        at = it.next().capturedStart();
    m_answer->setFullText(answer, at < 0 ? QString() : answer.mid(at));
    m_answer->setToolTip(
        ui::plainToolTip(m_answerTip + QStringLiteral("\n\n") + m_answer->fullText()));
    const int level = static_cast<int>(m_monitor.level());
    if (level != m_shownLevel) {
        m_shownLevel = level;
        m_state->setStyleSheet(QStringLiteral("QLabel { color: %1; font-weight: bold; }")
                                   .arg(QLatin1String(colourOf(m_monitor.level()))));
    }
}

void LinkStatusBar::showKeyboardEntry(const QString &text) {
    // For the few seconds it lasts, what is typed stands in the place of the
    // link's two lines (as a passing message of the bar), so neither is cut.
    if (!text.isEmpty())
        showMessage(text);
    else if (currentMessage() == m_keyboardText)
        clearMessage();
    m_keyboardText = text;
}

} // namespace app
