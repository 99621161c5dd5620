#include "web/LiveMessage.h"

#include "web/ApiInput.h"

namespace web {

LiveMessage LiveMessage::parse(QByteArrayView text) {
    LiveMessage m;
    if (text.size() > sizeLimit) {
        m.error = QStringLiteral("the message is longer than %1 bytes").arg(sizeLimit);
        return m;
    }
    QString error;
    const std::optional<QJsonObject> object = ApiInput::object(text, &error);
    if (!object || object->isEmpty()) {
        m.error = object ? QStringLiteral("the message is empty") : error;
        return m;
    }
    const QString type = object->value(QStringLiteral("type")).toString();
    if (type == QLatin1String("hold")) {
        m.type = Type::Hold;
        return m;
    }
    if (type == QLatin1String("stop")) {
        m.type = Type::Stop;
        return m;
    }
    if (type != QLatin1String("move")) {
        m.error = QStringLiteral("\"type\" must be move, hold or stop");
        return m;
    }
    const std::optional<int> camera = ApiInput::number(*object, QStringLiteral("camera"), 1,
                                                       devicelink::Switcher::cameras, &error, 0);
    const std::optional<devicelink::Move> move =
        ApiInput::move(object->value(QStringLiteral("action")).toString());
    const std::optional<int> speed = ApiInput::number(
        *object, QStringLiteral("speed"), 0, devicelink::Switcher::fastestSpeed, &error, -1);
    if (!camera || !speed) {
        m.error = error;
        return m;
    }
    if (!move) {
        m.error = QStringLiteral("\"action\" must be a move such as left or zoom-in");
        return m;
    }
    m.type = Type::Move;
    m.camera = *camera;
    m.move = *move;
    m.speed = *speed;
    return m;
}

} // namespace web
