#pragma once

#include "remote/Protocol.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <functional>

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
    // The camera the switcher reported on the monitor; -1 while it is not
    // known (never reported, or reported before a loss or a change of channel).
    virtual int routedInput(int output) const = 0;
    // Sends the route as the keypad does (monitor, then camera) and asks for
    // the status; client is the requester's address and port
    // ("127.0.0.1:50212", "[::1]:50212"). done says whether it left (false:
    // refused by a lock, or the port is closed); what the switcher does comes
    // back later through routingChanged().
    using Done = std::function<void(bool left)>;
    virtual void route(int output, int input, const QString &client, Done done) = 0;
    // A client came from this address (its priority follows from it).
    virtual void clientCame(const QString &client, const QHostAddress &address) {
        Q_UNUSED(client);
        Q_UNUSED(address);
    }
    // A client left: what it held (locks, a camera it moved) is free again.
    virtual void clientGone(const QString &client) { Q_UNUSED(client); }

    // An output's lock as this client sees it.
    enum class Lock { None, Own, Other };
    virtual Lock lockOf(int output, const QString &client) const {
        Q_UNUSED(output);
        Q_UNUSED(client);
        return Lock::None;
    }
    // Locks the output for the client, unlocks its lock, or (Force) unlocks
    // another's when the client's priority is higher; done says whether it was.
    virtual void lock(int output, protocol::LockAction action, const QString &client, Done done) {
        Q_UNUSED(output);
        Q_UNUSED(action);
        Q_UNUSED(client);
        done(false);
    }
    // Renames the camera and keeps the title in the configuration file
    // within a second (renames that come together are written once). The
    // label is printable Latin-1 text that the file reads back as it is.
    virtual void setInputLabel(int input, const QString &label) = 0;

signals:
    void inputLabelsChanged();
    // The language changed.
    void outputLabelsChanged();
    void routingChanged();
    // An output was locked or unlocked.
    void locksChanged();
};

} // namespace remote
