// The machine's own timer accuracy, for comparison with the panel's: a bare
// Qt event loop with one precise 100 ms timer and nothing else, run beside
// the panel's timing benchmark until its standard input closes. Prints the
// lateness of every tick (ms) as JSON.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    constexpr int intervalMs = 100;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(intervalMs);
    QElapsedTimer clock;
    int ticks = 0;
    QString out;
    QObject::connect(&timer, &QTimer::timeout, &app, [&] {
        ++ticks;
        const double late = static_cast<double>(clock.nsecsElapsed()) / 1e6 - ticks * intervalMs;
        out += (out.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(late, 'f', 3);
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) > 0)
            return;
        input.setEnabled(false);
        std::printf("{\"tick_lateness_ms\":[%s]}\n", qPrintable(out));
        app.quit();
    });
    clock.start();
    timer.start();
    return app.exec();
}
