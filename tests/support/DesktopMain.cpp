// The entry point of the tests that need a real desktop: the desktop is
// made before the application object, which then runs on it (or offscreen,
// for its tests to skip, when there is none).
#include "Desktop.h"
#include "TestMain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    Desktop desktop;
    if (!desktop.unavailable().isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int status = 0;
    {
        QApplication app(argc, argv);
        status = testmain::run(argc, argv);
    }
    return status;
}
