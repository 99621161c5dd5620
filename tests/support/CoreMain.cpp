// The entry point of the tests of the pure parts: no window system at all.
#include "TestMain.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    return testmain::run(argc, argv);
}
