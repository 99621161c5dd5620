#include "terminal/TerminalCommands.h"

#include "app/frmTerminal.h"
#include "link/LogFile.h"
#include "link/SerialChannel.h"
#include "terminal/NumberAnswer.h"
#include "terminal/SystemInfoHost.h"
#include "terminal/frmAbout.h"
#include "terminal/frmCancelSend.h"
#include "terminal/frmProperties.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

namespace terminal {

namespace {
// How often the transmission looks at the output buffer when nothing else
// wakes it (a port closed from the menu sends no signal).
constexpr int outputCheckMs = 100;

// A number as the property prompts propose it: a leading space where a
// minus sign would stand.
QString withSignSpace(int n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString trueFalse(bool state) {
    return state ? QStringLiteral("True") : QStringLiteral("False");
}
} // namespace

TerminalCommands::TerminalCommands(frmTerminal &window, ui::SerialPort &port, ui::Dialogs &dialogs,
                                   ui::SettingsStore &settings,
                                   std::shared_ptr<SystemInfoHost> host)
    : QObject(&window)
    , m_window(window)
    , m_port(port)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_host(std::move(host)) {
    setObjectName(QStringLiteral("terminalCommands"));
    m_cancelWindow = new frmCancelSend(CancelSend, &window);
    m_cancelWindow->hide();

    connectAction("mnuOpenLog", &TerminalCommands::mnuOpenLog_Click);
    connectAction("mnuSendText", &TerminalCommands::mnuSendText_Click);
    connectAction("mnuDial", &TerminalCommands::mnuDial_Click);
    connectAction("mnuHangUp", &TerminalCommands::mnuHangUp_Click);
    connectAction("mnuInputLen", &TerminalCommands::mnuInputLen_Click);
    connectAction("mnuRThreshold", &TerminalCommands::mnuRThreshold_Click);
    connectAction("mnuSThreshold", &TerminalCommands::mnuSThreshold_Click);
    connectAction("mnuParRep", &TerminalCommands::mnuParRep_Click);
    connectAction("mnuDTREnable", &TerminalCommands::mnuDTREnable_Click);
    connectAction("mnuHCD", &TerminalCommands::mnuHCD_Click);
    connectAction("mnuHCTS", &TerminalCommands::mnuHCTS_Click);
    connectAction("mnuHDSR", &TerminalCommands::mnuHDSR_Click);
    connectAction("mnuProperties", &TerminalCommands::mnuProperties_Click);
    connectAction("About", &TerminalCommands::About_Click);

    // A transmission still running when the program ends stops at once.
    connect(&window, &frmTerminal::programEnded, this, [this] { CancelSend = true; });
}

TerminalCommands::~TerminalCommands() {
    // The cancel window holds the stop flag by reference: it goes first.
    delete m_cancelWindow;
}

frmProperties *TerminalCommands::properties() const {
    return m_properties;
}

frmAbout *TerminalCommands::about() const {
    return m_about;
}

QAction *TerminalCommands::action(const char *name) const {
    return m_window.findChild<QAction *>(QLatin1String(name));
}

void TerminalCommands::connectAction(const char *name, void (TerminalCommands::*handler)()) {
    if (QAction *a = action(name))
        connect(a, &QAction::triggered, this, handler);
}

void TerminalCommands::setEnabled(const char *name, bool enabled) {
    if (QAction *a = action(name))
        a->setEnabled(enabled);
}

void TerminalCommands::mnuOpenLog_Click() {
    devicelink::LogFile &log = m_window.logFile();
    for (;;) {
        const QString name = m_dialogs.saveFileName(
            QStringLiteral("Open Log File"), QStringLiteral("Log Files (*.log);;All Files (*)"));
        if (name.isEmpty())
            return;
        if (QFileInfo::exists(name)) {
            const ui::Dialogs::Answer answer = m_dialogs.message(
                QStringLiteral("Replace existing file - ") + name + QLatin1Char('?'),
                ui::Dialogs::Buttons::YesNoCancel, ui::Dialogs::Icon::Question);
            if (answer == ui::Dialogs::Answer::Cancel)
                continue;
            if (answer == ui::Dialogs::Answer::Yes) {
                QFile old(name);
                if (!old.remove()) {
                    m_dialogs.warning(old.errorString());
                    return;
                }
            }
        }
        const QString error = log.open(name, true);
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            log.close();
            setEnabled("mnuCloseLog", false);
            return;
        }
        setEnabled("mnuCloseLog", true);
        return;
    }
}

void TerminalCommands::mnuSendText_Click() {
    // One transmission at a time: the entry can come back on (the port
    // reopened from the menu) while a file is still going out.
    if (!CancelSend)
        return;
    setEnabled("mnuSendText", false);
    QString name;
    for (;;) {
        name = m_dialogs.openFileName(QStringLiteral("Transmit Text File"),
                                      QStringLiteral("Text Files (*.txt);;All Files (*)"));
        if (name.isEmpty()) {
            setEnabled("mnuSendText", true);
            return;
        }
        if (QFileInfo::exists(name))
            break;
        m_dialogs.warning(name + QStringLiteral(" not found!"));
    }
    transmit(name);
    setEnabled("mnuSendText", true);
    CancelSend = true;
    m_cancelWindow->hide();
}

bool TerminalCommands::transmit(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.warning(file.errorString());
        return false;
    }
    CancelSend = false;
    m_cancelWindow->Label1()->setText(QStringLiteral("Transmitting Text File - ") + fileName);
    m_cancelWindow->show();
    m_cancelWindow->raise();

