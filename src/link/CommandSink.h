#pragma once

#include <QString>

namespace devicelink {

// Where every command goes: the caller writes the code into CommandCode and
// calls Invio, which sends it on the channel the remote address selects.
class CommandSink {
public:
    virtual ~CommandSink() = default;
    virtual void Invio() = 0;

    // Sets CommandCode and calls Invio, the pattern of every call site.
    void send(const QString &code) {
        CommandCode = code;
        Invio();
    }

    QString CommandCode;
};

} // namespace devicelink
