// The alarm socket's lines: any bytes are read without a fault; a request
// that is read writes back as a line that reads the same; a refusal of any
// reason is one line that reads back as a refusal.
#include "FuzzCheck.h"
#include "automation/AlarmRequest.h"

using automation::AlarmRequest;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    QString why;
    const std::optional<AlarmRequest> request = AlarmRequest::parse(bytes, &why);
    if (request) {
        FUZZ_CHECK(request->input >= 1 && request->input <= 64);
        FUZZ_CHECK(bytes.size() < AlarmRequest::maxLine);
        const std::optional<AlarmRequest> back = AlarmRequest::parse(request->line());
        FUZZ_CHECK(back && back->input == request->input && back->active == request->active);
    } else {
        FUZZ_CHECK(!why.isEmpty());
    }

    const QByteArray refusal = AlarmRequest::refusedLine(QString::fromUtf8(bytes));
    FUZZ_CHECK(refusal.count('\n') == 1 && refusal.endsWith('\n'));
    const std::optional<AlarmRequest::Answer> answer = AlarmRequest::answer(refusal);
    FUZZ_CHECK(answer && !answer->ok);
    AlarmRequest::answer(bytes);
    return 0;
}
