// The browser panel's reading of a request head: whatever the bytes, the
// head read stays within its bounds, its fields are what a later step may
// trust (a path from '/', names in lower case, no control characters, a
// length within the body's bound), the bytes after the head never change
// it, and the cookie, bearer and query readers take any field value.
#include "FuzzCheck.h"
#include "web/HttpHead.h"

namespace {
using web::HttpHead;

void checkFieldReaders(const QByteArray &value) {
    const QByteArray cookie = HttpHead::cookie(value, "velmar_session");
    FUZZ_CHECK(cookie.size() <= value.size());
    const QByteArray bearer = HttpHead::bearer(value);
    FUZZ_CHECK(bearer.size() <= value.size());
    const QByteArray token = HttpHead::queryValue(value, "token");
    FUZZ_CHECK(token.size() <= value.size());
    QByteArray decoded;
    if (HttpHead::percentDecode(value, &decoded))
        FUZZ_CHECK(decoded.size() <= value.size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    HttpHead head;
    const HttpHead::Status status = HttpHead::read(bytes, &head);
    if (bytes.size() > 4 * HttpHead::headLimit) {
        // A reader that is handed more than the bound decides within it.
        FUZZ_CHECK(status != HttpHead::Status::NeedMore);
    }
    if (status == HttpHead::Status::NeedMore)
        FUZZ_CHECK(bytes.size() <= HttpHead::headLimit);
    if (status != HttpHead::Status::Complete) {
        checkFieldReaders(bytes.left(HttpHead::headLimit));
        return 0;
    }
    FUZZ_CHECK(head.size > 0 && head.size <= HttpHead::headLimit && head.size <= bytes.size());
    FUZZ_CHECK(head.fields.size() <= HttpHead::fieldLimit);
    FUZZ_CHECK(head.contentLength >= 0 && head.contentLength <= HttpHead::bodyLimit);
    FUZZ_CHECK(head.path.startsWith('/'));
    for (const char c : std::as_const(head.path))
        FUZZ_CHECK(uchar(c) >= 0x20 && c != 0x7F);
    FUZZ_CHECK(!head.method.isEmpty() && head.method.size() <= 16);
    for (const auto &[name, value] : std::as_const(head.fields)) {
        FUZZ_CHECK(!name.isEmpty() && name == name.toLower());
        FUZZ_CHECK(!value.contains('\n') && !value.contains('\r'));
        checkFieldReaders(value);
    }
    checkFieldReaders(head.query);
    // The head alone reads the same as the head with what follows it.
    HttpHead again;
    FUZZ_CHECK(HttpHead::read(bytes.left(head.size), &again) == HttpHead::Status::Complete);
    FUZZ_CHECK(again.fields == head.fields && again.path == head.path &&
               again.query == head.query && again.size == head.size &&
               again.contentLength == head.contentLength && again.upgrade == head.upgrade);
    return 0;
}
