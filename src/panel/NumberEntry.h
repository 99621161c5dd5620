#pragma once

#include <QString>
#include <QtGlobal>

namespace panel {

// The number an operator types on the panel before M, C or P, as on the
// keyboard of a CCTV matrix: digits build the number, the letter says what
// it is for. Escape, or 3 s without a key, drops what was typed; a number
// the switcher has no monitor, camera or preset for is refused whole.
class NumberEntry {
public:
    static constexpr qint64 timeoutMs = 3000;
    static constexpr int maxDigits = 3;

    enum class Target {
        Monitor,
        Camera,
        Preset,
        Lock,        // the monitor's lock, on or off
        Tour,        // a tour started, or resumed
        TourHold,    // a tour held on its step
        TourStop,    // a tour stopped
        TourNext,    // a tour one step on
        TourBack,    // a tour one step back
        Acknowledge, // an alarm input acknowledged
    };

    struct Result {
        enum class Kind {
            Nothing,    // the key changed nothing
            Typing,     // a number is being typed (typed() says which)
            Cleared,    // what was typed is gone
            Chosen,     // target and number are in range: act on them
            OutOfRange, // no such monitor, camera or preset: nothing is sent
            NoNumber,   // M, C or P with no number typed
        };
        Kind kind = Kind::Nothing;
        Target target = Target::Camera;
        int number = 0;
        bool operator==(const Result &) const = default;
    };

    // The highest number of a target: 4 monitors (and their locks), 16
    // cameras and presets, 64 alarm inputs, tours as many as three digits
    // number.
    static int highest(Target target);

    // Each key comes with the time it was pressed, in ms of a steady clock.
    Result digit(int digit, qint64 nowMs);
    Result choose(Target target, qint64 nowMs);
    Result erase(qint64 nowMs); // Backspace: the last digit goes
    Result clear();             // Escape
    // Drops what was typed when no key came for timeoutMs; true if it did.
    bool expire(qint64 nowMs);

    // The digits typed so far, "" when none.
    const QString &typed() const { return m_typed; }

private:
    QString m_typed;
    qint64 m_lastKeyMs = 0;
};

} // namespace panel
