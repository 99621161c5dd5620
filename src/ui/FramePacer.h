#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace ui {

// Paces the screen updates that received data drives (the terminal box, the
// routing lit from status replies). A request after a quiet spell gets its
// frame at once; requests during a burst are merged into the next frame, at
// most one a frameMs. One pacer shared by all of a window's parts puts all
// their updates into the same frame, so a busy line costs the window one
// repaint a frame, however many reads it takes.
class FramePacer : public QObject {
    Q_OBJECT
public:
    static constexpr int frameMs = 100;

    explicit FramePacer(QObject *parent = nullptr);

    // Something is waiting to be shown.
    void request();

signals:
    // Show what is waiting.
    void frame();

private:
    void fire();

    QTimer m_timer;
    QElapsedTimer m_sinceFrame;
};

} // namespace ui
