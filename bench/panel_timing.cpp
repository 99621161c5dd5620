// Command latency and timer accuracy of the panel, measured from outside:
// the main window runs on the real serial and UDP adapters, its port is a
// pseudo-terminal whose far end a reader thread watches, and its gateway is
// a UDP socket on 127.0.0.1. Clicks are real mouse events on the buttons;
// the joystick window polls a scripted stick.
//
//   bench-panel [--clicks N] [--gap MS] [--timing-only] [--trials N]
//               [--language FILE] [--monitor N] [--serial-only]
//               [--settings FILE]
//
// Prints one JSON object: latencies (ms) per channel and the error (ms,
// arrival minus ideal time) of every timed step of the panel's sequences.
// "clicking" and "clicked" on standard error mark the serial clicks, for a
// runner that loads the program meanwhile.
//
// It builds against the program as it is and as it was before the session
// moved below the windows into a controller (the main window then built its
// session itself), so that one run can measure both.
#include "FarEnd.h"

#if __has_include("app/Controller.h")
#define BENCH_CONTROLLER 1
#include "app/Controller.h"
#include "link/Clock.h"
#include "link/Operations.h"
#else
#define BENCH_CONTROLLER 0
#endif

#include "app/frmTerminal.h"
#include "config/ConfigFile.h"
#include "joystick/StickArithmetic.h"
#include "joystick/frmCenter.h"
#include "link/Codes.h"
#include "link/CommandCode.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "panel/PtzPad.h"
#include "ui/Dialogs.h"
#include "ui/Joystick.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/Timer.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <type_traits>

