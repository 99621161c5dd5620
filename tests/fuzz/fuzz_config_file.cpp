// The 35-line configuration file: a start-up's reading of any bytes, the
// rewrite of what was read (35 lines, read back the same), and the window
// position lines.
#include "FuzzCheck.h"
#include "config/ConfigFile.h"

#include <QByteArrayList>

namespace {
using config::ConfigFile;
using config::ConfigReading;

// The lines of a file, found another way: every line end made a lone LF.
QStringList splitLines(QByteArray bytes) {
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    QByteArrayList parts = bytes.split('\n');
    if (parts.last().isEmpty())
        parts.removeLast();
    QStringList out;
    for (const QByteArray &part : parts)
        out.append(QString::fromLatin1(part));
    return out;
}

bool same(const ConfigFile &a, const ConfigFile &b) {
    return a.left == b.left && a.top == b.top && a.titles == b.titles && a.types == b.types &&
           a.languageFile == b.languageFile;
}

void checkPosition(const QString &text) {
    const std::optional<int> position = ConfigFile::parsePosition(text);
    if (position)
        FUZZ_CHECK(*position >= -1000000000 && *position <= 1000000000);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytes(data, size);
    const ConfigReading reading = ConfigFile::read(bytes);
    const ConfigFile defaults = ConfigFile::defaults();
    const ConfigFile &file = reading.file;
    FUZZ_CHECK(file.titles.size() == ConfigFile::cameras);
    FUZZ_CHECK(file.types.size() == ConfigFile::cameras);
    if (reading.fresh)
        FUZZ_CHECK(same(file, defaults));
    else
        FUZZ_CHECK(file.left == reading.left && file.top == reading.top);

    // What was read, line by line (a second pass over the file: small inputs only).
    const bool compare = size <= fuzz::compareLimit;
    const QStringList lines = compare ? ConfigFile::lines(bytes) : QStringList();
    if (compare) {
        FUZZ_CHECK(lines == splitLines(bytes));
        FUZZ_CHECK(reading.left == lines.value(0) && reading.top == lines.value(1));
        FUZZ_CHECK(reading.fresh == lines.value(2).isEmpty());
    }
    if (compare && !reading.fresh) {
        for (int k = 0; k < ConfigFile::cameras; ++k) {
            // Cameras past the end of a short file keep the design title and "F".
            const int line = 2 + 2 * k;
            FUZZ_CHECK(file.titles[k] == (line < lines.size() ? lines[line] : defaults.titles[k]));
            FUZZ_CHECK(file.types[k] ==
                       (line + 1 < lines.size() ? lines[line + 1] : defaults.types[k]));
        }
        FUZZ_CHECK(file.languageFile == lines.value(ConfigFile::lineCount - 1));
    }
    checkPosition(reading.left);
    checkPosition(reading.top);

    // The rewrite of what was read is 35 CR LF lines that read back the same.
    const QByteArray rewritten = file.bytes();
    FUZZ_CHECK(rewritten.count("\r\n") == ConfigFile::lineCount);
    const ConfigReading again = ConfigFile::read(rewritten);
    FUZZ_CHECK(!again.fresh);
    FUZZ_CHECK(same(again.file, file));
    FUZZ_CHECK(again.file.bytes() == rewritten);

    // A position written by the periodic rewrite or by the title dialog's
    // save reads back as that position.
    int twips = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        twips = static_cast<int>(static_cast<unsigned>(twips) << 8 | data[i]);
    twips %= 1000000000;
    FUZZ_CHECK(ConfigFile::parsePosition(ConfigFile::positionText(twips)) == twips);
    FUZZ_CHECK(ConfigFile::parsePosition(ConfigFile::paddedPositionText(twips)) == twips);

    // Whatever the fields hold (pieces of the input between NUL bytes, line
    // breaks included), the file written from them still has 35 lines, and
    // a field without a line break reads back unchanged.
    if (!compare)
        return 0;
    const QByteArrayList pieces = bytes.split('\0');
    ConfigFile edited;
    edited.left = QString::fromLatin1(pieces.value(0));
    edited.top = QString::fromLatin1(pieces.value(1));
    for (int k = 0; k < ConfigFile::cameras; ++k) {
        edited.titles.append(QString::fromLatin1(pieces.value(2 + 2 * k)));
        edited.types.append(QString::fromLatin1(pieces.value(3 + 2 * k)));
    }
    edited.languageFile = QString::fromLatin1(pieces.value(ConfigFile::lineCount - 1));
    const QStringList written = splitLines(edited.bytes());
    FUZZ_CHECK(written.size() == ConfigFile::lineCount);
    const auto oneLine = [](const QString &s) {
        return !s.contains(QLatin1Char('\r')) && !s.contains(QLatin1Char('\n'));
    };
    for (int i = 0; i < ConfigFile::lineCount; ++i) {
        const QString field = QString::fromLatin1(pieces.value(i));
        if (oneLine(field))
            FUZZ_CHECK(written[i] == field);
    }
    return 0;
}
