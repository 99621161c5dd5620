#pragma once

#include <QString>
#include <QtGlobal>

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

// The parity entries of the dialog, in list order, as the dialog's texts to
// translate; each one's first letter is its letter in the settings string.
inline constexpr const char *parityEntries[] = {
    QT_TRANSLATE_NOOP("terminal::frmProperties", "Even"),
    QT_TRANSLATE_NOOP("terminal::frmProperties", "Odd"),
    QT_TRANSLATE_NOOP("terminal::frmProperties", "None"),
    QT_TRANSLATE_NOOP("terminal::frmProperties", "Mark"),
    QT_TRANSLATE_NOOP("terminal::frmProperties", "Space")};

// The list position of the parity entry that a letter selects: only the
// lower-case letters e, o, n, m and s select one; anything else gives -1.
int parityEntryFor(const QString &letter);

} // namespace terminal
