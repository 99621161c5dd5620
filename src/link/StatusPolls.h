#pragma once

#include <QObject>

namespace ui {
class Timer;
}

namespace devicelink {

// The two one-shot status requests: Timer3 asks the switcher for its routing
// 1 s after a selection, Timer5 4 s after a movement. One object owns both;
// the parts that arm or hold them off get it (or one of its timers) by
// reference. Both are enabled when the main window is made.
class StatusPolls : public QObject {
    Q_OBJECT
public:
    explicit StatusPolls(QObject *parent = nullptr);

    ui::Timer &Timer3() { return *m_Timer3; }
    ui::Timer &Timer5() { return *m_Timer5; }
    // Both stopped (the site chooser's load, the shutdown on the network).
    void stop();
    // Both started again (the site chooser's Ok).
    void start();

private:
    ui::Timer *m_Timer3;
    ui::Timer *m_Timer5;
};

} // namespace devicelink
