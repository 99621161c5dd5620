#include "ui/SerialPort.h"

#include <QEventLoop>
#include <QTimer>

namespace ui {

void waitOnOutput(SerialPort &port, int ms, const std::function<void(QEventLoop &)> &alsoWakeOn) {
    QEventLoop loop;
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&port, &SerialPort::BytesWritten, &loop, &QEventLoop::quit);
    QObject::connect(&port, &SerialPort::LinkLost, &loop, &QEventLoop::quit);
    if (alsoWakeOn)
        alsoWakeOn(loop);
    // The driver's queue empties without a word: it is looked at again soon.
    wake.start(qBound(0, ms, recheckMs));
    loop.exec();
}

namespace {
QString invalidValue() {
    return SerialPort::tr("Invalid property value");
}
} // namespace

void SerialPort::chooseDevice(int port, const QString &path) {
    if (path.isEmpty())
        m_chosenDevices.remove(port);
    else
        m_chosenDevices.insert(port, path);
}

QString SerialPort::setInputLen(int n) {
    if (n < 0)
        return invalidValue();
    m_inputLen = n;
    return {};
}

QString SerialPort::setRThreshold(int n) {
    if (n < 0)
        return invalidValue();
    m_rThreshold = n;
    return {};
}

QString SerialPort::setSThreshold(int n) {
    if (n < 0)
        return invalidValue();
    m_sThreshold = n;
    return {};
}

QString SerialPort::setParityReplace(const QString &c) {
    m_parityReplace = c.left(1);
    return {};
}

} // namespace ui
