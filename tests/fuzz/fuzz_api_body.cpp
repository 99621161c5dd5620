// The JSON bodies of the browser panel's requests and the messages of its
// live socket: whatever the bytes, a value read is in its range and of its
// type, and a message is either one thing or refused with a reason.
#include "FuzzCheck.h"
#include "web/ApiInput.h"
#include "web/LiveMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using web::ApiInput;
    using web::LiveMessage;
    const QByteArray bytes = fuzz::bytes(data, size);
    QString error;
    const std::optional<QJsonObject> object = ApiInput::object(bytes, &error);
    FUZZ_CHECK(object.has_value() || !error.isEmpty());
    if (object) {
        for (const QString &key : object->keys()) {
            if (const std::optional<int> n = ApiInput::number(*object, key, 1, 16, &error))
                FUZZ_CHECK(*n >= 1 && *n <= 16);
            if (const std::optional<QString> t = ApiInput::text(*object, key, 32, &error))
                FUZZ_CHECK(!t->isEmpty() && t->size() <= 32);
            ApiInput::flag(*object, key, &error);
            if (const auto move = ApiInput::move(object->value(key).toString()))
                FUZZ_CHECK(ApiInput::move(ApiInput::moveName(*move)) == move);
            ApiInput::auxiliary(object->value(key).toString());
        }
    }
    if (const std::optional<int> n = ApiInput::pathNumber(bytes, 1, 64))
        FUZZ_CHECK(*n >= 1 && *n <= 64 && QByteArray::number(*n).size() <= bytes.size());

    const LiveMessage message = LiveMessage::parse(bytes);
    if (bytes.size() > LiveMessage::sizeLimit)
        FUZZ_CHECK(message.type == LiveMessage::Type::Invalid);
    if (message.type == LiveMessage::Type::Invalid)
        FUZZ_CHECK(!message.error.isEmpty());
    if (message.type == LiveMessage::Type::Move) {
        FUZZ_CHECK(message.camera >= 0 && message.camera <= 16);
        FUZZ_CHECK(message.speed >= -1 && message.speed <= 7);
        FUZZ_CHECK(!ApiInput::moveName(message.move).isEmpty());
    }
    return 0;
}
