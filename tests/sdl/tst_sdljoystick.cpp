// The SDL joystick adapter read through SDL's virtual joystick: axes as
// counts, the button mask, a stick that goes away, and the joystick window
// when there is no stick at all.
#include "Panel.h"
#include "TestMain.h"
#include "joystick/JoystickLauncher.h"
#include "joystick/StickArithmetic.h"
#include "joystick/frmCenter.h"
#include "link/SerialChannel.h"
#include "ui/Timer.h"
#include "ui/sdl/SdlJoystick.h"

#include <QAction>
#include <SDL.h>

namespace {

// A virtual stick, plugged in until unplugged or destroyed.
class VirtualStick {
public:
    VirtualStick(int axes, int buttons) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = Uint16(axes);
        desc.nbuttons = Uint16(buttons);
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        m_stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        m_id = m_stick ? SDL_JoystickInstanceID(m_stick) : -1;
    }
    ~VirtualStick() {
        unplug();
        if (m_stick)
            SDL_JoystickClose(m_stick);
    }
    SDL_Joystick *operator->() const { return m_stick; }
    operator SDL_Joystick *() const { return m_stick; }
    void unplug() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickDetachVirtual(i);
        }
    }

private:
    SDL_Joystick *m_stick;
    SDL_JoystickID m_id;
};

using Reading = QList<quint32>; // x, y, z, buttons

} // namespace

class TestSdlJoystick : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QCOMPARE(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        // The adapter reads joystick 0; a real device would come first.
        if (SDL_NumJoysticks() > 0)
            QSKIP("a joystick is attached to this machine");
    }
    void cleanupTestCase() { SDL_QuitSubSystem(SDL_INIT_JOYSTICK); }

    void readings_data() {
        QTest::addColumn<int>("axes");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QList<int>>("pressed");
        QTest::addColumn<Reading>("reading");
        const QList<int> none;
        QTest::newRow("one end") << 3 << QList<int>{-32768, -32768, -32768} << none
                                 << Reading{0, 0, 0, 0};
        QTest::newRow("a count short of the end")
            << 3 << QList<int>{-32767, -32767, -32767} << none << Reading{0, 0, 0, 0};
        QTest::newRow("centre") << 3 << QList<int>{0, 0, 0} << none
                                << Reading{32767, 32767, 32767, 0};
        QTest::newRow("just short of centre")
            << 3 << QList<int>{-1, -1, -1} << none << Reading{32766, 32766, 32766, 0};
        QTest::newRow("other end")
            << 3 << QList<int>{32767, 32767, 32767} << none << Reading{65534, 65534, 65534, 0};
        QTest::newRow("axes apart")
            << 3 << QList<int>{-32768, 0, 32767} << none << Reading{0, 32767, 65534, 0};
        QTest::newRow("no third axis")
            << 2 << QList<int>{32767, -32768} << none << Reading{65534, 0, 0, 0};
        for (int b = 0; b < 4; ++b)
            QTest::addRow("button %d", b + 1)
                << 2 << QList<int>{0, 0} << QList<int>{b} << Reading{32767, 32767, 0, 1u << b};
        QTest::newRow("buttons 1 and 4")
            << 2 << QList<int>{0, 0} << QList<int>{0, 3} << Reading{32767, 32767, 0, 9};
        QTest::newRow("button 5 is not in the mask")
            << 2 << QList<int>{0, 0} << QList<int>{4} << Reading{32767, 32767, 0, 0};
        QTest::newRow("all six") << 2 << QList<int>{0, 0} << QList<int>{0, 1, 2, 3, 4, 5}
                                 << Reading{32767, 32767, 0, 15};
    }
    void readings() {
        QFETCH(int, axes);
        QFETCH(QList<int>, positions);
        QFETCH(QList<int>, pressed);
        ui::SdlJoystick adapter;
        VirtualStick stick(axes, 6);
        QVERIFY(stick);
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(SDL_JoystickSetVirtualAxis(stick, i, Sint16(positions[i])), 0);
        for (int b : pressed)
            QCOMPARE(SDL_JoystickSetVirtualButton(stick, b, 1), 0);
        const std::optional<ui::JoystickReading> r = adapter.read();
        QVERIFY(r);
        QTEST((Reading{r->x, r->y, r->z, r->buttons}), "reading");
    }

    // A stick at rest in the middle reads seven whole steps to either end of
    // both axes, as the joystick window counts them.
    void bothEndsAreSevenSteps() {
        ui::SdlJoystick adapter;
        VirtualStick stick(2, 4);
        const std::optional<ui::JoystickReading> rest = adapter.read();
        QVERIFY(rest);
        const joystick::Geometry g = joystick::geometryAt(rest->x, rest->y);
        const auto stepsAt = [&](int x, int y) {
            SDL_JoystickSetVirtualAxis(stick, 0, Sint16(x));
            SDL_JoystickSetVirtualAxis(stick, 1, Sint16(y));
            joystick::PollState state;
            const joystick::PollOutcome out = joystick::poll(g, *adapter.read(), state);
            return QList<qint32>{out.vX, out.vY};
        };
        QCOMPARE(stepsAt(-32768, 0), (QList<qint32>{-7, 0}));
        QCOMPARE(stepsAt(32767, 0), (QList<qint32>{7, 0}));
        QCOMPARE(stepsAt(0, -32768), (QList<qint32>{0, 7})); // pushed forward
        QCOMPARE(stepsAt(0, 32767), (QList<qint32>{0, -7}));
    }

    void stickComesAndGoes() {
        ui::SdlJoystick adapter;
        QVERIFY(!adapter.read());
        {
            VirtualStick stick(2, 4);
            QVERIFY(adapter.read());
            stick.unplug();
            QVERIFY(!adapter.read());
        }
        // A stick without two axes cannot steer.
        VirtualStick lever(1, 4);
        QVERIFY(lever);
        QVERIFY(!adapter.read());
    }

    void windowWithoutJoystick() {
        ui::SdlJoystick adapter;
        Panel p;
        p.window.mnuOpen_Click();
        joystick::JoystickLauncher &launcher = p.window.attachJoystick(adapter);
        p.find<QAction>("JoyStick")->trigger();
        QVERIFY(launcher.window());
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown.first().text, QStringLiteral("No joyStick detect!"));
        QVERIFY(!launcher.window()->findChild<ui::Timer *>("Timer1")->isEnabled());
        QCOMPARE(p.takeWritten(), QByteArray());
    }
};

VELMAR_TEST_MAIN(TestSdlJoystick)
#include "tst_sdljoystick.moc"
