#pragma once

#include <QString>

namespace terminal {

// The four fields of a port settings string as the properties dialog shows
// them. The string is cut at fixed places counted from its end, which holds
// for every string the port gives back ("9600,n,8,1", "19200,e,7,1.5"):
// parity and data bits are one character each, stop bits one or three.
struct PortSettingsFields {
    QString speed;
    QString parity;
    QString dataBits;
    QString stopBits;

    static PortSettingsFields split(const QString &settings);
};

// The parity entries of the dialog, in list order.
inline constexpr const char *parityEntries[] = {"Even", "Odd", "None", "Mark", "Space"};

// The list position of the parity entry that a letter selects: only the
// lower-case letters e, o, n, m and s select one; anything else gives -1.
int parityEntryFor(const QString &letter);

} // namespace terminal
