// The alarm socket on a real local socket: a request and its answer through
// the client of `--alarm N on|off`, a folder and a socket only the user may
// use, a socket left behind replaced and a running one left alone, and
// clients that send too much, too little or come too many.
#include "AutomationRig.h"
#include "TestMain.h"
#include "automation/AlarmClient.h"
#include "automation/AlarmServer.h"

#include <QLocalSocket>
#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using automation::AlarmServer;

namespace {
mode_t modeOf(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A server on the rig's engine, in a runtime folder of the test's own.
struct SocketRig {
    AutomationRig rig{"[Alarm7]\nMonitor=1\nCamera=12\n"};
    QTemporaryDir runtime;
    QString folder = runtime.filePath(QStringLiteral("velmar-controller"));
    AlarmServer server{*rig};

    SocketRig() { rig->start(); }
    bool listen() {
        server.listen(folder);
        return QTest::qWaitFor([this]() { return !server.state().isEmpty(); }) &&
               server.isListening();
    }
    int send(const QString &input, const QString &state, QString *message = nullptr) {
        QString text;
        const int status = automation::sendAlarm(input, state, text, folder);
        if (message)
            *message = text;
        return status;
    }
};
} // namespace

class TestAlarmSocket : public QObject {
    Q_OBJECT

private slots:
    void requests_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("on") << "7"
                            << "on" << 0 << "alarm 7 on";
        QTest::newRow("ON") << "7"
                            << "ON" << 0 << "alarm 7 on";
        QTest::newRow("not bound") << "9"
                                   << "on" << 1 << "alarm 9 on: alarm 9 is not bound to a monitor";
        QTest::newRow("65") << "65"
                            << "on" << 2 << "--alarm N on|off: an alarm input is 1 to 64";
        QTest::newRow("maybe") << "7"
                               << "maybe" << 2 << "--alarm N on|off: an alarm is on or off";
    }
    void requests() {
        QFETCH(QString, input);
        QFETCH(QString, state);
        QFETCH(int, status);
        QFETCH(QString, message);
        SocketRig s;
        QVERIFY(s.listen());
        QString said;
        QCOMPARE(s.send(input, state, &said), status);
        QCOMPARE(said, message);
        QCOMPARE(s.rig.alarm(7).active, status == 0);
        if (status == 0) {
            QCOMPARE(s.rig.switcher.log(), QStringList{"route 1 12 by alarm 7"});
            QCOMPARE(s.rig.notesOf("alarm 7").first(), QStringLiteral("raised by alarm socket"));
            QCOMPARE(s.send(input, QStringLiteral("off")), 0);
            QVERIFY(!s.rig.alarm(7).active);
        }
    }

    void noProgramAnswers() {
        SocketRig s;
        QString said;
        QCOMPARE(s.send(QStringLiteral("7"), QStringLiteral("on"), &said), 3);
        QVERIFY2(said.startsWith(QLatin1String("no running velmar-controller")), qPrintable(said));
    }

    void onlyTheUser() {
        SocketRig s;
        QVERIFY(s.listen());
        QCOMPARE(modeOf(s.folder), mode_t(0700));
        QCOMPARE(modeOf(AlarmServer::socketPath(s.folder)), mode_t(0600));
        QVERIFY(s.server.state().contains(AlarmServer::socketPath(s.folder)));
    }

    void aFolderOthersMayEnter() {
        SocketRig s;
        QVERIFY(QDir().mkdir(s.folder));
        QVERIFY(::chmod(QFile::encodeName(s.folder).constData(), 0755) == 0);
        QVERIFY(!s.listen());
        QVERIFY2(s.server.state().contains(QLatin1String("other users")),
                 qPrintable(s.server.state()));
        QCOMPARE(s.send(QStringLiteral("7"), QStringLiteral("on")), 3);
    }

    // A program that ended without removing its socket: it is replaced.
    void aSocketLeftBehind() {
        SocketRig s;
        QVERIFY(QDir().mkdir(s.folder));
        QVERIFY(::chmod(QFile::encodeName(s.folder).constData(), 0700) == 0);
        const QByteArray path = QFile::encodeName(AlarmServer::socketPath(s.folder));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(AlarmServer::socketPath(s.folder)));
        QVERIFY(s.listen());
        QCOMPARE(s.send(QStringLiteral("7"), QStringLiteral("on")), 0);
    }

    // Another program answers on it: it is left alone, and keeps answering.
    void aRunningProgramIsLeftAlone() {
        SocketRig s;
        QVERIFY(s.listen());
        AlarmServer second(*s.rig);
        second.listen(s.folder);
        QTRY_VERIFY(!second.state().isEmpty());
        QVERIFY(!second.isListening());
        QVERIFY2(second.state().contains(QLatin1String("another program")),
                 qPrintable(second.state()));
        QCOMPARE(s.send(QStringLiteral("7"), QStringLiteral("on")), 0);
    }

    void aFileThatIsNotASocket() {
        SocketRig s;
        QVERIFY(QDir().mkdir(s.folder));
        QVERIFY(::chmod(QFile::encodeName(s.folder).constData(), 0700) == 0);
        AutomationRig::writeTo(AlarmServer::socketPath(s.folder), "mine");
        QVERIFY(!s.listen());
        QCOMPARE(AutomationRig::read(AlarmServer::socketPath(s.folder)), QByteArray("mine"));
    }

    void clientsThatMisbehave() {
        SocketRig s;
        QVERIFY(s.listen());
        const QString path = AlarmServer::socketPath(s.folder);

        // Too much without a line end: refused, cut off, nothing done.
        QLocalSocket chatty;
        chatty.connectToServer(path);
        QTRY_VERIFY(chatty.state() == QLocalSocket::ConnectedState);
        chatty.write(QByteArray(4096, 'a'));
        QTRY_VERIFY(chatty.state() == QLocalSocket::UnconnectedState);
        QCOMPARE(chatty.readAll(), QByteArray("refused the line is too long\n"));

        // Too many at once: the one over the bound is cut at once.
        QList<QLocalSocket *> many;
        for (int i = 0; i <= AlarmServer::maxClients; ++i) {
            auto *c = new QLocalSocket(this);
            c->connectToServer(path);
            many << c;
        }
        QTRY_COMPARE(std::count_if(many.begin(), many.end(),
                                   [](QLocalSocket *c) {
                                       return c->state() == QLocalSocket::UnconnectedState;
                                   }),
                     qsizetype(1));
        // Silent ones are cut after the timeout.
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(many.begin(), many.end(),
                                             [](QLocalSocket *c) {
                                                 return c->state() ==
                                                        QLocalSocket::UnconnectedState;
                                             }),
                                 AlarmServer::clientTimeoutMs * 3);
        qDeleteAll(many);
        QVERIFY(!s.rig.alarm(7).active);
        // And the socket still answers.
        QCOMPARE(s.send(QStringLiteral("7"), QStringLiteral("on")), 0);
    }
};

VELMAR_TEST_MAIN(TestAlarmSocket)
#include "tst_alarmsocket.moc"
