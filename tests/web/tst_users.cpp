#include "TestMain.h"
class X_tst_users : public QObject {
    Q_OBJECT
};
VELMAR_TEST_MAIN(X_tst_users)
#include "tst_users.moc"
