// The main window as a screen reader sees it, read over the accessibility
// bus (AT-SPI) by a client of its own on its own connection: every control
// has a name, a camera is named with its title, and a lit camera says so.
#include "Desktop.h"
#include "Panel.h"
#include "TestMain.h"
#include "app/Windows.h"
#include "config/CameraModel.h"
#include "config/frmSceltaLingua.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>

namespace {

struct Node {
    QString role; // "push button", "scroll bar", ...
    QString name;
    QString description;
    bool showing = false;
};

// A reader of the accessibility tree, as Orca reads it: blocking calls on
// its own thread, while the window answers from its event loop.
class TreeReader {
public:
    // The objects of the window titled windowName of the application named
    // appName, or why they could not be read.
    QList<Node> read(const QString &appName, const QString &windowName, QString &error) {
        QDBusConnection session = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                                QStringLiteral("reader-session"));
        const QDBusMessage reply = session.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
        if (reply.type() != QDBusMessage::ReplyMessage) {
            error = QStringLiteral("no accessibility bus: ") + reply.errorMessage();
            return {};
        }
        m_bus = QDBusConnection::connectToBus(reply.arguments().value(0).toString(),
                                              QStringLiteral("reader-a11y"));
        // The application registers once its bridge is connected.
        QElapsedTimer waited;
        waited.start();
        Ref app;
        while (app.bus.isEmpty() && waited.elapsed() < 15000) {
            for (const Ref &r : children({QStringLiteral("org.a11y.atspi.Registry"),
                                          QStringLiteral("/org/a11y/atspi/accessible/root")})) {
                if (property(r, QStringLiteral("Name")) == appName)
                    app = r;
            }
            if (app.bus.isEmpty())
                QThread::msleep(50);
        }
        if (app.bus.isEmpty()) {
            error = QStringLiteral("the application did not appear on the accessibility bus");
            return {};
        }
        QList<Node> nodes;
        for (const Ref &window : children(app)) {
            if (property(window, QStringLiteral("Name")) == windowName)
                walk(window, nodes, 0);
        }
        return nodes;
    }

private:
    struct Ref {
        QString bus;
        QString path;
    };

