#pragma once

#include <QString>

namespace devicelink {

// Who asked for a frame to go to the switcher, so that whoever watches the
// link (the traffic window, the event log) can say who sent what.
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
        Remote,          // another system; detail names it ("videohub 127.0.0.1:51512")
    };

    Origin() = default;
    Origin(Kind k, QString d = {}) // NOLINT: a kind alone is an origin
        : kind(k)
        , detail(std::move(d)) {}

    Kind kind = Kind::Panel;
    QString detail;

    // "panel", "code box", "status poll", or the remote client's name.
    QString text() const;

    bool operator==(const Origin &other) const = default;
};

} // namespace devicelink
