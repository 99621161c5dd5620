#include "ui/QtSerialPort.h"

#include "ui/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace ui {

namespace {

// The port's own text, in the language in use and in English.
Wording say(const char *source) {
    return Wording("ui::QtSerialPort", source);
}

#ifdef Q_OS_UNIX
// Who holds a port: the process named in the lock file that Qt (and the
// other terminals) keep in /run/lock, "LCK..ttyUSB0" for /dev/ttyUSB0.
Wording lockHolder(const QString &device) {
    QStringList names;
    for (const QString &path : {device, QFileInfo(device).canonicalFilePath()}) {
        QString name = path;
        if (name.startsWith(QLatin1String("/dev/")))
            name = name.mid(5);
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    for (const QString &name : std::as_const(names)) {
        for (const char *folder : {"/run/lock", "/var/lock"}) {
            QFile lock(QLatin1String(folder) + QStringLiteral("/LCK..") + name);
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            bool ok = false;
            const qint64 pid = lock.readLine(64).trimmed().toLongLong(&ok);
            if (!ok || pid <= 0)
                continue;
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            const QString program = comm.open(QIODevice::ReadOnly)
                                        ? QString::fromLocal8Bit(comm.readAll().trimmed())
                                        : QString();
            return program.isEmpty()
                       ? Wording("ui::QtSerialPort",
                                 QT_TRANSLATE_NOOP("ui::QtSerialPort", "process %1"))
                             .arg(pid)
                       : Wording("ui::QtSerialPort",
                                 QT_TRANSLATE_NOOP("ui::QtSerialPort", "%1, process %2"))
                             .arg(program)
                             .arg(pid);
        }
    }
    return {};
}
#endif
} // namespace

QtSerialPort::QtSerialPort(const SettingsStore &store, QObject *parent)
    : SerialPort(parent)
    , m_store(store) {
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&m_port, &QSerialPort::bytesWritten, this, &SerialPort::BytesWritten);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() = default;

QString QtSerialPort::devicePath(int port) const {
    if (const QString chosen = chosenDevice(port); !chosen.isEmpty())
        return chosen;
    // "Com3", "com3" and "COM3" all name port 3; the exact spelling wins.
    const QString key = QStringLiteral("Com%1").arg(port);
    QString mapped;
    const SettingsStore::Entries entries = m_store.entries(QStringLiteral("Ports"));
    for (const auto &[name, device] : entries) {
        if (name.compare(key, Qt::CaseInsensitive) == 0 && (mapped.isEmpty() || name == key))
            mapped = device;
    }
    if (!mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

QList<SerialPort::Device> QtSerialPort::devicesPresent() const {
    // A by-id link names the adapter whatever node it gets after a replug.
    QHash<QString, QString> byId;
    const QDir links(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList entries = links.entryInfoList(QDir::System | QDir::Files);
    for (const QFileInfo &link : entries)
        byId.insert(link.canonicalFilePath(), link.absoluteFilePath());
    QList<Device> out;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const QString node = info.systemLocation();
        QStringList about;
        if (!info.description().isEmpty())
            about << info.description();
        if (!info.manufacturer().isEmpty() && info.manufacturer() != info.description())
            about << info.manufacturer();
        if (!info.serialNumber().isEmpty())
            about << QStringLiteral("serial %1").arg(info.serialNumber());
        about << node;
        out.append({byId.value(QFileInfo(node).canonicalFilePath(), node),
                    about.join(QStringLiteral(", "))});
    }
    return out;
}

QString QtSerialPort::mappingProblem() const {
    static const QRegularExpression portKey(QStringLiteral("^com([1-9]|1[0-6])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList unused;
    const SettingsStore::Entries entries = m_store.entries(QStringLiteral("Ports"));
    for (const auto &entry : entries) {
        if (!portKey.match(entry.first).hasMatch())
            unused.append(entry.first + QLatin1Char('=') + entry.second);
    }
    if (unused.isEmpty())
        return {};
    return tr("settings.ini, [Ports]: %1 names no serial port (Com1 to Com16) and "
              "is not used.")
        .arg(unused.join(QStringLiteral(", ")));
}

QString QtSerialPort::setCommPort(int port) {
    if (m_port.isOpen())
        return tr("Port already open");
    if (port < 1 || port > 255)
        return tr("Invalid port number");
    m_commPort = port;
    emit SettingsChanged();
    return {};
}

QString QtSerialPort::setSettings(const QString &settings) {
    QString error;
    const auto parsed = SerialSettings::parse(settings, &error);
    if (!parsed)
        return error;
    if (parsed->dataBits < 5)
        return tr("%1 data bits are not supported by this port").arg(parsed->dataBits);
#ifndef Q_OS_WIN
    if (parsed->stopBits == QLatin1String("1.5"))
        return tr("1.5 stop bits are not supported by this port");
#endif
    if (m_port.isOpen()) {
        const Wording refused = apply(*parsed);
        if (!refused.isEmpty()) {
            apply(m_settings);
            return said(refused);
        }
    }
    m_settings = *parsed;
    emit SettingsChanged();
    return {};
}

QString QtSerialPort::setHandshaking(int code) {
    if (code < 0 || code > 3)
        return tr("Invalid property value");
    if (m_port.isOpen()) {
        const Wording error = applyHandshaking(code);
        if (!error.isEmpty()) {
            applyHandshaking(m_handshaking);
            return said(error);
        }
    }
    m_handshaking = code;
    emit SettingsChanged();
    return {};
}

Wording QtSerialPort::portError(const Wording &what) const {
    return Wording::verbatim(QStringLiteral("Com%1 (%2): %3"))
        .arg(m_commPort)
        .arg(devicePath(m_commPort))
        .arg(what);
}

QString QtSerialPort::said(const Wording &reason) const {
    // A few reasons are remembered: the log asks for the one just given.
    if (m_english.size() > 32)
        m_english.clear();
    if (reason.english() != reason.shown())
        m_english.insert(reason.shown(), reason.english());
    return reason.shown();
}

QString QtSerialPort::inEnglish(const QString &said) const {
    return m_english.value(said, said);
}

Wording QtSerialPort::openFailure() const {
    const QString device = devicePath(m_commPort);
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "there is no such device"));
    case QSerialPort::PermissionError: {
#ifdef Q_OS_UNIX
        // Qt says "permission" both for a device this user may not open and
        // for one that another program holds.
        if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0)
            return say(QT_TRANSLATE_NOOP(
                "ui::QtSerialPort", "no permission to open the device; on Debian, add the user to "
                                    "the dialout group (adduser $USER dialout) and log in again"));
        const Wording holder = lockHolder(device);
        return holder.isEmpty()
                   ? say(QT_TRANSLATE_NOOP("ui::QtSerialPort",
                                           "the port is in use by another program"))
                   : say(QT_TRANSLATE_NOOP("ui::QtSerialPort",
                                           "the port is in use by another program (%1)"))
                         .arg(holder);
#else
        return say(QT_TRANSLATE_NOOP("ui::QtSerialPort",
                                     "the port is in use by another program, or access is "
                                     "denied"));
#endif
    }
    default:
        return Wording::verbatim(m_port.errorString());
    }
}

Wording QtSerialPort::apply(const SerialSettings &s) {
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                   QSerialPort::OddParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    const int parity = static_cast<int>(QByteArrayView("neoms").indexOf(s.parity));
    QSerialPort::StopBits stop = QSerialPort::OneStop;
    if (s.stopBits == QLatin1String("2"))
        stop = QSerialPort::TwoStop;
    else if (s.stopBits == QLatin1String("1.5"))
        stop = QSerialPort::OneAndHalfStop;
    const auto refused = [this](const Wording &what) {
        Wording reason = Wording::verbatim(m_port.errorString());
        m_port.clearError();
        if (m_port.error() == QSerialPort::NoError && reason.english() == QLatin1String("No error"))
            reason = say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "the device refuses it"));
        return portError(
            say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "cannot set %1: %2")).arg(what).arg(reason));
    };
    if (!m_port.setBaudRate(s.speed))
        return refused(say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "%1 baud")).arg(s.speed));
    if (!m_port.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)))
        return refused(say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "%1 data bits")).arg(s.dataBits));
    if (!m_port.setParity(parities[parity < 0 ? 0 : parity]))
        return refused(say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "parity %1"))
                           .arg(QString(QLatin1Char(s.parity))));
    if (!m_port.setStopBits(stop))
        return refused(say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "%1 stop bits")).arg(s.stopBits));
    return {};
}

