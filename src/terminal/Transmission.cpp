#include "terminal/Transmission.h"

#include "link/Session.h"
#include "terminal/frmCancelSend.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

namespace terminal {

Transmission::Transmission(devicelink::Session &session, ui::Dialogs &dialogs, QAction &mnuSendText,
                           QWidget &window)
    : QObject(&window)
    , m_session(session)
    , m_dialogs(dialogs)
    , m_mnuSendText(mnuSendText)
    , m_cancelWindow(new frmCancelSend(&window)) {
    m_cancelWindow->hide();
    connect(m_cancelWindow, &frmCancelSend::cancelRequested, this, [this] { CancelSend = true; });
}

Transmission::~Transmission() = default;

void Transmission::stop() {
    CancelSend = true;
}

void Transmission::mnuSendText_Click() {
    // One transmission at a time: the entry can come back on (the port
    // reopened from the menu) while a file is still going out.
    if (!CancelSend)
        return;
    m_mnuSendText.setEnabled(false);
    QString name;
    for (;;) {
        name = m_dialogs.openFileName(tr("Transmit Text File"),
                                      tr("Text Files (*.txt);;All Files (*)"));
        if (name.isEmpty()) {
            m_mnuSendText.setEnabled(true);
            return;
        }
        if (QFileInfo::exists(name))
            break;
        m_dialogs.warning(name + QStringLiteral(" not found!"));
    }
    transmit(name);
    m_mnuSendText.setEnabled(true);
    CancelSend = true;
    m_cancelWindow->finish();
}

bool Transmission::transmit(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.warning(file.errorString());
        return false;
    }
    CancelSend = false;
    m_cancelWindow->start(fileName);

    // Blocks of the output buffer's size; the last one holds what is left of
    // the file and nothing more.
    const qint64 blockSize = qMax(1, m_session.serial().port().OutBufferSize());
    QByteArray block(static_cast<qsizetype>(blockSize), '\0');
    while (!file.atEnd() && !CancelSend) {
        const qint64 n = file.read(block.data(), blockSize);
        if (n < 0) {
            m_dialogs.warning(file.errorString());
            return false;
        }
        if (n == 0)
            break;
        const QString error = m_session.writeSerial(block.left(static_cast<qsizetype>(n)),
                                                    {devicelink::Origin::Kind::Transmission});
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
        waitForOutput();
    }
    return true;
}

void Transmission::waitForOutput() {
    // Pending events run at least once a block, also when the block has
    // left at once: the cancel window paints and its button answers.
    QCoreApplication::processEvents();
    // Then events run while the block leaves (the cancel button, received
    // data, the panel); the wait wakes on written bytes, a cancel or the
    // check timer.
    ui::SerialPort &port = m_session.serial().port();
    while (!CancelSend && port.OutBufferCount() != 0) {
        ui::waitOnOutput(port, ui::recheckMs, [this](QEventLoop &loop) {
            connect(m_cancelWindow, &frmCancelSend::cancelRequested, &loop, &QEventLoop::quit);
        });
    }
}

} // namespace terminal
