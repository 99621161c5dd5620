#include "automation/AutomationFile.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>

namespace automation {

namespace {

// A number as the file writes it: digits only, short enough that it cannot
// overflow, within its bounds.
std::optional<int> number(QStringView text, int low, int high) {
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// A word of the file as a report quotes it: a line may be a megabyte long.
QString shortened(const QString &text) {
    return text.size() <= 30 ? text : text.left(29) + QChar(0x2026);
}

enum class Kind : quint8 { Salvo, Tour, Alarm, Schedule };

struct KindName {
    Kind kind;
    const char *name;
    int high;
};
constexpr KindName kindNames[] = {
    {Kind::Salvo, "Salvo", AutomationFile::maxNumber},
    {Kind::Tour, "Tour", AutomationFile::maxNumber},
    {Kind::Alarm, "Alarm", AutomationFile::alarmInputs},
    {Kind::Schedule, "Schedule", AutomationFile::maxNumber},
};

// A value read from one line, with that line's number for later reports.
template <typename T> struct Given {
    std::optional<T> value;
    int line = 0;
};

struct Section {
    Kind kind = Kind::Salvo;
    int number = 0;
    int line = 0;
    QString label; // "[Tour2]" as the file has it
    QSet<QString> keys;
    bool invalid = false; // a line of it made no sense
    Given<QString> name;
    Given<QList<AutomationFile::Route>> routes;
    Given<int> monitor;
    Given<QList<AutomationFile::Step>> steps;
    Given<AutomationFile::OnManualRoute> onManual;
    Given<int> camera;
    Given<int> preset;
    Given<QTime> at;
    Given<quint8> days;
    Given<AutomationFile::Action> action;
};

// Reads "m:c" / "m:c@p" (a route) or "c:d" / "c@p:d" (a step).
struct Pair {
    int first = 0;
    int preset = 0;
    int second = 0;
};

class Reader {
    Q_DECLARE_TR_FUNCTIONS(automation::AutomationFile)

public:
    explicit Reader(AutomationFile &out)
        : m_out(out) {}

    void line(int number, const QString &raw) {
        m_line = number;
        const QString text = raw.trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char(';')) ||
            text.startsWith(QLatin1Char('#')))
            return;
        if (text.startsWith(QLatin1Char('['))) {
            header(text);
            return;
        }
        const qsizetype comment = text.indexOf(QLatin1Char(';'));
        const QString content = (comment < 0 ? text : text.left(comment)).trimmed();
        const qsizetype equals = content.indexOf(QLatin1Char('='));
        if (equals < 0) {
            problem(tr("neither a [section], a Key=value nor a comment"));
            return;
        }
        if (!m_section) {
            if (!m_skipping)
                problem(tr("a Key=value before the first [section]"));
            return;
        }
        keyValue(content.left(equals).trimmed(), content.mid(equals + 1).trimmed());
    }

    void end() {
        finish();
        resolve();
    }

private:
    void problem(const QString &what, int line = 0) {
        if (m_out.problems.size() >= AutomationFile::maxProblems) {
            ++m_out.problemsNotKept;
            return;
        }
        m_out.problems.append({line ? line : m_line, what});
    }
    void sectionProblem(const QString &what, int line = 0) {
        problem(m_section->label + QLatin1Char(' ') + what, line);
    }

