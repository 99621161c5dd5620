#include "events/EventStore.h"

#include "events/EventWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace events {

EventStore::EventStore(const QString &path, EventLimits limits, EventTiming timing, QObject *parent)
    : QObject(parent)
    , m_path(path)
    , m_queue(timing.queueCapacity) {
    EventWriter::Settings settings;
    settings.path = path;
    settings.keepDays = limits.keepDays;
    settings.maxBytes = limits.maxBytes;
    settings.commitMs = timing.commitMs;
    settings.retryMs = timing.retryMs;
    settings.maintenanceMs = timing.maintenanceMs;
    settings.diskFree = limits.diskFree;
    settings.program = thisProgram();
    m_writer = new EventWriter(m_queue, settings);
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_writer, &EventWriter::start);
    connect(m_writer, &EventWriter::stateChanged, this,
            [this](bool writing, const QString &reason) {
                m_writing = writing;
                m_reason = reason;
                emit stateChanged(writing, reason);
            });
    connect(m_writer, &EventWriter::setAside, this, &EventStore::setAside);
    connect(m_writer, &EventWriter::committed, this, [this](qint64 written) {
        m_written = written;
        emit committed(written);
    });
    m_thread.setObjectName(QStringLiteral("event log"));
    m_thread.start();
}

EventStore::~EventStore() {
    QMetaObject::invokeMethod(m_writer, &EventWriter::finish, Qt::QueuedConnection);
    m_thread.wait();
    delete m_writer;
}

QString EventStore::defaultPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:/ini/events.sqlite");
#else
    // Qt has no place for state: the XDG rule is followed here, a relative
    // value being no value.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QFileInfo(base).isRelative())
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/velmar-controller/events.sqlite");
#endif
}

QString EventStore::thisProgram() {
    return QSysInfo::machineHostName() + QLatin1Char(':') +
           QString::number(QCoreApplication::applicationPid());
}

void EventStore::append(const Event &event) {
    if (m_queue.push(event))
        QMetaObject::invokeMethod(m_writer, &EventWriter::schedule, Qt::QueuedConnection);
}

} // namespace events
