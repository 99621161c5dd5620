#pragma once

#include <QObject>
#include <QString>

namespace remote {

// The switcher as the Videohub server sees it: 16 inputs (the cameras) and
// 4 outputs (the monitors), all counted from 0. The session implements it;
// the server only reads it, asks it to route or rename, and follows its
// signals, so that what clients are told is always what the panel shows.
class Router : public QObject {
    Q_OBJECT
public:
    static constexpr int inputCount = 16;
    static constexpr int outputCount = 4;

    using QObject::QObject;

    // The camera's title.
    virtual QString inputLabel(int input) const = 0;
    // "Monitor 1" .. "Monitor 4", in the panel's language.
    virtual QString outputLabel(int output) const = 0;
    // The camera the switcher last reported on the monitor; 0 (camera 1) for
    // a monitor never reported.
    virtual int routedInput(int output) const = 0;
    // Sends the route as the keypad does (monitor, then camera) and asks for
    // the status; client is the requester's address and port
    // ("127.0.0.1:50212", "[::1]:50212"). What the switcher does comes back
    // later through routingChanged().
    virtual void route(int output, int input, const QString &client) = 0;
    // Renames the camera and keeps the title in the configuration file
    // within a second (renames that come together are written once). The
    // label is printable Latin-1 text that the file reads back as it is.
    virtual void setInputLabel(int input, const QString &label) = 0;

signals:
    void inputLabelsChanged();
    // The language changed.
    void outputLabelsChanged();
    void routingChanged();
};

} // namespace remote
