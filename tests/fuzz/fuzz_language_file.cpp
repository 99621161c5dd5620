// The language file reader: at most 32 captions, each a whole line ended by
// CR or CR LF, a lone LF kept inside the caption; nothing after line 32 read.
#include "FuzzCheck.h"
#include "config/LanguageFile.h"

#include <QByteArrayList>

namespace {
using config::LanguageFile;

// The captions found another way: cut at every CR, then drop the LF that
// completes a CR LF pair; a file that ends in a line end has no line after it.
QStringList splitCaptions(const QByteArray &bytes) {
    QByteArrayList parts = bytes.split('\r');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].startsWith('\n'))
            parts[i].remove(0, 1);
    }
    if (parts.last().isEmpty())
        parts.removeLast();
    QStringList out;
    for (qsizetype i = 0; i < parts.size() && i < LanguageFile::captionCount; ++i)
        out.append(QString::fromLatin1(parts[i]));
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    const QStringList captions = LanguageFile::captions(bytes);
    FUZZ_CHECK(captions.size() <= LanguageFile::captionCount);
    for (const QString &caption : captions)
        FUZZ_CHECK(!caption.contains(QLatin1Char('\r')));
    if (size <= fuzz::compareLimit)
        FUZZ_CHECK(captions == splitCaptions(bytes));
    return 0;
}
