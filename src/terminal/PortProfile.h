#pragma once

#include <QString>
#include <optional>

namespace ui {
class SettingsStore;
}

namespace terminal {

// The port settings kept in the settings store's [Properties] section: the
// four keys the port properties dialog writes and start-up applies. A key
// never written reads as empty text, and an empty value is not applied.
struct PortProfile {
    QString settings;    // "Settings": "9600,n,8,1"
    QString commPort;    // "CommPort": "3"
    QString handshaking; // "Handshaking": "0" to "3"
    QString echo;        // "Echo": "True" or "False"

    static PortProfile read(const ui::SettingsStore &store);
    void write(ui::SettingsStore &store) const;

    // The stored echo as a flag: "True", "False" or a number; nothing for
    // anything else (the echo then stays off).
    std::optional<bool> echoFlag() const;
    static QString echoText(bool on);
};

} // namespace terminal
