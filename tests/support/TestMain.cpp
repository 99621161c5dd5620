#include "TestMain.h"

#include <QFileInfo>
#include <QMap>
#include <QTextStream>
#include <vector>

namespace testmain {

namespace {
QMap<QString, Run> &tests() {
    static QMap<QString, Run> all;
    return all;
}
} // namespace

bool add(const char *file, Run run) {
    tests().insert(QFileInfo(QString::fromLocal8Bit(file)).completeBaseName(), run);
    return true;
}

int run(int argc, char **argv) {
    if (argc > 1) {
        if (const Run one = tests().value(QString::fromLocal8Bit(argv[1]))) {
            // The class's own arguments follow its name.
            std::vector<char *> rest{argv[0]};
            rest.insert(rest.end(), argv + 2, argv + argc);
            return one(static_cast<int>(rest.size()), rest.data());
        }
    }
    int failed = 0;
    for (auto it = tests().cbegin(); it != tests().cend(); ++it)
        failed += it.value()(argc, argv) != 0;
    return failed;
}

} // namespace testmain
