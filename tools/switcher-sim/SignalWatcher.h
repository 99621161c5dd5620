#pragma once

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

namespace sim {

// Turns SIGINT, SIGTERM and the like into a Qt signal. The handler only
// writes the signal's number into a socket pair; the event loop reads it.
// One watcher per process.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    SignalWatcher(std::initializer_list<int> signalNumbers, QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isValid() const { return m_notifier != nullptr; }

signals:
    void caught(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
    QList<int> m_signals;
};

} // namespace sim