    QDBusMessage call(const Ref &r, const QString &interface, const QString &method,
                      const QVariantList &args = {}) {
        QDBusMessage m = QDBusMessage::createMethodCall(r.bus, r.path, interface, method);
        m.setArguments(args);
        return m_bus.call(m, QDBus::Block, 5000);
    }
    QString property(const Ref &r, const QString &name) {
        const QDBusMessage reply =
            call(r, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {QStringLiteral("org.a11y.atspi.Accessible"), name});
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    }
    QList<Ref> children(const Ref &r) {
        const QDBusMessage reply =
            call(r, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetChildren"));
        QList<Ref> out;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return out;
        const auto arg = reply.arguments().value(0).value<QDBusArgument>();
        arg.beginArray();
        while (!arg.atEnd()) {
            Ref child;
            QDBusObjectPath path;
            arg.beginStructure();
            arg >> child.bus >> path;
            arg.endStructure();
            child.path = path.path();
            out.append(child);
        }
        arg.endArray();
        return out;
    }
    void walk(const Ref &r, QList<Node> &nodes, int depth) {
        if (depth > 12)
            return;
        Node node;
        node.name = property(r, QStringLiteral("Name"));
        node.description = property(r, QStringLiteral("Description"));
        node.role =
            call(r, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetRoleName"))
                .arguments()
                .value(0)
                .toString();
        const QDBusMessage state =
            call(r, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetState"));
        const auto bits = qdbus_cast<QList<uint>>(state.arguments().value(0));
        node.showing = !bits.isEmpty() && (bits[0] & (1u << 25)); // ATSPI_STATE_SHOWING
        nodes.append(node);
        for (const Ref &child : children(r))
            walk(child, nodes, depth + 1);
    }

    QDBusConnection m_bus{QString()};
};

// Reads the tree on a thread of its own while this one answers.
QList<Node> readTree(const QString &appName, const QString &windowName, QString &error) {
    QList<Node> nodes;
    QThread *thread =
        QThread::create([&] { nodes = TreeReader().read(appName, windowName, error); });
    QSignalSpy done(thread, &QThread::finished);
    thread->start();
    if (!done.wait(60000))
        error = QStringLiteral("the accessibility tree was not read within 60 s");
    thread->wait();
    delete thread;
    QDBusConnection::disconnectFromBus(QStringLiteral("reader-a11y"));
    QDBusConnection::disconnectFromBus(QStringLiteral("reader-session"));
    return nodes;
}

// The accessibility events of the window, passed on to the bridge.
QList<std::pair<QObject *, QAccessible::Event>> g_events;
QAccessible::UpdateHandler g_bridge = nullptr;
void recordEvent(QAccessibleEvent *event) {
    g_events.append({event->object(), event->type()});
    if (g_bridge)
        g_bridge(event);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void aScreenReaderHearsThePanel() {
        if (const Desktop *desktop = Desktop::current();
            !desktop || !desktop->unavailable().isEmpty())
            QSKIP(qPrintable(QStringLiteral("no accessibility bus: ") +
                             (desktop ? desktop->unavailable() : QStringLiteral("no desktop"))));
        Panel p;
        p.window.Form_Load();
        // A fresh start puts the language chooser in front; closed, the
        // panel shows with its built-in captions.
        p.window.windows().chooser.close();
        QTRY_VERIFY(!p.window.windows().chooser.get());
        p.window.cameras().setTitle(5, QStringLiteral("GATE NORTH"));
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        QVERIFY(QAccessible::isActive());

        // Camera 5 on monitor 2; the change is told to the bridge as it is shown.
        g_bridge = QAccessible::installUpdateHandler(recordEvent);
        p.window.DecodeStatusReply(QString::fromLatin1("\x07\x40\x08\x00", 4));
        QAccessible::installUpdateHandler(g_bridge);
        QWidget *c5 = p.find(QStringLiteral("C5"));
        QVERIFY(g_events.contains(
            std::pair<QObject *, QAccessible::Event>{c5, QAccessible::DescriptionChanged}));

        QString error;
        const QList<Node> nodes =
            readTree(QStringLiteral("Velmar Controller"), p.window.windowTitle(), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(nodes.size() > 60, qPrintable(QString::number(nodes.size())));

        // Every control shown has a name.
        const QStringList controls = {
            QStringLiteral("frame"),     QStringLiteral("menu bar"),
            QStringLiteral("menu item"), QStringLiteral("push button"),
            QStringLiteral("check box"), QStringLiteral("scroll bar"),
            QStringLiteral("text"),      QStringLiteral("entry"),
            QStringLiteral("label"),     QStringLiteral("status bar"),
            QStringLiteral("combo box"), QStringLiteral("list"),
            QStringLiteral("slider"),    QStringLiteral("spin button"),
            QStringLiteral("table"),
        };
        int counted = 0;
        for (const Node &n : nodes) {
            if (!n.showing || !controls.contains(n.role))
                continue;
            ++counted;
            QVERIFY2(!n.name.trimmed().isEmpty(),
                     qPrintable(QStringLiteral("a %1 without a name").arg(n.role)));
        }
        QVERIFY(counted >= 60);

        const auto named = [&nodes](const QString &name, const QString &role = QString()) {
            for (const Node &n : nodes) {
                if (n.name == name && (role.isEmpty() || n.role == role))
                    return n;
            }
            return Node{};
        };
        const Node camera5 = named(QStringLiteral("Camera 5, GATE NORTH"));
        QCOMPARE(camera5.role, QStringLiteral("push button"));
        QCOMPARE(camera5.description, QStringLiteral("on the monitor the switcher reported"));
        QCOMPARE(named(QStringLiteral("Monitor 2")).description,
                 QStringLiteral("the monitor the switcher reported"));
        QCOMPARE(named(QStringLiteral("Camera 3, CAMERA 3")).description, QString());
        QCOMPARE(named(QStringLiteral("Pan Speed"), QStringLiteral("scroll bar")).description,
                 QStringLiteral("Speed 5 of 7"));
        QCOMPARE(named(QStringLiteral("Terminal")).role, QStringLiteral("text"));
        QVERIFY(!named(QStringLiteral("Remote site address")).role.isEmpty());
        QVERIFY(!named(QStringLiteral("Command code")).role.isEmpty());
        QCOMPARE(named(QStringLiteral("Preset 12")).role, QStringLiteral("push button"));
    }
};

VELMAR_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
