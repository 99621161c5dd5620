#include "automation/Engine.h"

#include "automation/AlarmDesk.h"
#include "automation/Dispatcher.h"
#include "automation/RunStateFile.h"
#include "automation/SalvoRunner.h"
#include "automation/Scheduler.h"
#include "automation/TourRunner.h"
#include "config/StoredFile.h"
#include "link/Clock.h"

#include <QDateTime>
#include <QFileInfo>

namespace automation {

using devicelink::Origin;
using devicelink::Outcome;

Engine::Engine(devicelink::Switcher &switcher, devicelink::Clock &clock,
               const devicelink::Priorities &priorities, QString filePath, QString statePath,
               QObject *parent)
    : Automation(parent)
    , m_priorities(priorities)
    , m_filePath(std::move(filePath))
    , m_statePath(std::move(statePath))
    , m_dispatcher(new Dispatcher(switcher, this))
    , m_tours(new TourRunner(switcher, *m_dispatcher, clock, this))
    , m_alarms(new AlarmDesk(switcher, *m_dispatcher, *m_tours, this))
    , m_salvos(new SalvoRunner(*m_dispatcher, this))
    , m_scheduler(new Scheduler(clock, this)) {
    connect(m_tours, &TourRunner::noted, this, &Engine::noted);
    connect(m_alarms, &AlarmDesk::noted, this, &Engine::noted);
    connect(m_salvos, &SalvoRunner::noted, this, &Engine::noted);
    connect(m_tours, &TourRunner::changed, this, &Engine::tourChanged);
    connect(m_alarms, &AlarmDesk::changed, this, &Engine::alarmChanged);
    connect(m_tours, &TourRunner::runStateChanged, this, &Engine::saveRunState);
    connect(m_scheduler, &Scheduler::due, this, &Engine::onDue);
    connect(m_scheduler, &Scheduler::applied, this, [this](qint64 at) {
        m_applied = at;
        saveRunState();
    });
}

Engine::~Engine() {
    // The parts go before what they refer to.
    delete m_scheduler;
    delete m_salvos;
    delete m_alarms;
    delete m_tours;
    delete m_dispatcher;
}

void Engine::setFiles(QString filePath, QString statePath) {
    if (m_started)
        return;
    m_filePath = std::move(filePath);
    m_statePath = std::move(statePath);
}

void Engine::setTimeZone(const QTimeZone &zone) {
    m_scheduler->setTimeZone(zone);
}

void Engine::start() {
    if (m_started)
        return;
    load();
    const RunStateFile saved =
        RunStateFile::parse(config::StoredFile(m_statePath).read().value_or(QByteArray()));
    m_writtenState = saved.bytes();
    for (const RunStateFile::Tour &tour : saved.tours)
        m_tours->restore(tour);
    m_applied = saved.scheduleApplied;
    m_started = true;
    m_scheduler->start(m_applied);
    saveRunState();
}

void Engine::reload() {
    load();
}

void Engine::load() {
    const config::StoredFile::Contents contents = config::StoredFile(m_filePath).load();
    const QString name = QFileInfo(m_filePath).fileName();
    switch (contents.presence) {
    case config::StoredFile::Presence::Missing:
        m_fileState = FileState::Missing;
        m_fileReason.clear();
        apply({});
        break;
    case config::StoredFile::Presence::Unreadable:
        // What runs goes on as it was read before; the file is left alone.
        m_fileState = FileState::Unreadable;
        m_fileReason = contents.reason;
        emit fileNotUsed(m_filePath, contents.reason);
        break;
    case config::StoredFile::Presence::Readable: {
        m_fileState = FileState::Readable;
        m_fileReason.clear();
        const AutomationFile read = AutomationFile::parse(contents.bytes);
        apply(read);
        if (!read.problems.isEmpty()) {
            const AutomationFile::Problem &first = read.problems.first();
            const int count = int(read.problems.size()) + read.problemsNotKept;
            emit linesLeftOut(count == 1 ? tr("%1: line %2 left out: %3")
                                               .arg(name, QString::number(first.line), first.what)
                                         : tr("%1: %2 lines left out, the first line %3: %4")
                                               .arg(name, QString::number(count),
                                                    QString::number(first.line), first.what));
        }
        break;
    }
    }
}

void Engine::apply(const AutomationFile &setup) {
    m_setup = setup;
    m_tours->setTours(setup.tours);
    m_alarms->setBindings(setup.alarms);
    m_scheduler->setSetup(setup);
    emit salvosChanged();
    emit setupChanged();
}

QString Engine::save(const AutomationFile &setup) {
    const QString name = QFileInfo(m_filePath).fileName();
    const QStringList faults = setup.faults();
    if (!faults.isEmpty())
        return faults.first();
    const config::StoredFile file(m_filePath);
    const config::StoredFile::Contents now = file.load();
    if (now.presence == config::StoredFile::Presence::Unreadable)
        return tr("%1 is there but cannot be read (%2), so it is not replaced")
            .arg(name, now.reason);
    if (!file.replace(setup.bytes()))
        return tr("%1 could not be written").arg(name);
    m_fileState = FileState::Readable;
    m_fileReason.clear();
    AutomationFile saved = setup;
    saved.problems.clear();
    saved.problemsNotKept = 0;
    apply(saved);
    return {};
}

void Engine::saveRunState() {
    if (!m_started)
        return;
    RunStateFile state;
    state.tours = m_tours->runState();
    state.scheduleApplied = m_applied;
    const QByteArray bytes = state.bytes();
    if (bytes == m_writtenState)
        return;
    if (config::StoredFile(m_statePath).replace(bytes))
        m_writtenState = bytes;
}

void Engine::onDue(const AutomationFile::Schedule &entry, qint64 at, bool late) {
    const Origin origin(Origin::Kind::Schedule, QString::number(entry.number));
    const QString when = QDateTime::fromMSecsSinceEpoch(at, Qt::UTC)
                             .toTimeZone(m_scheduler->zone())
                             .toString(QStringLiteral("ddd yyyy-MM-dd HH:mm"));
    emit noted(origin.text(), QStringLiteral("due %1: %2%3")
                                  .arg(when, AutomationFile::actionText(entry.action),
                                       late ? QStringLiteral(", applied late (the program was not "
                                                             "running, or the clock moved)")
                                            : QString()));
    switch (entry.action.kind) {
    case AutomationFile::Action::Kind::Salvo:
        recallSalvo(entry.action.salvo, origin);
        break;
    case AutomationFile::Action::Kind::TourStart:
        m_tours->start(entry.action.tour, origin, {});
        break;
    case AutomationFile::Action::Kind::TourStop:
        m_tours->stop(entry.action.tour, origin, {});
        break;
    }
}

QStringList Engine::salvos() const {
    QStringList out;
    for (const AutomationFile::Salvo &s : m_setup.salvos)
        out << s.name;
    return out;
}

void Engine::recallSalvo(const QString &name, const Origin &by, devicelink::Done done) {
    const AutomationFile::Salvo *salvo = m_setup.salvo(name);
    if (!salvo) {
        if (done)
            done(Outcome::refused(QStringLiteral("there is no salvo named %1").arg(name)));
        return;
    }
    // The routes weigh what whoever recalled the salvo weighs.
    const Origin origin(Origin::Kind::Salvo, salvo->name, m_priorities.of(by));
    m_salvos->recall(*salvo, origin, by, std::move(done));
}

QList<Automation::TourState> Engine::tours() const {
    return m_tours->states();
}

void Engine::startTour(int tour, const Origin &by, devicelink::Done done) {
    m_tours->start(tour, by, std::move(done));
}

void Engine::stopTour(int tour, const Origin &by, devicelink::Done done) {
    m_tours->stop(tour, by, std::move(done));
}

void Engine::holdTour(int tour, const Origin &by, devicelink::Done done) {
    m_tours->hold(tour, by, std::move(done));
}

void Engine::stepTour(int tour, int by_steps, const Origin &by, devicelink::Done done) {
    m_tours->step(tour, by_steps, by, std::move(done));
}

QList<Automation::AlarmState> Engine::alarms() const {
    return m_alarms->states();
}

void Engine::setAlarm(int input, bool active, const Origin &by, devicelink::Done done) {
    m_alarms->set(input, active, by, std::move(done));
}

void Engine::acknowledgeAlarm(int input, const Origin &by, devicelink::Done done) {
    m_alarms->acknowledge(input, by, std::move(done));
}

} // namespace automation
