#include "app/AddressBox.h"

#include "link/Session.h"
#include "ui/Latin1Validator.h"
#include "ui/Retranslator.h"

#include <QLineEdit>

namespace app {

AddressBox::AddressBox(devicelink::Session &session, QWidget *parent)
    : QObject(parent)
    , m_session(session)
    , m_IPAD(new QLineEdit(session.channel().addressText(), parent)) {
    m_IPAD->setObjectName(QStringLiteral("IPAD"));
    m_IPAD->setReadOnly(true);
    m_IPAD->setValidator(new ui::Latin1Validator(m_IPAD));
    ui::Retranslator::keep(
        m_IPAD,
        [this] {
            m_IPAD->setToolTip(tr("The remote site in use: \"0.0.0.0\" means the serial port; "
                                  "choose a site with <=>"));
        },
        this);
    connect(m_IPAD, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_session.setChannel(devicelink::ChannelChoice::fromAddress(text));
    });
    connect(&session, &devicelink::Session::channelChanged, this,
            [this](const devicelink::ChannelChoice &choice) {
                if (m_IPAD->text() != choice.addressText())
                    m_IPAD->setText(choice.addressText());
            });
}

} // namespace app
