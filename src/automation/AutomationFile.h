#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QTime>

namespace automation {

// automation.ini: the salvos, tours, alarm bindings and schedules, as an
// operator writes them by hand or the editor writes them. Reading never
// guesses: a line that makes no sense is left out and reported with its
// number, and a section that is left without what it needs is left out whole.
// What is written reads back as it was.
class AutomationFile {
    Q_DECLARE_TR_FUNCTIONS(automation::AutomationFile)

public:
    static constexpr int monitors = 4;
    static constexpr int cameras = 16;
    static constexpr int presets = 16;
    static constexpr int alarmInputs = 64;
    // Salvos, tours and schedules are numbered 1 to this; so many of each at most.
    static constexpr int maxNumber = 999;
    static constexpr int maxSections = 256;
    static constexpr int maxSteps = 256;
    static constexpr int maxDwellSeconds = 86400;
    static constexpr int maxNameLength = 64;
    // Problems kept in full; past these only their count.
    static constexpr int maxProblems = 100;

    struct Route {
        int monitor = 0;
        int camera = 0;
        int preset = 0; // 0: none
        bool operator==(const Route &) const = default;
    };
    struct Salvo {
        int number = 0;
        QString name;
        QList<Route> routes; // in the order they go out, one per monitor at most
        bool operator==(const Salvo &) const = default;
    };
    struct Step {
        int camera = 0;
        int preset = 0;
        int dwell = 0; // seconds
        bool operator==(const Step &) const = default;
    };
    enum class OnManualRoute : quint8 { Hold, Stop };
    struct Tour {
        int number = 0;
        int monitor = 0;
        QList<Step> steps;
        OnManualRoute onManualRoute = OnManualRoute::Hold;
        bool operator==(const Tour &) const = default;
    };
    struct Alarm {
        int input = 0;
        int monitor = 0;
        int camera = 0;
        int preset = 0;
        bool operator==(const Alarm &) const = default;
    };
    struct Action {
        enum class Kind : quint8 { Salvo, TourStart, TourStop };
        Kind kind = Kind::Salvo;
        QString salvo; // Kind::Salvo
        int tour = 0;  // the others
        bool operator==(const Action &) const = default;
    };
    // Days: bit 0 Monday ... bit 6 Sunday.
    static constexpr quint8 everyDay = 0x7F;
    struct Schedule {
        int number = 0;
        QTime at;
        quint8 days = everyDay;
        Action action;
        bool operator==(const Schedule &) const = default;
    };
    struct Problem {
        int line = 0; // 1-based
        QString what;
        bool operator==(const Problem &) const = default;
    };

    QList<Salvo> salvos;
    QList<Tour> tours;
    QList<Alarm> alarms;
    QList<Schedule> schedules;
    // What was left out, in the order of the lines.
    QList<Problem> problems;
    int problemsNotKept = 0;

    // The file's bytes (Latin-1; CR LF, CR or LF end a line).
    static AutomationFile parse(const QByteArray &bytes);
    // The whole file for these salvos, tours, alarms and schedules.
    QByteArray bytes() const;

    bool isEmpty() const {
        return salvos.isEmpty() && tours.isEmpty() && alarms.isEmpty() && schedules.isEmpty();
    }
    // Equal contents, problems aside.
    bool sameSetup(const AutomationFile &other) const {
        return salvos == other.salvos && tours == other.tours && alarms == other.alarms &&
               schedules == other.schedules;
    }

    const Salvo *salvo(const QString &name) const;
    const Tour *tour(int number) const;
    const Alarm *alarm(int input) const;

    // Why these contents could not be written to be read back the same (a
    // salvo without a name or routes, two salvos of one name, a tour without
    // steps, a schedule of no day or of a salvo or tour that is not there);
    // empty when they can. For the editor, before it saves.
    QStringList faults() const;

    // Texts of the file's words, shared with the editor.
    static QString dayName(int day); // 0 Monday: "Mon"
    static QString actionText(const Action &action);
    static QString routesText(const QList<Route> &routes);
    static QString stepsText(const QList<Step> &steps);
    static QString daysText(quint8 days);
    // A name as a salvo may have it: Latin-1, printable, no ';' (which begins
    // a comment), no blanks at its ends, at most maxNameLength characters.
    static bool isValidName(const QString &name);
};

} // namespace automation
