#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;
class frmTerminal;

// Opens every window of the panel in turn, its menus and its boxes too, and
// saves a picture of each in a folder (properties.png, about.png, ...), so
// that a language or a scale factor can be looked over window by window.
class WindowTour : public QObject {
    Q_OBJECT
public:
    WindowTour(frmTerminal &window, const QString &folder, QObject *parent = nullptr);

    void start();

signals:
    // Every picture taken (or the first that could not be saved, with ok false).
    void finished(bool ok);

private:
    struct Stop {
        QString name;
        std::function<QWidget *()> open; // the widget to take, shown
        std::function<void()> close;
    };

    void next();

    frmTerminal &m_window;
    QString m_folder;
    QList<Stop> m_stops;
    qsizetype m_at = 0;
    QTimer m_settle;
};