    void header(const QString &text) {
        finish();
        m_skipping = true;
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        const QString after = close < 0 ? QString() : text.mid(close + 1).trimmed();
        if (close < 0 || !(after.isEmpty() || after.startsWith(QLatin1Char(';')) ||
                           after.startsWith(QLatin1Char('#')))) {
            problem(tr("a section header is a name in brackets, e.g. [Tour2]; the section is left "
                       "out"));
            return;
        }
        const QString name = text.mid(1, close - 1).trimmed();
        const QString label = QLatin1Char('[') + shortened(name) + QLatin1Char(']');
        for (const KindName &k : kindNames) {
            const QLatin1String prefix(k.name);
            if (!name.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            const std::optional<int> n = number(QStringView(name).mid(prefix.size()), 1, k.high);
            if (!n) {
                problem(tr("%1: its number is 1 to %2; the section is left out")
                            .arg(label, QString::number(k.high)));
                return;
            }
            QSet<int> &seen = m_seen[int(k.kind)];
            if (seen.contains(*n)) {
                problem(tr("%1 appears a second time; the second is left out").arg(label));
                return;
            }
            if (seen.size() >= AutomationFile::maxSections) {
                problem(tr("%1: more than %2 sections of one kind; the rest are left out")
                            .arg(label, QString::number(AutomationFile::maxSections)));
                return;
            }
            seen.insert(*n);
            m_section = Section{};
            m_section->kind = k.kind;
            m_section->number = *n;
            m_section->line = m_line;
            m_section->label = label;
            m_skipping = false;
            return;
        }
        problem(tr("%1 is not a section this file has ([SalvoN], [TourN], [AlarmN], "
                   "[ScheduleN]); it is left out")
                    .arg(label));
    }

    template <typename T>
    void take(Given<T> &given, const QString &key, const QString &value,
              std::optional<T> (Reader::*read)(const QString &, QString &)) {
        QString why;
        std::optional<T> v = (this->*read)(value, why);
        if (!v) {
            // What the operator meant is not known: the section is not run
            // with the line left out (a schedule on every day, a tour without
            // a step) but left out whole.
            sectionProblem(key + QLatin1String(": ") + why + tr("; the section is left out"));
            m_section->invalid = true;
            return;
        }
        given.value = std::move(v);
        given.line = m_line;
    }

    void keyValue(const QString &key, const QString &value) {
        Section &s = *m_section;
        const QString lower = key.toLower();
        if (s.keys.contains(lower)) {
            sectionProblem(
                tr("%1 is given a second time; the section is left out").arg(shortened(key)));
            s.invalid = true;
            return;
        }
        bool known = true;
        switch (s.kind) {
        case Kind::Salvo:
            if (lower == QLatin1String("name"))
                take(s.name, key, value, &Reader::readName);
            else if (lower == QLatin1String("routes"))
                take(s.routes, key, value, &Reader::readRoutes);
            else
                known = false;
            break;
        case Kind::Tour:
            if (lower == QLatin1String("monitor"))
                take(s.monitor, key, value, &Reader::readMonitor);
            else if (lower == QLatin1String("steps"))
                take(s.steps, key, value, &Reader::readSteps);
            else if (lower == QLatin1String("onmanualroute"))
                take(s.onManual, key, value, &Reader::readOnManual);
            else
                known = false;
            break;
        case Kind::Alarm:
            if (lower == QLatin1String("monitor"))
                take(s.monitor, key, value, &Reader::readMonitor);
            else if (lower == QLatin1String("camera"))
                take(s.camera, key, value, &Reader::readCamera);
            else if (lower == QLatin1String("preset"))
                take(s.preset, key, value, &Reader::readPreset);
            else
                known = false;
            break;
        case Kind::Schedule:
            if (lower == QLatin1String("at"))
                take(s.at, key, value, &Reader::readAt);
            else if (lower == QLatin1String("days"))
                take(s.days, key, value, &Reader::readDays);
            else if (lower == QLatin1String("action"))
                take(s.action, key, value, &Reader::readAction);
            else
                known = false;
            break;
        }
        if (!known) {
            sectionProblem(
                tr("%1 is not a key of this section; the line is left out").arg(shortened(key)));
            return;
        }
        s.keys.insert(lower);
    }

    // --- values -------------------------------------------------------------
    std::optional<QString> readName(const QString &value, QString &why) {
        if (!AutomationFile::isValidName(value)) {
            why = tr("a name is 1 to %1 printable Latin-1 characters without ';'")
                      .arg(AutomationFile::maxNameLength);
            return std::nullopt;
        }
        return value;
    }
    static std::optional<int> ranged(const QString &value, int high, const QString &what,
                                     QString &why) {
        const std::optional<int> n = number(value, 1, high);
        if (!n)
            why = tr("%1 is not a %2 (1 to %3)").arg(value.left(20), what, QString::number(high));
        return n;
    }
    std::optional<int> readMonitor(const QString &value, QString &why) {
        return ranged(value, AutomationFile::monitors, tr("monitor"), why);
    }
    std::optional<int> readCamera(const QString &value, QString &why) {
        return ranged(value, AutomationFile::cameras, tr("camera"), why);
    }
    std::optional<int> readPreset(const QString &value, QString &why) {
        return ranged(value, AutomationFile::presets, tr("preset"), why);
    }
    // "a:b" or "a@p:b"; for a route the preset follows b instead ("a:b@p").
    static std::optional<Pair> readPair(QStringView item, bool presetAfter, int firstHigh,
                                        const QString &firstName, int secondHigh,
                                        const QString &secondName, QString &why) {
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            why.clear();
            return std::nullopt;
        }
        QStringView first = item.left(colon).trimmed();
        QStringView second = item.mid(colon + 1).trimmed();
        QStringView preset;
        QStringView &carrier = presetAfter ? second : first;
        const qsizetype at = carrier.indexOf(QLatin1Char('@'));
        if (at >= 0) {
            preset = carrier.mid(at + 1).trimmed();
            carrier = carrier.left(at).trimmed();
        }
        Pair out;
        const std::optional<int> a = number(first, 1, firstHigh);
        const std::optional<int> b = number(second, 1, secondHigh);
        const std::optional<int> p =
            at >= 0 ? number(preset, 1, AutomationFile::presets) : std::optional<int>(0);
        if (!a) {
            why = tr("%1 is not a %2 (1 to %3)")
                      .arg(first.left(20).toString(), firstName, QString::number(firstHigh));
            return std::nullopt;
        }
        if (!b) {
            why = tr("%1 is not a %2 (1 to %3)")
                      .arg(second.left(20).toString(), secondName, QString::number(secondHigh));
            return std::nullopt;
        }
        if (!p) {
            why = tr("%1 is not a %2 (1 to %3)")
                      .arg(preset.left(20).toString(), tr("preset"),
                           QString::number(AutomationFile::presets));
            return std::nullopt;
        }
        out.first = *a;
        out.second = *b;
        out.preset = *p;
        return out;
    }
    std::optional<QList<AutomationFile::Route>> readRoutes(const QString &value, QString &why) {
        QList<AutomationFile::Route> routes;
        bool monitorTaken[AutomationFile::monitors + 1] = {};
        for (const QStringView item : QStringView(value).split(QLatin1Char(','))) {
            const QStringView trimmed = item.trimmed();
            const std::optional<Pair> pair =
                readPair(trimmed, true, AutomationFile::monitors, tr("monitor"),
                         AutomationFile::cameras, tr("camera"), why);
            if (!pair) {
                if (why.isEmpty())
                    why = tr("\"%1\" is not monitor:camera or monitor:camera@preset")
                              .arg(trimmed.left(20).toString());
                return std::nullopt;
            }
            if (monitorTaken[pair->first]) {
                why = tr("monitor %1 is given two cameras").arg(pair->first);
                return std::nullopt;
            }
            monitorTaken[pair->first] = true;
            routes.append({pair->first, pair->second, pair->preset});
        }
        return routes;
    }
    std::optional<QList<AutomationFile::Step>> readSteps(const QString &value, QString &why) {
        QList<AutomationFile::Step> steps;
        for (const QStringView item : QStringView(value).split(QLatin1Char(','))) {
            if (steps.size() >= AutomationFile::maxSteps) {
                why = tr("more than %1 steps").arg(AutomationFile::maxSteps);
                return std::nullopt;
            }
            const QStringView trimmed = item.trimmed();
            const std::optional<Pair> pair =
                readPair(trimmed, false, AutomationFile::cameras, tr("camera"),
                         AutomationFile::maxDwellSeconds, tr("dwell in seconds"), why);
            if (!pair) {
                if (why.isEmpty())
                    why = tr("\"%1\" is not camera:dwell or camera@preset:dwell")
                              .arg(trimmed.left(20).toString());
                return std::nullopt;
            }
            steps.append({pair->first, pair->preset, pair->second});
        }
        return steps;
    }
    std::optional<AutomationFile::OnManualRoute> readOnManual(const QString &value, QString &why) {
        if (value.compare(QLatin1String("hold"), Qt::CaseInsensitive) == 0)
            return AutomationFile::OnManualRoute::Hold;
        if (value.compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0)
            return AutomationFile::OnManualRoute::Stop;
        why = tr("hold or stop");
        return std::nullopt;
    }
    std::optional<QTime> readAt(const QString &value, QString &why) {
        const qsizetype colon = value.indexOf(QLatin1Char(':'));
        const std::optional<int> h =
            colon < 1 || colon > 2 ? std::nullopt : number(QStringView(value).left(colon), 0, 23);
        const QStringView minutes = QStringView(value).mid(colon + 1);
        const std::optional<int> m = minutes.size() == 2 ? number(minutes, 0, 59) : std::nullopt;
        if (!h || !m) {
            why = tr("a time of day is HH:MM, 00:00 to 23:59");
            return std::nullopt;
        }
        return QTime(*h, *m);
    }
    std::optional<quint8> readDays(const QString &value, QString &why) {
        quint8 days = 0;
        QString word;
        const auto flush = [&]() {
            if (word.isEmpty())
                return true;
            for (int d = 0; d < 7; ++d) {
                if (word.compare(AutomationFile::dayName(d), Qt::CaseInsensitive) == 0) {
                    days |= quint8(1u << d);
                    word.clear();
                    return true;
                }
            }
            return false;
        };
        for (const QChar c : value) {
            if (c == QLatin1Char(',') || c.isSpace()) {
                if (!flush())
                    break;
            } else if (word.size() < 8) {
                word.append(c);
            } else {
                break;
            }
        }
        if (!flush() || !word.isEmpty() || days == 0) {
            why = tr("days are Mon, Tue, Wed, Thu, Fri, Sat, Sun, separated by commas");
            return std::nullopt;
        }
        return days;
    }
    std::optional<AutomationFile::Action> readAction(const QString &value, QString &why) {
        const qsizetype blank = value.indexOf(QLatin1Char(' '));
        const QStringView verb = QStringView(value).left(blank < 0 ? value.size() : blank);
        const QString rest = blank < 0 ? QString() : value.mid(blank + 1).trimmed();
        AutomationFile::Action action;
        if (verb.compare(QLatin1String("salvo"), Qt::CaseInsensitive) == 0 &&
            AutomationFile::isValidName(rest)) {
            action.kind = AutomationFile::Action::Kind::Salvo;
            action.salvo = rest;
            return action;
        }
        if (verb.compare(QLatin1String("tour"), Qt::CaseInsensitive) == 0) {
            const QStringList words = rest.simplified().split(QLatin1Char(' '));
            const std::optional<int> n =
                words.size() == 2 ? number(words[0], 1, AutomationFile::maxNumber) : std::nullopt;
            const bool start = words.size() == 2 &&
                               words[1].compare(QLatin1String("start"), Qt::CaseInsensitive) == 0;
            const bool stop = words.size() == 2 &&
                              words[1].compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0;
            if (n && (start || stop)) {
                action.kind = start ? AutomationFile::Action::Kind::TourStart
                                    : AutomationFile::Action::Kind::TourStop;
                action.tour = *n;
                return action;
            }
        }
        why = tr("an action is \"salvo NAME\", \"tour N start\" or \"tour N stop\"");
        return std::nullopt;
    }

