// Loaded into the packaged panel with LD_PRELOAD by the package check, to see what a user
// sees at a fresh start without changing the program: once the application object exists,
// it waits for the language chooser, writes the names its file list shows (one a line) to
// the file named by VELMAR_PROBE_OUTPUT, and ends the program. When no chooser shows within
// ten seconds it writes what was shown instead and ends with status 1.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QListWidget>
#include <QTimer>

#include <cstdlib>

namespace {
[[noreturn]] void report(const QStringList &lines, int status) {
    QFile out(qEnvironmentVariable("VELMAR_PROBE_OUTPUT"));
    if (out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        for (const QString &line : lines)
            out.write(line.toUtf8() + '\n');
        out.close();
    }
    // Ends at once: the probe looks at the start only, and the program's own shutdown
    // would write the operator's files.
    std::_Exit(status);
}

void watchForChooser() {
    auto *timer = new QTimer(qApp);
    const QDeadlineTimer deadline(10000);
    QObject::connect(timer, &QTimer::timeout, qApp, [deadline] {
        QStringList shown;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            shown << QStringLiteral("shown: ") + window->objectName();
            if (window->objectName() != QLatin1String("frmSceltaLingua"))
                continue;
            const auto *files = window->findChild<QListWidget *>(QStringLiteral("File1"));
            if (!files)
                report({QStringLiteral("the language chooser has no file list File1")}, 1);
            QStringList names;
            for (int row = 0; row < files->count(); ++row)
                names << files->item(row)->text();
            report(names, 0);
        }
        if (deadline.hasExpired())
            report(QStringList{QStringLiteral("no language chooser within 10 s")} + shown, 1);
    });
    timer->start(50);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForChooser)
