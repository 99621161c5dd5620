#include "app/LinkStatusBar.h"

#include "link/LinkMonitor.h"
#include "link/Session.h"
#include "ui/ElidedLabel.h"
#include "ui/PlainText.h"

#include <QEvent>
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
    , m_state(new QLabel(this))
    , m_channel(new ui::ElidedLabel(Qt::ElideMiddle, this))
    , m_answer(new ui::ElidedLabel(Qt::ElideRight, this))
    , m_askStatus(new QPushButton(this))
    , m_openTraffic(new QPushButton(this)) {
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
    addPermanentWidget(m_askStatus);
    addPermanentWidget(m_openTraffic);
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
    retranslate();
    refresh();
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
    m_askStatus->setShortcut(Qt::Key_F5);
    m_openTraffic->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
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
