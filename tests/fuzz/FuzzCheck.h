#pragma once

// What every fuzz target shares: a check that stops the run on a wrong
// result (so the fuzzer keeps the input that shows it, and the replay
// driver fails), and the one-byte-per-character reading of the input.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// The input being replayed, named in a failure report; libFuzzer names the
// input itself.
inline const char *currentInput = nullptr;

[[noreturn]] inline void fail(const char *check, const char *file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s%s%s\n", file, line, check,
                 currentInput ? " on input " : "", currentInput ? currentInput : "");
    std::fflush(stderr);
    std::abort();
}

// Inputs up to this size are also checked against a second, slower reading;
// a larger one (the replay's 1 MB inputs that time a reader) only against
// the reader's own invariants.
constexpr size_t compareLimit = 1 << 16;

inline QByteArray bytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// The input as the line and the files carry text: one Latin-1 character per byte.
inline QString latin1(const uint8_t *data, size_t size) {
    return QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzz::fail(#condition, __FILE__, __LINE__);                                          \
    } while (false)