Wording QtSerialPort::applyHandshaking(int code) {
    const QSerialPort::FlowControl flow = code == 1   ? QSerialPort::SoftwareControl
                                          : code == 0 ? QSerialPort::NoFlowControl
                                                      : QSerialPort::HardwareControl;
    if (!m_port.setFlowControl(flow)) {
        const Wording error = portError(Wording::verbatim(m_port.errorString()));
        m_port.clearError();
        return error;
    }
    if (code == 3) {
#ifdef Q_OS_UNIX
        // QSerialPort knows no "both"; add Xon/Xoff to the RTS/CTS it set.
        termios tio{};
        const int fd = static_cast<int>(m_port.handle());
        if (::tcgetattr(fd, &tio) != 0)
            return portError(Wording::verbatim(QString::fromLocal8Bit(strerror(errno))));
        tio.c_iflag |= IXON | IXOFF;
        if (::tcsetattr(fd, TCSANOW, &tio) != 0)
            return portError(Wording::verbatim(QString::fromLocal8Bit(strerror(errno))));
#else
        return portError(say(QT_TRANSLATE_NOOP("ui::QtSerialPort",
                                               "Xon/Xoff together with RTS/CTS is not supported")));
#endif
    }
    return {};
}

QString QtSerialPort::setPortOpen(bool open) {
    if (open == m_port.isOpen())
        return open ? tr("Port already open") : QString();
    if (!open) {
        // Hand what is still queued (a modem's hang-up command written just
        // before) to the line without waiting; closing would drop it.
        m_port.flush();
        m_port.clearError();
        m_port.close();
        return {};
    }
    m_port.setPortName(devicePath(m_commPort));
    if (!m_port.open(QIODevice::ReadWrite)) {
        const Wording error = portError(openFailure());
        m_port.clearError();
        return said(error);
    }
    Wording error = apply(m_settings);
    if (error.isEmpty())
        error = applyHandshaking(m_handshaking);
    if (!error.isEmpty()) {
        m_port.close();
        return said(error);
    }
    m_losing = false;
    // A line without modem control (a pseudo-terminal) refuses this; that is
    // not a fault of the link.
    m_port.setDataTerminalReady(m_dtr);
    m_port.clearError();
    return {};
}

