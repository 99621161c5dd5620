#pragma once

#include <QString>

namespace devicelink {

// Who asked for a frame or an operation, so that whoever watches the link
// (the traffic window, the event log) can say who sent what, and so that the
// arbiter can weigh one source against another.
struct Origin {
    enum class Kind : quint8 {
        Panel,           // the panel's buttons and their timers
        Keyboard,        // routing typed on the panel
        Joystick,        // the joystick window
        CodeBox,         // the hand-typed code box
        Terminal,        // keys typed into the terminal box
        StatusPoll,      // the status requests after a selection or movement, Ask status
        Shutdown,        // the sign-off at the end
        SiteChooser,     // the sign-off when the site chooser opens
        Acknowledgement, // the answer to each datagram from the site
        Modem,           // dialling and hanging up
        Transmission,    // a text file sent to the port
        Remote,          // another system; detail names it whole
        Videohub,        // a Videohub client; detail is its address ("127.0.0.1:51512")
        Web,             // a user of the browser panel; detail is the user's name
        Bus,             // the site's message bus; detail, if any, says more
        Tour,            // a tour; detail is its number
        Alarm,           // an alarm input; detail is its number
        Salvo,           // a salvo; detail is its name
        Schedule,        // a schedule entry; detail is its number
    };

    // The arbiter's default for the kind (settings.ini [Priorities]).
    static constexpr int kindPriority = -1;

    Origin() = default;
    Origin(Kind k, QString d = {}, int p = kindPriority) // NOLINT: a kind alone is an origin
        : kind(k)
        , detail(std::move(d))
        , priority(p) {}

    Kind kind = Kind::Panel;
    QString detail;
    // Higher wins; kindPriority takes the kind's from the settings.
    int priority = kindPriority;

    // "panel", "code box", "videohub 127.0.0.1:51512", "web alice", "tour 2".
    QString text() const;
    // Who acts, as locks and camera control know it: the panel's mouse,
    // keyboard, joystick and code box are one operator, "panel"; any other
    // origin is a source of its own, named as text() names it.
    QString source() const;
    // The panel's operator, by whatever means.
    bool isPanel() const;

    bool operator==(const Origin &other) const = default;
};

} // namespace devicelink
