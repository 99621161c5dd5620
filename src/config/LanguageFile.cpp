#include "config/LanguageFile.h"

namespace config {

const LanguageFile::Slot LanguageFile::table[captionCount] = {
    {"frmTerminal", "up", "Up"},
    {"frmTerminal", "leftT", "Left"},
    {"frmTerminal", "down", "Down"},
    {"frmTerminal", "right", "Right"},
    {"frmTerminal", "fp", "focus +"},
    {"frmTerminal", "fm", "focus -"},
    {"frmTerminal", "ip", "iris +"},
    {"frmTerminal", "im", "iris -"},
    {"frmTerminal", "seq", "Seq"},
    {"frmTerminal", "Wiper", "Wiper"},
    {"frmTerminal", "AP", "A/P"},
    {"frmTerminal", "Lamps", "Lamps"},
    {"frmTerminal", "Aux", "Aux"},
    {"frmTerminal", "store", "Store Preset"},
    {"frmTerminal", "mnuFileExit", "E&xit"},
    {"frmTerminal", "mnuPort", "&CommPort"},
    {"frmTerminal", "mnuOpen", "Port &Open"},
    {"frmTerminal", "mnuProperties", "Properties..."},
    {"frmTerminal", "ControllerProgram", "&Sets texts of Velmar-Controller"},
    {"frmTerminal", "About", "&About"},
    {"frmProperties", "Label1", "Port:"},
    {"frmProperties", "Frame1", "Maximum Speed"},
    {"frmProperties", "fraConnection", "Connection Preferences"},
    {"frmProperties", "Frame5", "&Flow Control"},
    {"frmProperties", "cmdCancel", "Cancel"},
    {"frmControllerProgram", "Save", "Save &settings"},
    {"frmControllerProgram", "Annulla", "E&xit"},
    {"frmTerminal", "Language", "&Language"},
    {"frmTerminal", "PanSpeed", "Pan Speed"},
    {"frmTerminal", "TiltSpeed", "Tilt Speed"},
    {"frmChange", "Cancel", "&Delete"},
    {"frmChange", "New", "New"},
};

QStringList LanguageFile::captions(const QByteArray &bytes) {
    QStringList out;
    QString current;
    bool open = false; // a line has begun and not yet ended
    for (int i = 0; i < bytes.size() && out.size() < captionCount; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out.append(current);
            current.clear();
            open = false;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        current.append(QChar(static_cast<uchar>(c)));
        open = true;
    }
    if (open && out.size() < captionCount)
        out.append(current);
    return out;
}

} // namespace config
