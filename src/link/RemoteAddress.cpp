#include "link/RemoteAddress.h"

#include "ui/Latin1Validator.h"

#include <QLineEdit>

namespace devicelink {

const QString RemoteAddress::serialMarker = QStringLiteral("0.0.0.0");

RemoteAddress::RemoteAddress(QWidget *parent)
    : QObject(parent)
    , m_IPAD(new QLineEdit(serialMarker, parent)) {
    m_IPAD->setObjectName(QStringLiteral("IPAD"));
    // Only the remote site chooser changes the address.
    m_IPAD->setReadOnly(true);
    m_IPAD->setValidator(new ui::Latin1Validator(m_IPAD));
    m_IPAD->setToolTip(QStringLiteral("The remote site in use: \"0.0.0.0\" means the serial "
                                      "port; choose a site with <=>"));
    connect(m_IPAD, &QLineEdit::textChanged, this, &RemoteAddress::changed);
}

QString RemoteAddress::text() const {
    return m_IPAD->text();
}

void RemoteAddress::setText(const QString &address) {
    m_IPAD->setText(address);
}

bool RemoteAddress::serialSelected() const {
    return m_IPAD->text() == serialMarker;
}

} // namespace devicelink