    // --- sections -------------------------------------------------------------
    void missing(const char *key) {
        sectionProblem(tr("is left out: it has no %1").arg(QLatin1String(key)), m_section->line);
    }

    void finish() {
        if (!m_section)
            return;
        Section &s = *m_section;
        if (s.invalid) {
            m_section.reset();
            return;
        }
        switch (s.kind) {
        case Kind::Salvo:
            if (!s.name.value) {
                missing("Name");
            } else if (!s.routes.value) {
                missing("Routes");
            } else if (m_salvoNames.contains(s.name.value->toLower())) {
                sectionProblem(tr("is left out: a salvo named %1 is already in %2")
                                   .arg(*s.name.value, m_salvoNames.value(s.name.value->toLower())),
                               s.name.line);
            } else {
                m_salvoNames.insert(s.name.value->toLower(), s.label);
                m_out.salvos.append({s.number, *s.name.value, *s.routes.value});
            }
            break;
        case Kind::Tour:
            if (!s.monitor.value)
                missing("Monitor");
            else if (!s.steps.value)
                missing("Steps");
            else
                m_out.tours.append(
                    {s.number, *s.monitor.value, *s.steps.value,
                     s.onManual.value.value_or(AutomationFile::OnManualRoute::Hold)});
            break;
        case Kind::Alarm:
            if (!s.monitor.value)
                missing("Monitor");
            else if (!s.camera.value)
                missing("Camera");
            else
                m_out.alarms.append(
                    {s.number, *s.monitor.value, *s.camera.value, s.preset.value.value_or(0)});
            break;
        case Kind::Schedule:
            if (!s.at.value) {
                missing("At");
            } else if (!s.action.value) {
                missing("Action");
            } else {
                m_schedules.append(
                    {{s.number, *s.at.value, s.days.value.value_or(AutomationFile::everyDay),
                      *s.action.value},
                     s.action.line,
                     s.label});
            }
            break;
        }
        m_section.reset();
    }

