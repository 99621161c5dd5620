#include "TestMain.h"
class X_tst_webinput : public QObject {
    Q_OBJECT
};
VELMAR_TEST_MAIN(X_tst_webinput)
#include "tst_webinput.moc"
