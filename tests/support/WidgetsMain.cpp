// The entry point of the tests that drive windows: the layout's twips are
// checked at 96 DPI, as Qt Test's own main sets them.
#include "TestMain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    return testmain::run(argc, argv);
}