    // A schedule names a salvo or a tour that may come later in the file.
    void resolve() {
        for (const PendingSchedule &p : m_schedules) {
            const AutomationFile::Action &a = p.schedule.action;
            const bool there = a.kind == AutomationFile::Action::Kind::Salvo
                                   ? m_out.salvo(a.salvo) != nullptr
                                   : m_out.tour(a.tour) != nullptr;
            if (there) {
                m_out.schedules.append(p.schedule);
                continue;
            }
            const QString why = a.kind == AutomationFile::Action::Kind::Salvo
                                    ? tr("there is no salvo named %1").arg(a.salvo)
                                    : tr("there is no tour %1").arg(a.tour);
            problem(p.label + QLatin1Char(' ') + tr("is left out: %1").arg(why), p.line);
        }
        // An alarm is known by its input: they are kept in its order, as written.
        std::stable_sort(m_out.alarms.begin(), m_out.alarms.end(),
                         [](const AutomationFile::Alarm &a, const AutomationFile::Alarm &b) {
                             return a.input < b.input;
                         });
        std::stable_sort(m_out.problems.begin(), m_out.problems.end(),
                         [](const AutomationFile::Problem &a, const AutomationFile::Problem &b) {
                             return a.line < b.line;
                         });
    }

    struct PendingSchedule {
        AutomationFile::Schedule schedule;
        int line;
        QString label;
    };

