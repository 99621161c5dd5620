#pragma once

#include <QObject>
#include <QString>
#include <cstdio>

namespace app {

class Controller;

// The controller run as a service beside the switcher, with no window and
// no display: the stored port settings, the port and the channel opened as
// the panel opens them, the titles read from the configuration file (whose
// window positions it leaves as they are), the polls, the event log and the
// services; what the status bar would say goes to standard error. A
// termination signal ends it as the panel's Exit does: every move stopped,
// the sign-off, the line drained for at most 5 s, the port closed.
class Headless : public QObject {
    Q_OBJECT
public:
    static constexpr int drainMs = 5000;

    explicit Headless(Controller &controller, std::FILE *log = stderr, QObject *parent = nullptr);

    // Starts everything; false (and why, on the log) when the stored port
    // settings are refused, as the panel's start-up would stop there too.
    bool start();
    // Ends it; finished follows.
    void end();

signals:
    void finished(int status);

private:
    void say(const QString &line);
    void sayLink();
    void readTitles();
    void keepTitles();
    bool applyPortSettings();

    Controller &m_controller;
    std::FILE *m_log;
    QString m_lastLink;
    // The configuration file as read: its window positions and language
    // line are written back as they were when a client renames a camera.
    bool m_titlesRead = false;
    QString m_left;
    QString m_top;
    QString m_languageFile;
    bool m_ending = false;
};

} // namespace app
