#pragma once

#include "remote/BlockParser.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// The text of Blackmagic's Videohub Ethernet protocol as this panel speaks
// it: the blocks it writes and what a client's block asks for. Indexes count
// from 0; labels travel as UTF-8 (what Videohub clients read), and a label a
// client sends must fit the panel's Latin-1 titles.
namespace remote::protocol {

inline constexpr char preambleHeader[] = "PROTOCOL PREAMBLE:";
inline constexpr char deviceHeader[] = "VIDEOHUB DEVICE:";
inline constexpr char inputLabelsHeader[] = "INPUT LABELS:";
inline constexpr char outputLabelsHeader[] = "OUTPUT LABELS:";
inline constexpr char locksHeader[] = "VIDEO OUTPUT LOCKS:";
inline constexpr char routingHeader[] = "VIDEO OUTPUT ROUTING:";
inline constexpr char endPreludeHeader[] = "END PRELUDE:";
inline constexpr char pingHeader[] = "PING:";
inline constexpr char version[] = "2.3";
inline constexpr char modelName[] = "Velmar Controller";

// A block: its header, its lines, and the blank line that ends it.
QByteArray block(const char *header, const QByteArrayList &lines = {});
QByteArray ack();
QByteArray nak();

// "7 Camera 8": the index and the label, with any line break or other
// control character shown as a blank so that it cannot end the line.
QByteArray labelLine(int index, const QString &label);
QByteArray routeLine(int output, int input);

// Twelve upper-case hex digits standing for this machine (a hash of its
// machine id, so the id itself is not shown to the network).
QByteArray uniqueId(const QByteArray &machineId);

// The status blocks a client can ask to have sent again.
enum class Status { Preamble, Device, InputLabels, OutputLabels, Locks, Routing };

struct Route {
    int output = 0;
    int input = 0;
    friend bool operator==(const Route &, const Route &) = default;
};

// What a client's lock line asks: "2 O" lock output 2 for it, "2 U" unlock
// its lock, "2 F" unlock another's by force.
enum class LockAction { Lock, Unlock, Force };
struct LockRequest {
    int output = 0;
    LockAction action = LockAction::Lock;
    friend bool operator==(const LockRequest &, const LockRequest &) = default;
};
// A lock as a client is told it: O its own, L another's, U none.
QByteArray lockLine(int output, char state);

// What a client's block asks for. A block that cannot be done whole is
// Refused: nothing of it is done, and the client gets NAK.
struct Request {
    enum class Kind {
        Ping,        // ACK
        DumpAll,     // an empty block: ACK, then every status block
        Dump,        // a status header alone: ACK, then that block
        Routes,      // ACK, then the routes in order
        InputLabels, // ACK, then the renames in order
        Locks,       // ACK, then the locks in order
        Refused,     // NAK
    };
    Kind kind = Kind::Refused;
    Status status = Status::Preamble; // Dump
    QList<Route> routes;
    QList<std::pair<int, QString>> labels;
    QList<LockRequest> locks;
};

Request read(const BlockParser::Block &block, int inputs, int outputs);

// A client's label as the panel keeps it: UTF-8, or Latin-1 bytes when it is
// not UTF-8; nothing when it holds a character that is not printable Latin-1.
std::optional<QString> labelText(QByteArrayView bytes);

} // namespace remote::protocol
