#include "terminal/frmCancelSend.h"

#include "ui/PlainText.h"
#include "ui/Retranslator.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace terminal {

frmCancelSend::frmCancelSend(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmCancelSend"));
    setWindowTitle(QStringLiteral("Velmar"));
    m_Label1 = ui::plainLabel(new QLabel(this));
    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setMinimumWidth(300);
    m_Command1 = new QPushButton(this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_Label1);
    layout->addWidget(m_Command1, 0, Qt::AlignHCenter);
    connect(m_Command1, &QPushButton::clicked, this, &frmCancelSend::Command1_Click);
    ui::Retranslator::keep(this, [this] {
        m_Command1->setText(tr("Cancel"));
        if (m_running)
            m_Label1->setText(tr("Transmitting Text File - %1").arg(m_fileName));
    });
}

void frmCancelSend::start(const QString &fileName) {
    m_fileName = fileName;
    m_Label1->setText(tr("Transmitting Text File - %1").arg(fileName));
    m_running = true;
    show();
    raise();
}

void frmCancelSend::finish() {
    m_running = false;
    hide();
}

void frmCancelSend::Command1_Click() {
    m_running = false;
    emit cancelRequested();
}

void frmCancelSend::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        // The stay-on-top hint is set once when the window is made; changing
        // window flags later would hide and re-create it. Raising keeps it
        // above its owner without moving or resizing it.
        raise();
    } else if (m_running) {
        // Back on screen, without taking the focus from the panel, which
        // keeps working during the transmission.
        if (isMinimized())
            showNormal();
        else
            show();
        raise();
    }
}

void frmCancelSend::closeEvent(QCloseEvent *event) {
    // Closing the window while a file goes out would leave the transmission
    // running with no way to stop it: closing asks it to stop instead, and
    // the transmission hides the window when it ends.
    if (m_running) {
        event->ignore();
        Command1_Click();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace terminal
