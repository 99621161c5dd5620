#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace bus {

// One command read from the bus: what a message on one of the station's
// command topics asks for, or why it asks for nothing. Topics are read below
// the station ("monitor/2/set"), payloads as the bus carries them (UTF-8).
struct Command {
    enum class Kind : quint8 {
        Invalid,      // error says why
        Route,        // monitor/N/set: a camera's number or name
        RecallPreset, // camera/N/preset/set: a preset's number
        RecallSalvo,  // salvo/set: a salvo's name
        StartTour,    // tour/N/set: ON
        StopTour,     // tour/N/set: OFF
        RaiseAlarm,   // alarm/N/set: ON
        ClearAlarm,   // alarm/N/set: OFF
        AckAlarm,     // alarm/N/set: ACK
    };

    // What a command's payload may hold. A longer one is refused unread: a
    // camera's name, a salvo's name or a number fits many times over.
    static constexpr qsizetype payloadLimit = 256;
    static constexpr int monitors = 4;
    static constexpr int cameras = 16;
    static constexpr int presets = 16;
    static constexpr int alarmInputs = 64;
    // Tours are numbered as automation.ini numbers them; the number is
    // bounded here only so that it reads as a number at all.
    static constexpr int tourLimit = 999;

    Kind kind = Kind::Invalid;
    int monitor = 0;
    int camera = 0;
    int preset = 0;
    int tour = 0;
    int alarm = 0;
    QString salvo;
    QString error; // "no monitor 5: monitors are 1 to 4"

    bool valid() const { return kind != Kind::Invalid; }

    // Reads a message. cameraOptions names the cameras as the bus offers
    // them (cameraOptions()): a route's payload is a camera's number or one
    // of these names.
    static Command read(QByteArrayView topic, QByteArrayView payload,
                        const QStringList &cameraOptions);
    // The command topics below the station, as a subscription names them.
    static QStringList subscriptions();
};

} // namespace bus
