#pragma once

#include <QObject>

class QSocketNotifier;

namespace ui {

// Turns SIGTERM, SIGINT and SIGHUP (logout, shutdown, a service manager,
// Ctrl+C) into a signal on the event loop, so that the program ends the
// way it does when the operator closes it. One per program.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace ui
