// A station on its own, for the test of its last will: the client on the
// fakes of a test rig, connected to the broker on the port given as
// "velmar/STATION/", until it is stopped or killed.
//
// Usage: bus-station PORT STATION
#include "BusRig.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bus-station PORT STATION\n");
        return 2;
    }
    testbus::BusRig rig(quint16(QByteArray(argv[1]).toUInt()), true,
                        QString::fromLocal8Bit(argv[2]));
    rig.client->start();
    return app.exec();
}
