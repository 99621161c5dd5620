#include "ui/SerialPort.h"

namespace ui {

namespace {
const QString invalidValue = QStringLiteral("Invalid property value");
}

QString SerialPort::setInputLen(int n) {
    if (n < 0)
        return invalidValue;
    m_inputLen = n;
    return {};
}

QString SerialPort::setRThreshold(int n) {
    if (n < 0)
        return invalidValue;
    m_rThreshold = n;
    return {};
}

QString SerialPort::setSThreshold(int n) {
    if (n < 0)
        return invalidValue;
    m_sThreshold = n;
    return {};
}

QString SerialPort::setParityReplace(const QString &c) {
    m_parityReplace = c.left(1);
    return {};
}

} // namespace ui
