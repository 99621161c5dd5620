#include "terminal/PortPrompts.h"

#include "terminal/NumberAnswer.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

#include <QAction>

namespace terminal {

namespace {
// A number as the property prompts propose it: a leading space where a
// minus sign would stand.
QString withSignSpace(int n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}
} // namespace

PortPrompts::PortPrompts(ui::SerialPort &port, ui::Dialogs &dialogs, QAction &mnuDTREnable,
                         QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_dialogs(dialogs)
    , m_mnuDTREnable(mnuDTREnable) {}

template <typename Getter, typename Setter>
void PortPrompts::promptNumber(const QString &prompt, const QString &title, Getter get,
                               Setter set) {
    const std::optional<QString> answer = m_dialogs.inputBox(prompt, title, withSignSpace(get()));
    if (!answer || answer->isEmpty())
        return;
    const std::optional<double> number = leadingNumber(*answer);
    const std::optional<qint16> value = number ? toInt16(*number) : std::nullopt;
    if (!value) {
        m_dialogs.warning(tr("Overflow"));
        return;
    }
    const QString error = set(*value);
    if (!error.isEmpty())
        m_dialogs.warning(error);
}

void PortPrompts::mnuInputLen_Click() {
    promptNumber(
        QStringLiteral("Enter New InputLen:"), QStringLiteral("InputLen"),
        [this] { return m_port.InputLen(); }, [this](int n) { return m_port.setInputLen(n); });
}

void PortPrompts::mnuRThreshold_Click() {
    promptNumber(
        QStringLiteral("Enter New RThreshold:"), QStringLiteral("RThreshold"),
        [this] { return m_port.RThreshold(); }, [this](int n) { return m_port.setRThreshold(n); });
}

void PortPrompts::mnuSThreshold_Click() {
    promptNumber(
        QStringLiteral("Enter New SThreshold Value"), QStringLiteral("SThreshold"),
        [this] { return m_port.SThreshold(); }, [this](int n) { return m_port.setSThreshold(n); });
}

void PortPrompts::mnuParRep_Click() {
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

void PortPrompts::mnuDTREnable_Click() {
    m_port.setDTREnable(!m_port.DTREnable());
    m_mnuDTREnable.setChecked(m_port.DTREnable());
}

void PortPrompts::showLine(const QString &name, bool state) {
    m_dialogs.message(name + QStringLiteral(" = ") +
                          (state ? QStringLiteral("True") : QStringLiteral("False")),
                      ui::Dialogs::Buttons::Ok, ui::Dialogs::Icon::None);
}

void PortPrompts::mnuHCD_Click() {
    showLine(QStringLiteral("CDHolding"), m_port.CDHolding());
}

void PortPrompts::mnuHCTS_Click() {
    showLine(QStringLiteral("CTSHolding"), m_port.CTSHolding());
}

void PortPrompts::mnuHDSR_Click() {
    showLine(QStringLiteral("DSRHolding"), m_port.DSRHolding());
}

} // namespace terminal