    // Blocks of the output buffer's size; the last one holds what is left of
    // the file and nothing more.
    const qint64 blockSize = qMax(1, m_port.OutBufferSize());
    QByteArray block(static_cast<qsizetype>(blockSize), '\0');
    while (!file.atEnd() && !CancelSend) {
        const qint64 n = file.read(block.data(), blockSize);
        if (n < 0) {
            m_dialogs.warning(file.errorString());
            return false;
        }
        if (n == 0)
            break;
        const QString error = m_port.Output(block.left(static_cast<qsizetype>(n)));
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
        waitForOutput();
    }
    return true;
}

void TerminalCommands::waitForOutput() {
    // Events run while the block leaves (the cancel button, received data,
    // the panel); the wait wakes on written bytes, a cancel or the check timer.
    while (!CancelSend && m_port.OutBufferCount() != 0) {
        QEventLoop loop;
        QTimer check;
        check.setTimerType(Qt::PreciseTimer);
        check.setSingleShot(true);
        connect(&check, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(&m_port, &ui::SerialPort::BytesWritten, &loop, &QEventLoop::quit);
        connect(&m_port, &ui::SerialPort::LinkLost, &loop, &QEventLoop::quit);
        connect(m_cancelWindow, &frmCancelSend::cancelRequested, &loop, &QEventLoop::quit);
        connect(&m_window, &frmTerminal::programEnded, &loop, &QEventLoop::quit);
        check.start(outputCheckMs);
        loop.exec();
    }
}

void TerminalCommands::mnuDial_Click() {
    PhoneNumber = QStringLiteral("1");
    const std::optional<QString> answer = m_dialogs.inputBox(
        QStringLiteral("Enter Phone Number:"), QStringLiteral("Dial Number"), PhoneNumber);
    if (!answer || answer->isEmpty())
        return;
    PhoneNumber = *answer;
    if (!m_port.PortOpen()) {
        // The port's own open reports why it could not open; the dial then
        // ends without a second message.
        m_window.serialChannel().mnuOpen_Click();
        if (!m_port.PortOpen())
            return;
    }
    setEnabled("mnuHangUp", true);
    m_port.Output(QStringLiteral("ATDT%1\r\n").arg(PhoneNumber).toLatin1());
}

void TerminalCommands::mnuHangUp_Click() {
    m_port.Output(QByteArrayLiteral("ATH"));
    // Drop the data-terminal-ready line once, then leave it as it was.
    const bool saved = m_port.DTREnable();
    m_port.setDTREnable(true);
    m_port.setDTREnable(false);
    m_port.setDTREnable(saved);
    setEnabled("mnuHangUp", false);
    if (m_port.PortOpen()) {
        const QString error = m_port.setPortOpen(false);
        if (!error.isEmpty())
            m_dialogs.warning(error);
    }
    setEnabled("mnuSendText", false);
    setEnabled("mnuHangUp", false);
    setEnabled("mnuDial", true);
    if (QAction *mnuOpen = action("mnuOpen"))
        mnuOpen->setChecked(false);
}

template <typename Getter, typename Setter>
void TerminalCommands::promptNumber(const QString &prompt, const QString &title, Getter get,
                                    Setter set) {
    const std::optional<QString> answer = m_dialogs.inputBox(prompt, title, withSignSpace(get()));
    if (!answer || answer->isEmpty())
        return;
    const std::optional<double> number = leadingNumber(*answer);
    const std::optional<qint16> value = number ? toInt16(*number) : std::nullopt;
    if (!value) {
        m_dialogs.warning(QStringLiteral("Overflow"));
        return;
    }
    const QString error = set(*value);
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

void TerminalCommands::mnuInputLen_Click() {
    promptNumber(
        QStringLiteral("Enter New InputLen:"), QStringLiteral("InputLen"),
        [this] { return m_port.InputLen(); }, [this](int n) { return m_port.setInputLen(n); });
}

void TerminalCommands::mnuRThreshold_Click() {
    promptNumber(
        QStringLiteral("Enter New RThreshold:"), QStringLiteral("RThreshold"),
        [this] { return m_port.RThreshold(); }, [this](int n) { return m_port.setRThreshold(n); });
}

void TerminalCommands::mnuSThreshold_Click() {
    promptNumber(
        QStringLiteral("Enter New SThreshold Value"), QStringLiteral("SThreshold"),
        [this] { return m_port.SThreshold(); }, [this](int n) { return m_port.setSThreshold(n); });
}

void TerminalCommands::mnuParRep_Click() {
    const std::optional<QString> answer =
        m_dialogs.inputBox(QStringLiteral("Enter Replace Character"),
                           QStringLiteral("ParityReplace"), m_port.ParityReplace());
    // Cancelling the box changes nothing; an empty answer clears the character.
    if (!answer)
        return;
    const QString error = m_port.setParityReplace(answer->left(1));
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

void TerminalCommands::mnuDTREnable_Click() {
    m_port.setDTREnable(!m_port.DTREnable());
    if (QAction *a = action("mnuDTREnable"))
        a->setChecked(m_port.DTREnable());
}

void TerminalCommands::showLine(const QString &name, bool state) {
    m_dialogs.message(name + QStringLiteral(" = ") + trueFalse(state), ui::Dialogs::Buttons::Ok,
                      ui::Dialogs::Icon::None);
}

void TerminalCommands::mnuHCD_Click() {
    showLine(QStringLiteral("CDHolding"), m_port.CDHolding());
}

void TerminalCommands::mnuHCTS_Click() {
    showLine(QStringLiteral("CTSHolding"), m_port.CTSHolding());
}

void TerminalCommands::mnuHDSR_Click() {
    showLine(QStringLiteral("DSRHolding"), m_port.DSRHolding());
}

frmProperties *TerminalCommands::loadProperties() {
    if (!m_properties) {
        m_properties = new frmProperties(m_window, m_port, m_dialogs, m_settings, &m_window);
        m_properties->setAttribute(Qt::WA_DeleteOnClose);
        m_properties->Form_Load();
    }
    return m_properties;
}

void TerminalCommands::showWindow(QWidget *window) {
    // A window shown afresh comes up on top; one already open is brought there.
    if (window->isVisible())
        window->raise();
    window->show();
    window->activateWindow();
}

void TerminalCommands::mnuProperties_Click() {
    showWindow(loadProperties());
}

void TerminalCommands::About_Click() {
    if (!m_about) {
        m_about = new frmAbout(m_dialogs, &m_window, m_host);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
        m_about->Form_Load();
    }
    showWindow(m_about);
}

} // namespace terminal
