#pragma once

#include "automation/Automation.h"
#include "automation/AutomationFile.h"
#include "link/Priorities.h"

#include <QByteArray>
#include <QTimeZone>

namespace devicelink {
class Clock;
}

namespace automation {

class AlarmDesk;
class Dispatcher;
class SalvoRunner;
class Scheduler;
class TourRunner;

// The control room's automation as one source of its own: salvos, tours,
// alarm call-up and schedules, read from automation.ini and acting through
// the switcher's operations alone. Whatever they do is told through noted()
// for the event log, from this one place. What was running when the program
// ended is kept beside the file and carried on at the next start.
class Engine : public Automation {
    Q_OBJECT
public:
    enum class FileState : quint8 { Missing, Readable, Unreadable };

    Engine(devicelink::Switcher &switcher, devicelink::Clock &clock,
           const devicelink::Priorities &priorities, QString filePath, QString statePath,
           QObject *parent = nullptr);
    ~Engine() override;

    // Other files than those given at the start (another storage folder);
    // only before start().
    void setFiles(QString filePath, QString statePath);
    // The schedules' local time (the system's unless set).
    void setTimeZone(const QTimeZone &zone);
    // Reads the file and carries on what ran when the program ended: once,
    // when the link to the switcher is up.
    void start();
    // Reads the file again (after a hand edit) and applies it.
    void reload();

    const AutomationFile &setup() const { return m_setup; }
    FileState fileState() const { return m_fileState; }
    QString fileReason() const { return m_fileReason; }
    QString filePath() const { return m_filePath; }
    // Writes new contents to the file and applies them; the reason when it
    // did not (the file cannot be read, so it is not replaced; the disk
    // refused; the contents would not read back), empty when it did.
    QString save(const AutomationFile &setup);

    // --- Automation ------------------------------------------------------------
    QStringList salvos() const override;
    void recallSalvo(const QString &name, const devicelink::Origin &by,
                     devicelink::Done done = {}) override;
    QList<TourState> tours() const override;
    void startTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void stopTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void holdTour(int tour, const devicelink::Origin &by, devicelink::Done done = {}) override;
    void stepTour(int tour, int by_steps, const devicelink::Origin &by,
                  devicelink::Done done = {}) override;
    QList<AlarmState> alarms() const override;
    void setAlarm(int input, bool active, const devicelink::Origin &by,
                  devicelink::Done done = {}) override;
    void acknowledgeAlarm(int input, const devicelink::Origin &by,
                          devicelink::Done done = {}) override;

    // The parts, for their tests' tick handlers.
    TourRunner &tourRunner() const { return *m_tours; }
    Scheduler &scheduler() const { return *m_scheduler; }

signals:
    // For the event log: who ("tour 2", "alarm 7", "salvo Night",
    // "schedule 3") and what happened, in the log's English.
    void noted(const QString &origin, const QString &what);
    // The file is there but was not used (the status bar says it once).
    void fileNotUsed(const QString &path, const QString &reason);
    // Lines of the file were left out: a message for the status bar, in the
    // language in use; the editor lists them all.
    void linesLeftOut(const QString &message);
    // The contents changed (read again, saved from the editor).
    void setupChanged();

private:
    void load();
    void apply(const AutomationFile &setup);
    void saveRunState();
    void onDue(const AutomationFile::Schedule &entry, qint64 at, bool late);

    devicelink::Priorities m_priorities;
    QString m_filePath;
    QString m_statePath;
    AutomationFile m_setup;
    FileState m_fileState = FileState::Missing;
    QString m_fileReason;
    Dispatcher *m_dispatcher;
    TourRunner *m_tours;
    AlarmDesk *m_alarms;
    SalvoRunner *m_salvos;
    Scheduler *m_scheduler;
    bool m_started = false;
    qint64 m_applied = 0;
    QByteArray m_writtenState;
};

} // namespace automation