namespace {

// Nothing modal may stop a measurement: every box is printed and answered
// with its default.
class PrintingDialogs : public ui::Dialogs {
public:
    Answer message(const QString &text, Buttons, Icon, const QString &) override {
        std::fprintf(stderr, "message box: %s\n", qPrintable(text));
        return Answer::Ok;
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return std::nullopt;
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

// One timed sequence: what the far end must see after the click, and when.
struct Expected {
    unsigned char code;
    double offsetMs;
    const char *timer; // the timer whose tick sends it; none: sent by the click
};

// When each of the panel's timers ticked, to split an error into the tick's
// lateness and the time from the tick to the far end.
struct Tick {
    double atMs;
    QString timer;
};

// Stamps each tick of the panel's timers the moment the event loop hands it
// over, before the panel's handler runs: on a kernel timer, when its
// notifier's event arrives; on a QTimer, only after the handler has sent.
class TickStamps : public QObject {
public:
    explicit TickStamps(std::vector<Tick> &ticks)
        : m_ticks(ticks) {}

    void watch(ui::Timer *timer) {
        if (!timer)
            return;
        if (auto *notifier = timer->findChild<QSocketNotifier *>()) {
            notifier->installEventFilter(this);
            return;
        }
        connect(timer, &ui::Timer::tick, this, [this, timer] {
            m_ticks.push_back({bench::nowMs(), timer->objectName()});
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::SockAct && watched->parent())
            m_ticks.push_back({bench::nowMs(), watched->parent()->objectName()});
        return false;
    }

private:
    std::vector<Tick> &m_ticks;
};

struct Trial {
    QString kind;
    double clickMs;
    std::vector<Expected> expected;
};

// The joystick as a scripted hand moves it: at rest when the window opens,
// pushed to one end of the X travel for a few polls, then let go.
class ScriptedStick : public ui::Joystick {
public:
    static constexpr quint32 rest = 32767;
    static constexpr int pushedPolls = 6;
    static constexpr int polls = pushedPolls + 2;

    void startOver(quint32 x) {
        m_x = x;
        m_reads = 0;
    }
    // The reading of poll n (0: the one taken when the window opens).
    ui::JoystickReading reading(int n) const {
        ui::JoystickReading r{rest, rest, rest, 0};
        if (n >= 1 && n <= pushedPolls)
            r.x = m_x;
        return r;
    }
    std::optional<ui::JoystickReading> read() override { return reading(m_reads++); }

private:
    quint32 m_x = rest;
    int m_reads = 0;
};

// What the joystick window must send for the stick's script: each poll's
// codes when Timer1 ticks (every 150 ms from the opening), its speed or pan
// stop follow-up 80 ms after.
std::vector<Expected> joystickSchedule(const ScriptedStick &stick) {
    const joystick::Geometry geometry =
        joystick::geometryAt(ScriptedStick::rest, ScriptedStick::rest);
    joystick::PollState state;
    std::vector<Expected> out;
    // A code is its text before the session's typed codes, a typed code after.
    const auto byte = [](const auto &code) {
        if constexpr (std::is_same_v<std::decay_t<decltype(code)>, QString>)
            return static_cast<unsigned char>(devicelink::commandValue(code).value_or(0));
        else
            return static_cast<unsigned char>(devicelink::valueOf(code));
    };
    for (int n = 1; n <= ScriptedStick::polls; ++n) {
        const double at = 150.0 * n;
        const joystick::PollOutcome poll = joystick::poll(geometry, stick.reading(n), state);
        for (const auto &code : poll.codes)
            out.push_back({byte(code), at, "Timer1"});
        if (poll.speedFollowUp)
            out.push_back({byte(devicelink::codeOf(state.speedCode)), at + 80, "TimerVel"});
        if (poll.panStopFollowUp)
            out.push_back({0x61, at + 80, "TimerStopTilt"});
    }
    return out;
}

struct Click {
    double atMs;
    unsigned char code;
};

// A button is clicked when the mouse is released over it: the press comes
// first (the button draws itself down at once), the time is taken at the
// release, which is what makes the button act.
double click(QPushButton *button) {
    QTest::mousePress(button, Qt::LeftButton);
    const double at = bench::nowMs();
    QTest::mouseRelease(button, Qt::LeftButton);
    return at;
}

// A click that starts a timed sequence: the schedule starts when the button
// reports the release to the panel, just before the panel's handler runs.
// (The event's way from the window system to the button is in the latency
// figures.)
double clickStartingSchedule(QPushButton *button) {
    double at = 0;
    const QMetaObject::Connection stamp =
        QObject::connect(button, &QPushButton::released, button, [&at] { at = bench::nowMs(); });
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
    QObject::disconnect(stamp);
    return at;
}

// Runs the steps one after another from the event loop, each after its delay,
// so that the panel's own timers and port notifiers run in between.
class Script : public QObject {
public:
    void then(int delayMs, std::function<void()> step) { m_steps.push_back({delayMs, step}); }
    void start() { next(); }

private:
    void next() {
        if (m_index >= m_steps.size())
            return;
        const auto [delay, step] = m_steps[m_index++];
        QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, step] {
            step();
            next();
        });
    }
    std::vector<std::pair<int, std::function<void()>>> m_steps;
    size_t m_index = 0;
};

QJsonArray latencies(const std::vector<Click> &clicks, const std::vector<bench::Frame> &frames,
                     int *lost) {
    QJsonArray out;
    size_t j = 0;
    for (size_t i = 0; i < clicks.size(); ++i) {
        const Click &click = clicks[i];
        // A code that comes after the next click of the same key is that
        // click's: one click that sent nothing must not shift the rest.
        double before = std::numeric_limits<double>::infinity();
        for (size_t next = i + 1; next < clicks.size(); ++next) {
            if (clicks[next].code == click.code) {
                before = clicks[next].atMs;
                break;
            }
        }
        size_t k = j;
        while (k < frames.size() && frames[k].atMs < before &&
               (frames[k].code != click.code || frames[k].atMs < click.atMs))
            ++k;
        if (k == frames.size() || frames[k].atMs >= before) {
            ++*lost;
            continue;
        }
        out.append(frames[k].atMs - click.atMs);
        j = k + 1;
    }
    return out;
}

QJsonObject timingErrors(const std::vector<Trial> &trials, const std::vector<bench::Frame> &frames,
                         const std::vector<Tick> &ticks, QJsonObject *split, int *lost) {
    QJsonObject out;
    QJsonArray lateness;
    QJsonArray sending;
    size_t j = 0;
    for (const Trial &trial : trials) {
        QJsonArray errors = out.value(trial.kind).toArray();
        for (const Expected &e : trial.expected) {
            size_t k = j;
            while (k < frames.size() &&
                   (frames[k].code != e.code || frames[k].atMs < trial.clickMs))
                ++k;
            if (k == frames.size()) {
                ++*lost;
                continue;
            }
            j = k + 1;
            if (!e.timer)
                continue;
            const double ideal = trial.clickMs + e.offsetMs;
            errors.append(frames[k].atMs - ideal);
            // The tick of that timer nearest to the command's arrival (a tick
            // stamped after its handler may follow the command's arrival).
            const Tick *tick = nullptr;
            for (const Tick &t : ticks) {
                if (t.timer != QLatin1String(e.timer) || t.atMs < trial.clickMs)
                    continue;
                if (!tick ||
                    std::abs(t.atMs - frames[k].atMs) < std::abs(tick->atMs - frames[k].atMs))
                    tick = &t;
            }
            if (tick) {
                lateness.append(tick->atMs - ideal);
                sending.append(frames[k].atMs - tick->atMs);
            }
        }
        out.insert(trial.kind, errors);
    }
    split->insert(QStringLiteral("tick_lateness_ms"), lateness);
    split->insert(QStringLiteral("tick_to_far_end_ms"), sending);
    return out;
}

void writeConfiguration(const QString &folder, const QString &language) {
    config::ConfigFile file = config::ConfigFile::defaults();
    file.left = QStringLiteral("1200");
    file.top = QStringLiteral("900");
    file.languageFile = language;
    QFile out(folder + QStringLiteral("/velmarcontroller.ini"));
    if (out.open(QIODevice::WriteOnly))
        out.write(file.bytes());
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    app.setQuitOnLastWindowClosed(false);

    QCommandLineParser cli;
    cli.addOptions({
        {QStringLiteral("clicks"), QStringLiteral("Clicks per channel."), QStringLiteral("n"),
         QStringLiteral("1000")},
        {QStringLiteral("gap"), QStringLiteral("Milliseconds between clicks."),
         QStringLiteral("ms"), QStringLiteral("4")},
        {QStringLiteral("trials"), QStringLiteral("Runs of each timed sequence."),
         QStringLiteral("n"), QStringLiteral("8")},
        {QStringLiteral("timing-only"), QStringLiteral("Only the timed sequences.")},
        {QStringLiteral("language"), QStringLiteral("Language file named in the configuration."),
         QStringLiteral("file")},
        {QStringLiteral("stop-timer"),
         QStringLiteral("Stops one of the window's timers first (to find what delays the others)."),
         QStringLiteral("name")},
        {QStringLiteral("monitor"),
         QStringLiteral("Clicks this monitor's key first, so that each camera click is a route."),
         QStringLiteral("n")},
        {QStringLiteral("serial-only"), QStringLiteral("No clicks on the network channel.")},
        {QStringLiteral("cameras"),
         QStringLiteral("Clicks cameras 1 to N in turn (the others are left to other sources)."),
         QStringLiteral("n"), QStringLiteral("16")},
        {QStringLiteral("frames"),
         QStringLiteral("Adds every command seen on the serial line (ms, code) to the answer.")},
        {QStringLiteral("settings"),
         QStringLiteral("Lines of settings.ini to start with (the port's line is added)."),
         QStringLiteral("file")},
    });
    cli.process(app);
    const int clickCount = cli.value(QStringLiteral("clicks")).toInt();
    const int gap = cli.value(QStringLiteral("gap")).toInt();
    const int trialCount = cli.value(QStringLiteral("trials")).toInt();
    const bool timingOnly = cli.isSet(QStringLiteral("timing-only"));
    const bool serialOnly = cli.isSet(QStringLiteral("serial-only"));
    const int routeMonitor = cli.value(QStringLiteral("monitor")).toInt();
    const int cameraCount = qBound(1, cli.value(QStringLiteral("cameras")).toInt(), 16);

    bench::PtyFarEnd line;
    bench::UdpFarEnd gateway;
    if (!line.ok() || !gateway.ok()) {
        std::fprintf(stderr, "no pseudo-terminal or no UDP socket\n");
        return 1;
    }
    QTemporaryDir folder;
    if (cli.isSet(QStringLiteral("settings"))) {
        QFile::copy(cli.value(QStringLiteral("settings")),
                    folder.filePath(QStringLiteral("settings.ini")));
        QFile::setPermissions(folder.filePath(QStringLiteral("settings.ini")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
    ui::IniSettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                      QString::fromStdString(line.slavePath()));
    writeConfiguration(folder.path(), cli.value(QStringLiteral("language")));

    ui::QtSerialPort port(settings);
    ui::QtDatagramSocket socket;
    PrintingDialogs dialogs;
#if BENCH_CONTROLLER
    app::Controller controller({port, socket, settings, devicelink::Clock::system()},
                               ui::StoragePaths(folder.path()));
    frmTerminal window(controller, dialogs);
    // The operations' timers belong to the controller now.
    QObject &timers = controller;
    devicelink::Operations &drives = controller.operations(); // what the joystick drives
#else
    frmTerminal window(port, socket, dialogs, settings);
    QObject &timers = window;
    devicelink::CommandSink &drives = window.sink();
#endif
    window.setStorageFolder(folder.path());
    window.Form_Load();
    window.show();
    if (!port.PortOpen()) {
        std::fprintf(stderr, "the panel did not open its port\n");
        return 1;
    }
    socket.setRemotePort(gateway.port());
    for (const QString &name : cli.values(QStringLiteral("stop-timer"))) {
        if (auto *timer = timers.findChild<ui::Timer *>(name))
            timer->setEnabled(false);
    }

    auto *IPAD = window.findChild<QLineEdit *>(QStringLiteral("IPAD"));
    auto *store = window.findChild<QCheckBox *>(QStringLiteral("store"));
    const auto button = [&window](const QString &name) {
        return window.findChild<QPushButton *>(name);
    };

    ScriptedStick stick;
    joystick::PollState stickMemory;
    QPointer<joystick::frmCenter> center;
    std::vector<Tick> ticks;
    TickStamps stamps(ticks);
    for (const char *name : {"TimerStore", "TimerSet", "Timer4", "Timer3"})
        stamps.watch(timers.findChild<ui::Timer *>(QLatin1String(name)));
    // A bare timer in the same process and event loop: how late any timer
    // of this process is, whatever the panel's handlers do.
    QTimer reference;
    reference.setTimerType(Qt::PreciseTimer);
    reference.setInterval(100);
    QElapsedTimer referenceClock;
    QJsonArray referenceLateness;
    int referenceTicks = 0;
    QObject::connect(&reference, &QTimer::timeout, &window, [&] {
        ++referenceTicks;
        referenceLateness.append(static_cast<double>(referenceClock.nsecsElapsed()) / 1e6 -
                                 referenceTicks * 100.0);
    });
    referenceClock.start();
    reference.start();

    std::vector<Click> serialClicks;
    std::vector<Click> udpClicks;
    std::vector<Trial> trials;
    Script script;
    const auto clickCameras = [&](std::vector<Click> &clicks) {
        for (int i = 0; i < clickCount; ++i) {
            script.then(gap, [&clicks, &button, i, cameraCount] {
                const int camera = i % cameraCount + 1;
                QPushButton *b = button(QStringLiteral("C%1").arg(camera));
                clicks.push_back({click(b), static_cast<unsigned char>(0x30 + camera)});
            });
        }
    };

    // Start-up settles first (the language load, the first rewrite of the file).
    script.then(1500, [] {});
    if (!timingOnly) {
        if (routeMonitor >= 1 && routeMonitor <= 4)
            script.then(100, [&button, routeMonitor] {
                click(button(QStringLiteral("M%1").arg(routeMonitor)));
            });
        script.then(100, [] {
            std::fputs("clicking\n", stderr);
            std::fflush(stderr);
        });
        clickCameras(serialClicks);
        script.then(0, [] {
            std::fputs("clicked\n", stderr);
            std::fflush(stderr);
        });
    }
    if (!timingOnly && !serialOnly) {
        script.then(1200, [IPAD] { IPAD->setText(QStringLiteral("127.0.0.1")); });
        clickCameras(udpClicks);
        // The status request a selection arms is sent before the timing runs.
        script.then(1200, [IPAD] { IPAD->setText(QStringLiteral("0.0.0.0")); });
        script.then(1200, [] {});
    }
    for (int t = 0; t < trialCount; ++t) {
        const int preset = t % 16 + 1;
        const QString name =
            QStringLiteral("%1%2")
                .arg(preset >= 3 && preset <= 8 ? QLatin1Char('P') : QLatin1Char('p'))
                .arg(preset);
        const auto key = static_cast<unsigned char>(0x30 + preset);
        script.then(100, [&, name, key] {
            store->setChecked(true);
            trials.push_back({QStringLiteral("preset store (200 ms steps)"),
                              0,
                              {{0xF7, 200, "TimerStore"},
                               {0x5D, 400, "TimerStore"},
                               {key, 600, "TimerStore"},
                               {0xF8, 800, "TimerStore"},
                               {0x5E, 1000, "TimerStore"}}});
            trials.back().clickMs = clickStartingSchedule(button(name));
        });
        script.then(1150, [&, name, key] {
            trials.push_back(
                {QStringLiteral("preset recall (100 ms steps)"),
                 0,
                 {{0x5D, 100, "TimerSet"}, {key, 200, "TimerSet"}, {0x5E, 300, "TimerSet"}}});
            trials.back().clickMs = clickStartingSchedule(button(name));
        });
        script.then(450, [&] {
            trials.push_back({QStringLiteral("Timer4 + Timer3 (800 ms + 1 s)"),
                              0,
                              {{0xB6, 0, nullptr}, {0xB7, 800, "Timer4"}, {0x2E, 1800, "Timer3"}}});
            trials.back().clickMs = clickStartingSchedule(button(QStringLiteral("Lamps")));
        });
        script.then(1950, [&, t] {
            stick.startOver(t % 2 ? 0 : 2 * ScriptedStick::rest);
            trials.push_back({QStringLiteral("joystick poll (150 ms + 80 ms follow-ups)"), 0,
                              joystickSchedule(stick)});
            // Built as the "JoyStick" menu item builds it; the schedule starts
            // when the window loads, which starts its polling.
            center =
                new joystick::frmCenter({drives, *window.ptz().HScroll1(), *window.ptz().HScroll2(),
                                         window.session().polls().Timer5()},
                                        stick, dialogs, stickMemory);
            center->setAttribute(Qt::WA_DeleteOnClose);
            for (const char *timer : {"Timer1", "TimerVel", "TimerStopTilt"})
                stamps.watch(center->findChild<ui::Timer *>(QLatin1String(timer)));
            trials.back().clickMs = bench::nowMs();
            center->Form_Load();
            center->show();
        });
        script.then(150 * ScriptedStick::polls + 120, [&] {
            if (center)
                center->close();
        });
        script.then(300, [] {});
    }
    script.then(300, [&] {
        int lost = 0;
        QJsonObject result;
        if (!timingOnly) {
            const std::vector<bench::Frame> udpFrames = gateway.frames();
            result.insert(QStringLiteral("serial_latency_ms"),
                          latencies(serialClicks, line.frames(), &lost));
            result.insert(QStringLiteral("udp_latency_ms"), latencies(udpClicks, udpFrames, &lost));
        }
        QJsonObject split;
        result.insert(QStringLiteral("timing_error_ms"),
                      timingErrors(trials, line.frames(), ticks, &split, &lost));
        split.insert(QStringLiteral("same_process_timer_lateness_ms"), referenceLateness);
        result.insert(QStringLiteral("timing_split"), split);
        result.insert(QStringLiteral("lost"), lost);
        if (cli.isSet(QStringLiteral("frames"))) {
            QJsonArray frames;
            for (const bench::Frame &frame : line.frames())
                frames.append(QJsonArray{frame.atMs, int(frame.code)});
            result.insert(QStringLiteral("serial_frames"), frames);
        }
        std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputs("\n", stdout);
        bool cancel = false;
        window.setDrainTimeout(1000);
        window.Form_Unload(cancel);
        QApplication::quit();
    });
    script.start();
    return app.exec();
}