    AutomationFile &m_out;
    int m_line = 0;
    std::optional<Section> m_section;
    bool m_skipping = false; // in a section that was left out, or before the first
    QSet<int> m_seen[4];
    QHash<QString, QString> m_salvoNames; // lower-case name -> its section
    QList<PendingSchedule> m_schedules;
};

} // namespace

AutomationFile AutomationFile::parse(const QByteArray &bytes) {
    AutomationFile out;
    Reader reader(out);
    int line = 0;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        ++line;
        if (end > start) // an empty line says nothing
            reader.line(line, QString::fromLatin1(bytes.constData() + start, end - start));
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    reader.end();
    return out;
}

QByteArray AutomationFile::bytes() const {
    QString out;
    const auto line = [&out](const QString &text) { out += text + QLatin1String("\r\n"); };
    for (const Salvo &s : salvos) {
        line(QStringLiteral("[Salvo%1]").arg(s.number));
        line(QLatin1String("Name=") + s.name);
        line(QLatin1String("Routes=") + routesText(s.routes));
        line({});
    }
    for (const Tour &t : tours) {
        line(QStringLiteral("[Tour%1]").arg(t.number));
        line(QStringLiteral("Monitor=%1").arg(t.monitor));
        line(QLatin1String("Steps=") + stepsText(t.steps));
        line(QLatin1String("OnManualRoute=") +
             QLatin1String(t.onManualRoute == OnManualRoute::Stop ? "stop" : "hold"));
        line({});
    }
    QList<Alarm> sorted = alarms;
    std::sort(sorted.begin(), sorted.end(),
              [](const Alarm &a, const Alarm &b) { return a.input < b.input; });
    for (const Alarm &a : sorted) {
        line(QStringLiteral("[Alarm%1]").arg(a.input));
        line(QStringLiteral("Monitor=%1").arg(a.monitor));
        line(QStringLiteral("Camera=%1").arg(a.camera));
        if (a.preset > 0)
            line(QStringLiteral("Preset=%1").arg(a.preset));
        line({});
    }
    for (const Schedule &s : schedules) {
        line(QStringLiteral("[Schedule%1]").arg(s.number));
        line(QLatin1String("At=") + s.at.toString(QStringLiteral("HH:mm")));
        line(QLatin1String("Days=") + daysText(s.days));
        line(QLatin1String("Action=") + actionText(s.action));
        line({});
    }
    if (out.endsWith(QLatin1String("\r\n\r\n")))
        out.chop(2);
    return out.toLatin1();
}

