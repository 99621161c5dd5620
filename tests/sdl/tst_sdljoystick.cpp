// The SDL joystick adapter read through SDL's virtual joystick: the axes'
// counts, the button mask, a stick that goes away, and the joystick window
// when there is no stick at all.
#include "Panel.h"
#include "joystick/JoystickLauncher.h"
#include "joystick/frmCenter.h"
#include "link/SerialChannel.h"
#include "ui/Timer.h"
#include "ui/sdl/SdlJoystick.h"

#include <QAction>
#include <SDL.h>

namespace {

// A virtual stick plugged in for the length of a test.
class VirtualStick {
public:
    VirtualStick(int axes, int buttons) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = static_cast<Uint16>(axes);
        desc.nbuttons = static_cast<Uint16>(buttons);
        desc.name = "Velmar test stick";
        m_index = SDL_JoystickAttachVirtualEx(&desc);
        if (m_index >= 0)
            m_stick = SDL_JoystickOpen(m_index);
        if (m_stick)
            m_id = SDL_JoystickInstanceID(m_stick);
    }
    ~VirtualStick() {
        unplug();
        if (m_stick)
            SDL_JoystickClose(m_stick);
    }
    bool ok() const { return m_stick != nullptr; }
    void axis(int n, Sint16 value) { QCOMPARE(SDL_JoystickSetVirtualAxis(m_stick, n, value), 0); }
    void button(int n, bool down) {
        QCOMPARE(SDL_JoystickSetVirtualButton(m_stick, n, down ? 1 : 0), 0);
    }
    void unplug() {
        if (m_index < 0)
            return;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickDetachVirtual(i);
        }
        m_index = -1;
    }

private:
    int m_index = -1;
    SDL_JoystickID m_id = -1;
    SDL_Joystick *m_stick = nullptr;
};

} // namespace

class TestSdlJoystick : public QObject {
    Q_OBJECT

    // The adapter reads joystick 0; a real device would come first.
    void needNoRealSticks() {
        if (SDL_NumJoysticks() > 0)
            QSKIP("a joystick is attached to this machine");
    }

private slots:
    void initTestCase() { QVERIFY(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0); }
    void cleanupTestCase() { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }

    void axesAsCounts_data() {
        QTest::addColumn<int>("axis");
        QTest::addColumn<int>("value");
        QTest::addColumn<quint32>("counts");
        for (int axis : {0, 1, 2}) {
            const QByteArray name = QByteArray("axis ") + QByteArray::number(axis);
            QTest::newRow(name + " at one end") << axis << -32768 << 0u;
            QTest::newRow(name + " centred") << axis << 0 << 32768u;
            QTest::newRow(name + " just short of centre") << axis << -1 << 32767u;
            QTest::newRow(name + " at the other end") << axis << 32767 << 65535u;
        }
    }
    void axesAsCounts() {
        QFETCH(int, axis);
        QFETCH(int, value);
        QFETCH(quint32, counts);
        ui::SdlJoystick adapter;
        needNoRealSticks();
        VirtualStick stick(3, 4);
        QVERIFY(stick.ok());
        // The other axes stay centred.
        stick.axis(axis, static_cast<Sint16>(value));
        const std::optional<ui::JoystickReading> r = adapter.read();
        QVERIFY(r);
        const quint32 read[] = {r->x, r->y, r->z};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(read[i], i == axis ? counts : 32768u);
        QCOMPARE(r->buttons, 0u);
    }

    void buttonsAsMask_data() {
        QTest::addColumn<QList<int>>("down");
        QTest::addColumn<quint32>("mask");
        QTest::newRow("none") << QList<int>{} << 0u;
        QTest::newRow("button 1") << QList<int>{0} << 1u;
        QTest::newRow("button 2") << QList<int>{1} << 2u;
        QTest::newRow("button 3") << QList<int>{2} << 4u;
        QTest::newRow("button 4") << QList<int>{3} << 8u;
        QTest::newRow("buttons 1 and 4") << QList<int>{0, 3} << 9u;
        QTest::newRow("button 5 is not in the mask") << QList<int>{4} << 0u;
        QTest::newRow("all six") << QList<int>{0, 1, 2, 3, 4, 5} << 15u;
    }
    void buttonsAsMask() {
        QFETCH(QList<int>, down);
        QFETCH(quint32, mask);
        ui::SdlJoystick adapter;
        needNoRealSticks();
        VirtualStick stick(2, 6);
        QVERIFY(stick.ok());
        for (int b : down)
            stick.button(b, true);
        const std::optional<ui::JoystickReading> r = adapter.read();
        QVERIFY(r);
        QCOMPARE(r->buttons, mask);
        // Two axes only: no Z.
        QCOMPARE(r->z, 0u);
    }

    void stickComesAndGoes() {
        ui::SdlJoystick adapter;
        needNoRealSticks();
        QVERIFY(!adapter.read());
        {
            VirtualStick stick(2, 4);
            QVERIFY(stick.ok());
            stick.axis(0, 32767);
            QVERIFY(adapter.read());
            QCOMPARE(adapter.read()->x, 65535u);
            stick.unplug();
            QVERIFY(!adapter.read());
        }
        // A stick without two axes cannot steer.
        VirtualStick lever(1, 4);
        QVERIFY(lever.ok());
        QVERIFY(!adapter.read());
    }

    void windowWithoutJoystick() {
        ui::SdlJoystick adapter;
        needNoRealSticks();
        Panel p;
        p.window.serialChannel().mnuOpen_Click();
        joystick::JoystickLauncher launcher(p.window, adapter, p.dialogs);
        p.find<QAction>("JoyStick")->trigger();
        QVERIFY(launcher.window());
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown.first().text, QStringLiteral("No joyStick detect!"));
        QVERIFY(!launcher.window()->findChild<ui::Timer *>("Timer1")->isEnabled());
        QCOMPARE(p.takeWritten(), QByteArray());
    }
};

QTEST_MAIN(TestSdlJoystick)
#include "tst_sdljoystick.moc"
