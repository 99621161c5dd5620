#pragma once

#include <QObject>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

class QDateTime;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace devicelink {
class Clock;
}
namespace ui {
class Dialogs;
}

namespace events {

class HistoryModel;

// The event log's history: the rows of a time range that a text filter lets
// through (camera, monitor, origin, channel), and their export as CSV. The
// range runs up to the moment of the search unless its end was chosen. The
// search runs on a thread of its own, so a long range never holds the
// panel; a new search, or closing, abandons the one under way.
class HistoryView : public QWidget {
    Q_OBJECT
public:
    // A search shows at most this many rows and says when there were more.
    static constexpr int rowLimit = 100000;

    HistoryView(const QString &logPath, ui::Dialogs &dialogs, const devicelink::Clock &clock,
                QWidget *parent = nullptr);
    ~HistoryView() override;

    // A range chosen: its end no longer follows the clock.
    void setRange(const QDateTime &from, const QDateTime &to);
    void setFilter(const QString &text);
    void find();
    // Writes the rows found as CSV, whole or not at all, and says where and
    // how many; false, after saying why, when it cannot.
    bool exportTo(const QString &fileName);
    // What the line below the rows says.
    QString statusText() const;
    void Export_Click();

    const HistoryModel &model() const { return *m_model; }

signals:
    // A search ended: the rows it shows.
    void found(int rows);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Found;
    void retranslate();
    void showFound(qint64 search, const Found &found);
    // The status in the language in use, again after a change of language.
    void say(std::function<QString()> text);

    QString m_path;
    ui::Dialogs &m_dialogs;
    const devicelink::Clock &m_clock;
    bool m_toChosen = false;
    bool m_settingRange = false;
    std::function<QString()> m_statusText;
    HistoryModel *m_model;
    QDateTimeEdit *m_from;
    QDateTimeEdit *m_to;
    QLabel *m_fromLabel;
    QLabel *m_toLabel;
    QLabel *m_filterLabel;
    QLineEdit *m_filter;
    QPushButton *m_find;
    QPushButton *m_export;
    QTableView *m_table;
    QLabel *m_status;
    QObject m_reader; // lives on m_thread; searches run as its queued calls
    QThread m_thread;
    std::shared_ptr<std::atomic<qint64>> m_latest; // the search that counts
    bool m_shown = false;
};

} // namespace events
