// Runs the fuzz targets without libFuzzer, for the ordinary test builds:
// one target over every file of the folders (or the files) it is given and,
// with --linear, over generated 1 MB inputs that a reader has to take in
// linear time (a quadratic scan of 1 MB takes minutes, not milliseconds).
//
// Usage: fuzz-replay TARGET [--linear] [--times] PATH...
#include "FuzzCheck.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define X(name) extern "C" int fuzz_##name(const uint8_t *, size_t);
VELMAR_FUZZ_TARGETS
#undef X

namespace {
struct Target {
    const char *name;
    int (*run)(const uint8_t *, size_t);
};

const Target targets[] = {
#define X(name) {#name, fuzz_##name},
    VELMAR_FUZZ_TARGETS
#undef X
};

// What one generated input may take, sanitizers and a busy machine included.
constexpr double linearSeconds = 3.0;
constexpr size_t megabyte = 1 << 20;

struct Shape {
    const char *name;
    std::string bytes;
};

std::vector<Shape> shapes() {
    const auto run = [](size_t count, char c) { return std::string(count, c); };
    std::string crlf;
    crlf.reserve(megabyte);
    while (crlf.size() < megabyte)
        crlf += "\r\n";
    // Two NUL bytes first: the terminal target takes the rest as one receive
    // event. Otherwise it cuts the input into events of up to 16 bytes.
    const std::string oneEvent(2, '\0');
    return {
        {"one line without a line end", run(megabyte, 'A')},
        {"characters, then as many backspaces",
         oneEvent + run(megabyte / 2, 'A') + run(megabyte / 2, '\b')},
        {"lone CRs", oneEvent + run(megabyte, '\r')},
        {"CR LF pairs", crlf},
        {"digits", run(megabyte, '9')},
        {"blanks before a digit", run(megabyte - 1, ' ') + '7'},
        {"commas", run(megabyte, ',')},
    };
}

std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int runOne(const Target &target, const std::string &bytes, const std::string &name) {
    fuzz::currentInput = name.c_str();
    // A copy of its own, as libFuzzer hands it: a read past its end is caught.
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    return target.run(data.empty() ? nullptr : data.data(), data.size());
}
} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TARGET [--linear] [--times] PATH...\n", argv[0]);
        return 2;
    }
    const Target *target = nullptr;
    for (const Target &t : targets) {
        if (std::strcmp(t.name, argv[1]) == 0)
            target = &t;
    }
    if (!target) {
        std::fprintf(stderr, "no fuzz target named %s\n", argv[1]);
        return 2;
    }

    bool linear = false;
    bool times = false;
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--linear") == 0) {
            linear = true;
        } else if (std::strcmp(argv[i], "--times") == 0) {
            times = true;
        } else if (std::filesystem::is_directory(argv[i])) {
            for (const auto &entry : std::filesystem::directory_iterator(argv[i])) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else if (std::filesystem::is_regular_file(argv[i])) {
            files.push_back(argv[i]);
        } else {
            std::fprintf(stderr, "no file or folder %s\n", argv[i]);
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto &path : files)
        runOne(*target, readFile(path), path.string());

    double slowest = 0;
    std::string slowestName;
    size_t generated = 0;
    if (linear) {
        for (const Shape &shape : shapes()) {
            const auto start = std::chrono::steady_clock::now();
            runOne(*target, shape.bytes, shape.name);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ++generated;
            if (times)
                std::printf("%7.3f s  %s\n", seconds, shape.name);
            if (seconds > slowest) {
                slowest = seconds;
                slowestName = shape.name;
            }
            if (seconds > linearSeconds) {
                std::fprintf(stderr, "%s: 1 MB of %s took %.1f s: not linear\n", target->name,
                             shape.name, seconds);
                return 1;
            }
        }
    }
    std::printf("%s: %zu corpus files", target->name, files.size());
    if (linear)
        std::printf(", %zu generated 1 MB inputs (slowest %.2f s: %s)", generated, slowest,
                    slowestName.c_str());
    std::printf("\n");
    return 0;
}
