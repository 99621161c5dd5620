#pragma once

#include <QObject>

class QLineEdit;
class QWidget;

namespace devicelink {
class Session;
}

namespace app {

// The remote address box IPAD: shows the session's channel, "0.0.0.0" for
// the serial port or the site's host. The operator changes it only through
// the site chooser; text put into it (by a tool or a test) chooses the
// channel as the chooser does.
class AddressBox : public QObject {
    Q_OBJECT
public:
    AddressBox(devicelink::Session &session, QWidget *parent);

    QLineEdit *box() const { return m_IPAD; }

private:
    devicelink::Session &m_session;
    QLineEdit *m_IPAD;
};

} // namespace app