QString QtSerialPort::Output(const QByteArray &bytes) {
    if (!m_port.isOpen())
        return tr("Operation valid only when the port is open");
    qsizetype sent = 0;
#ifdef Q_OS_UNIX
    // With nothing queued, the bytes go to the line at once instead of on the
    // event loop's next pass, after whatever repaint the same click asked
    // for. A line that takes only part of them (or none: it is backed up)
    // gets the rest through the port's queue, which waits for it.
    if (m_port.bytesToWrite() == 0) {
        const ssize_t n =
            ::write(static_cast<int>(m_port.handle()), bytes.constData(), bytes.size());
        if (n > 0) {
            sent = n;
            // Announced from the event loop, as the queue announces its writes.
            QMetaObject::invokeMethod(this, &SerialPort::BytesWritten, Qt::QueuedConnection);
        }
    }
#endif
    const qsizetype rest = bytes.size() - sent;
    if (rest > 0 && m_port.write(bytes.constData() + sent, rest) != rest)
        return portError(Wording::verbatim(m_port.errorString())).shown();
    return {};
}

QByteArray QtSerialPort::Input() {
    if (!m_port.isOpen())
        return {};
    // The port reads into 32 KB buffers and hands one back whole when all of
    // it is asked for, whatever read() is told: a frame kept by the event
    // log, the traffic window or the browser panel would keep 32 KB for a
    // reply of a few bytes. What is read is copied out at its size.
    const qint64 available = m_port.bytesAvailable();
    const QByteArray bytes =
        m_port.read(m_inputLen > 0 ? qMin<qint64>(m_inputLen, available) : available);
    return bytes.capacity() > bytes.size() + 64 ? QByteArray(bytes.constData(), bytes.size())
                                                : bytes;
}

int QtSerialPort::OutBufferCount() const {
    if (!m_port.isOpen())
        return 0;
    qint64 count = m_port.bytesToWrite();
#ifdef Q_OS_UNIX
    // What the driver still holds counts too: bytes handed to it that the
    // line has not sent (hardware handshake held, the switcher off).
    int queued = 0;
    if (::ioctl(static_cast<int>(m_port.handle()), TIOCOUTQ, &queued) == 0 && queued > 0)
        count += queued;
#endif
    return static_cast<int>(qMin<qint64>(count, INT_MAX));
}

QString QtSerialPort::setDTREnable(bool on) {
    m_dtr = on;
    if (m_port.isOpen()) {
        m_port.setDataTerminalReady(on);
        m_port.clearError();
    }
    return {};
}

bool QtSerialPort::pinout(QSerialPort::PinoutSignal signal) const {
    if (!m_port.isOpen())
        return false;
    const bool on = m_port.pinoutSignals().testFlag(signal);
    m_port.clearError();
    return on;
}

bool QtSerialPort::CDHolding() const {
    return pinout(QSerialPort::DataCarrierDetectSignal);
}
bool QtSerialPort::CTSHolding() const {
    return pinout(QSerialPort::ClearToSendSignal);
}
bool QtSerialPort::DSRHolding() const {
    return pinout(QSerialPort::DataSetReadySignal);
}

void QtSerialPort::onReadyRead() {
    if (m_rThreshold <= 0)
        return;
    while (m_port.isOpen() && m_port.bytesAvailable() >= m_rThreshold) {
        const qint64 before = m_port.bytesAvailable();
        m_commEvent = comEvReceive;
        emit OnComm();
        // A handler that reads nothing (or less than a threshold's worth
        // when InputLen limits it) waits for the next arrival.
        if (!m_port.isOpen() || m_port.bytesAvailable() >= before)
            break;
    }
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        break;
    default:
        // Modem-line requests that a line without modem control refuses,
        // time-outs and errors of a failed open are handled where they occur.
        return;
    }
    if (!m_port.isOpen() || m_losing)
        return;
    m_losing = true;
    // The device going away is what every such error means here; Qt's own
    // text is often a stale error code ("File exists").
    const QString description =
        said(portError(say(QT_TRANSLATE_NOOP("ui::QtSerialPort", "the device is gone (unplugged or "
                                                                 "switched off); the port is "
                                                                 "closed"))));
    // Closing from inside QSerialPort's own notifier is not safe; close just after.
    QTimer::singleShot(0, this, [this, description] {
        if (!m_port.isOpen())
            return;
        m_port.close();
        m_port.clearError();
        emit LinkLost(description);
    });
}

} // namespace ui
