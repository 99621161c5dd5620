#pragma once

#include "link/Codes.h"

#include <QString>

namespace devicelink {

// Where every command goes: the caller writes the code into CommandCode and
// calls Invio, which sends it on the channel in use.
class CommandSink {
public:
    virtual ~CommandSink() = default;
    virtual void Invio() = 0;

    // Sets CommandCode and calls Invio, the pattern of every call site.
    void send(const QString &code) {
        CommandCode = code;
        Invio();
    }
    void send(Code code) { send(codeOf(code)); }

    QString CommandCode;
};

} // namespace devicelink
