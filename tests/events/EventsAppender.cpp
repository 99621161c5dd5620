// A program that appends an event to the log every 2 ms until it is killed:
// "frame 0", "frame 1", ... each stamped with the time it was appended. It
// says "writing" once the log has committed its first event.
#include "events/EventStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    events::EventStore store(QString::fromLocal8Bit(argv[1]));
    qint64 next = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(2);
    QObject::connect(&tick, &QTimer::timeout, &store, [&] {
        store.append({QDateTime::currentMSecsSinceEpoch(), events::Event::Direction::Sent,
                      QStringLiteral("serial Com1"), QStringLiteral("panel"), QByteArray("\x35\r"),
                      QStringLiteral("frame %1").arg(next++)});
    });
    QObject::connect(&store, &events::EventStore::committed, &store, [] {
        static bool said = false;
        if (!std::exchange(said, true)) {
            std::puts("writing");
            std::fflush(stdout);
        }
    });
    tick.start();
    return app.exec();
}
