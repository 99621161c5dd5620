// The remote site list: the entries of any file, the file rewritten from
// them and after a deletion (the same entries read back), and an added entry
// (the file's own bytes kept, the new entry last).
//
// Input: the file's bytes, then a NUL byte and the entry to add; an input
// beginning with 0xFF stands for a site list that does not exist.
#include "FuzzCheck.h"
#include "config/SiteList.h"

#include <QByteArrayList>

namespace {
using config::SiteList;

QStringList splitEntries(QByteArray bytes) {
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    QStringList out;
    for (const QByteArray &line : bytes.split('\n')) {
        if (!line.isEmpty())
            out.append(QString::fromLatin1(line));
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    const QStringList entries = SiteList::entries(bytes);
    if (size <= fuzz::compareLimit)
        FUZZ_CHECK(entries == splitEntries(bytes));

    const QByteArray rewritten = SiteList::bytes(entries);
    FUZZ_CHECK(rewritten.count("\r\n") == entries.size());
    FUZZ_CHECK(SiteList::entries(rewritten) == entries);
    // A deletion rewrites every entry but the selected one (or all of them
    // when none is selected).
    QStringList kept = entries;
    const qsizetype selected = static_cast<qsizetype>(size % (entries.size() + 1));
    if (selected < kept.size())
        kept.removeAt(selected);
    FUZZ_CHECK(SiteList::entries(SiteList::bytes(kept)) == kept);

    const qsizetype cut = bytes.indexOf('\0');
    const bool missing = bytes.startsWith('\xFF');
    const std::optional<QByteArray> file =
        missing ? std::nullopt : std::optional(cut < 0 ? bytes : bytes.left(cut));
    const QString entry = cut < 0 ? QString() : QString::fromLatin1(bytes.mid(cut + 1));
    const QByteArray before = file.value_or(QByteArray());
    const QByteArray added = before + SiteList::addition(before.right(1), entry);
    FUZZ_CHECK(added.startsWith(before));
    FUZZ_CHECK(added.endsWith("\r\n"));
    QStringList expected = missing ? QStringList() : cut < 0 ? entries : SiteList::entries(before);
    const QString line = SiteList::oneLine(entry);
    FUZZ_CHECK(line.size() == entry.size());
    if (!line.isEmpty())
        expected.append(line);
    FUZZ_CHECK(SiteList::entries(added) == expected);
    return 0;
}
