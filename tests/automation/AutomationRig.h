#pragma once

#include "RecordingSwitcher.h"
#include "automation/Engine.h"
#include "automation/Scheduler.h"
#include "automation/TourRunner.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <memory>

// An automation engine on the fake switcher and the fake clock, with its
// files in a folder of its own, and what it noted for the event log.
struct AutomationRig {
    QTemporaryDir dir;
    fakes::Clock clock;
    fakes::RecordingSwitcher switcher{clock};
    std::unique_ptr<automation::Engine> engine;
    QStringList notes; // "origin: what"

    explicit AutomationRig(const QByteArray &file = {}) {
        if (!file.isNull())
            write(file);
        make();
    }

    QString filePath() const { return dir.filePath(QStringLiteral("automation.ini")); }
    QString statePath() const { return dir.filePath(QStringLiteral("automation-state")); }

    void write(const QByteArray &bytes) const { writeTo(filePath(), bytes); }
    static void writeTo(const QString &path, const QByteArray &bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    static QByteArray read(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }

    // A new engine over the same files, as at a restart.
    void make() {
        engine.reset();
        engine = std::make_unique<automation::Engine>(switcher, clock, devicelink::Priorities{},
                                                      filePath(), statePath());
        engine->setTimeZone(QTimeZone("Europe/Rome"));
        QObject::connect(engine.get(), &automation::Engine::noted,
                         [this](const QString &origin, const QString &what) {
                             notes << origin + QLatin1String(": ") + what;
                         });
    }
    automation::Engine &operator*() const { return *engine; }
    automation::Engine *operator->() const { return engine.get(); }

    // The clock moves on, and the timers' ticks come as they would.
    void advance(qint64 ms) {
        clock.ms += ms;
        engine->tourRunner().Timer_Timer();
        engine->scheduler().Timer_Timer();
    }
    // The local time in Rome, on the fake clock.
    void setLocal(int y, int mo, int d, int h, int mi, int s = 0) {
        clock.ms = QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone("Europe/Rome"))
                       .toMSecsSinceEpoch();
    }
    QStringList notesOf(const QString &origin) const {
        QStringList out;
        for (const QString &n : notes) {
            if (n.startsWith(origin + QLatin1String(": ")))
                out << n.mid(origin.size() + 2);
        }
        return out;
    }
    automation::Automation::TourState tour(int number) const {
        for (const auto &t : engine->tours()) {
            if (t.tour == number)
                return t;
        }
        return {};
    }
    automation::Automation::AlarmState alarm(int input) const {
        for (const auto &a : engine->alarms()) {
            if (a.input == input)
                return a;
        }
        return {};
    }
};
