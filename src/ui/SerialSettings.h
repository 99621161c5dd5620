#pragma once

#include <QString>
#include <optional>

namespace ui {

// A port settings string such as "9600,n,8,1" or "19200,e,7,1.5": speed,
// parity letter, data bits and stop bits joined by commas.
struct SerialSettings {
    int speed = 9600;
    char parity = 'n'; // lower case: n, e, o, m or s
    int dataBits = 8;
    QString stopBits = QStringLiteral("1"); // "1", "1.5" or "2"

    // The string as the port gives it back: parity letter in lower case.
    QString text() const;

    // Parses a settings string; on failure returns nothing and sets *error.
    static std::optional<SerialSettings> parse(const QString &text, QString *error);
};

} // namespace ui