const AutomationFile::Salvo *AutomationFile::salvo(const QString &name) const {
    for (const Salvo &s : salvos) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

const AutomationFile::Tour *AutomationFile::tour(int number) const {
    for (const Tour &t : tours) {
        if (t.number == number)
            return &t;
    }
    return nullptr;
}

const AutomationFile::Alarm *AutomationFile::alarm(int input) const {
    for (const Alarm &a : alarms) {
        if (a.input == input)
            return &a;
    }
    return nullptr;
}

QStringList AutomationFile::faults() const {
    // What is written is what is read: the contents are sound exactly when
    // their file reads back whole.
    QStringList out;
    // A name that would not be read back as it is (a ';' begins a comment)
    // is said as such, not as what the file would make of it.
    for (const Salvo &s : salvos) {
        if (!isValidName(s.name))
            out << QStringLiteral("[Salvo%1] Name: ").arg(s.number) +
                       tr("a name is 1 to %1 printable Latin-1 characters without ';'")
                           .arg(maxNameLength);
    }
    if (!out.isEmpty())
        return out;
    const AutomationFile back = parse(bytes());
    for (const Problem &p : back.problems)
        out << p.what;
    AutomationFile sorted = *this; // alarms are read back in the order of their inputs
    std::stable_sort(sorted.alarms.begin(), sorted.alarms.end(),
                     [](const Alarm &a, const Alarm &b) { return a.input < b.input; });
    if (out.isEmpty() && !back.sameSetup(sorted))
        out << tr("two sections of one kind have the same number");
    return out;
}

QString AutomationFile::dayName(int day) {
    static const char *const names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return QLatin1String(names[day]);
}

QString AutomationFile::actionText(const Action &action) {
    switch (action.kind) {
    case Action::Kind::Salvo:
        return QLatin1String("salvo ") + action.salvo;
    case Action::Kind::TourStart:
        return QStringLiteral("tour %1 start").arg(action.tour);
    case Action::Kind::TourStop:
        return QStringLiteral("tour %1 stop").arg(action.tour);
    }
    return {};
}

QString AutomationFile::routesText(const QList<Route> &routes) {
    QStringList items;
    for (const Route &r : routes) {
        QString item = QStringLiteral("%1:%2").arg(r.monitor).arg(r.camera);
        if (r.preset > 0)
            item += QStringLiteral("@%1").arg(r.preset);
        items << item;
    }
    return items.join(QLatin1String(", "));
}

QString AutomationFile::stepsText(const QList<Step> &steps) {
    QStringList items;
    for (const Step &s : steps) {
        QString item = QString::number(s.camera);
        if (s.preset > 0)
            item += QStringLiteral("@%1").arg(s.preset);
        items << item + QStringLiteral(":%1").arg(s.dwell);
    }
    return items.join(QLatin1String(", "));
}

QString AutomationFile::daysText(quint8 days) {
    QStringList names;
    for (int d = 0; d < 7; ++d) {
        if (days & (1u << d))
            names << dayName(d);
    }
    return names.join(QLatin1Char(','));
}

bool AutomationFile::isValidName(const QString &name) {
    if (name.isEmpty() || name.size() > maxNameLength || name != name.trimmed())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u > 0xFF || u == ';')
            return false;
    }
    return true;
}

} // namespace automation
