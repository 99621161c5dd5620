#include "remote/Protocol.h"

#include <QCryptographicHash>
#include <QStringDecoder>

namespace remote::protocol {

QByteArray block(const char *header, const QByteArrayList &lines) {
    QByteArray out(header);
    out.append('\n');
    for (const QByteArray &line : lines) {
        out.append(line);
        out.append('\n');
    }
    out.append('\n');
    return out;
}

QByteArray ack() {
    return QByteArrayLiteral("ACK\n\n");
}

QByteArray nak() {
    return QByteArrayLiteral("NAK\n\n");
}

QByteArray labelLine(int index, const QString &label) {
    QString shown = label;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return QByteArray::number(index) + ' ' + shown.toUtf8();
}

QByteArray routeLine(int output, int input) {
    return QByteArray::number(output) + ' ' + QByteArray::number(input);
}

QByteArray uniqueId(const QByteArray &machineId) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData("velmar-controller videohub ");
    hash.addData(machineId);
    return hash.result().left(6).toHex().toUpper();
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A port number: decimal digits alone, below count.
std::optional<int> index(QByteArrayView text, int count) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= count)
        return std::nullopt;
    return value;
}

// Splits "a b" with any run of blanks around and between; nothing when there
// are not exactly two fields.
std::optional<std::pair<QByteArrayView, QByteArrayView>> twoFields(QByteArrayView line) {
    QByteArrayView fields[2];
    int count = 0;
    qsizetype at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        const qsizetype start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        if (at == start)
            break;
        if (count == 2)
            return std::nullopt;
        fields[count++] = line.sliced(start, at - start);
    }
    if (count != 2)
        return std::nullopt;
    return std::pair(fields[0], fields[1]);
}

std::optional<Status> status(QByteArrayView header) {
    static const std::pair<const char *, Status> known[] = {
        {preambleHeader, Status::Preamble},
        {deviceHeader, Status::Device},
        {inputLabelsHeader, Status::InputLabels},
        {outputLabelsHeader, Status::OutputLabels},
        {locksHeader, Status::Locks},
        {routingHeader, Status::Routing},
    };
    for (const auto &[text, which] : known) {
        if (header == QByteArrayView(text))
            return which;
    }
    return std::nullopt;
}

Request refused() {
    return Request();
}

Request routes(const QByteArrayList &lines, int inputs, int outputs) {
    Request out;
    out.kind = Request::Kind::Routes;
    for (const QByteArray &line : lines) {
        const auto fields = twoFields(line);
        const auto output = fields ? index(fields->first, outputs) : std::nullopt;
        const auto input = fields ? index(fields->second, inputs) : std::nullopt;
        if (!output || !input)
            return refused();
        out.routes.append({*output, *input});
    }
    return out;
}

Request locks(const QByteArrayList &lines, int outputs) {
    Request out;
    out.kind = Request::Kind::Locks;
    for (const QByteArray &line : lines) {
        const auto fields = twoFields(line);
        const auto output = fields ? index(fields->first, outputs) : std::nullopt;
        if (!output || fields->second.size() != 1)
            return refused();
        switch (fields->second.front()) {
        case 'O':
            out.locks.append({*output, LockAction::Lock});
            break;
        case 'U':
            out.locks.append({*output, LockAction::Unlock});
            break;
        case 'F':
            out.locks.append({*output, LockAction::Force});
            break;
        default:
            return refused();
        }
    }
    return out;
}

// "3 Camera 4": the index, one blank, the label to the end of the line (an
// index alone names an empty label).
Request inputLabels(const QByteArrayList &lines, int inputs) {
    Request out;
    out.kind = Request::Kind::InputLabels;
    for (const QByteArray &line : lines) {
        QByteArrayView rest(line);
        while (!rest.isEmpty() && isBlank(rest.front()))
            rest = rest.sliced(1);
        const qsizetype blank = rest.indexOf(' ');
        const auto input = index(blank < 0 ? rest : rest.first(blank), inputs);
        const auto label = labelText(blank < 0 ? QByteArrayView() : rest.sliced(blank + 1));
        if (!input || !label)
            return refused();
        out.labels.append({*input, *label});
    }
    return out;
}

} // namespace

Request read(const BlockParser::Block &block, int inputs, int outputs) {
    Request out;
    if (block.header.isEmpty()) {
        out.kind = Request::Kind::DumpAll;
        return out;
    }
    const QByteArrayView header = QByteArrayView(block.header).trimmed();
    if (header == QByteArrayView(pingHeader)) {
        out.kind = Request::Kind::Ping;
        return out;
    }
    const std::optional<Status> which = status(header);
    if (!which)
        return refused();
    if (block.lines.isEmpty()) {
        out.kind = Request::Kind::Dump;
        out.status = *which;
        return out;
    }
    switch (*which) {
    case Status::Routing:
        return routes(block.lines, inputs, outputs);
    case Status::InputLabels:
        return inputLabels(block.lines, inputs);
    case Status::Locks:
        return locks(block.lines, outputs);
    default:
        // Output labels (a monitor has no name of its own to keep) and the
        // device's own blocks cannot be changed.
        return refused();
    }
}

QByteArray lockLine(int output, char state) {
    return QByteArray::number(output) + ' ' + state;
}

std::optional<QString> labelText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    for (const QChar c : std::as_const(text)) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > 0xFF)
            return std::nullopt;
    }
    return text;
}

} // namespace remote::protocol
