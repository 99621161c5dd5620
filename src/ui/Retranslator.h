#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace ui {

// Keeps the texts a function sets (tooltips, accessible names, captions the
// language file does not give) in the language in use: it runs the function
// at once, and again whenever the watched widget hears that the
// application's translation changed (QEvent::LanguageChange).
class Retranslator : public QObject {
    Q_OBJECT
public:
    // Lives as long as owner (the watched widget when none is given), so
    // that the function never outlives what it writes to.
    static Retranslator *keep(QWidget *watched, std::function<void()> texts,
                              QObject *owner = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Retranslator(QWidget *watched, std::function<void()> texts, QObject *owner);

    std::function<void()> m_texts;
};

} // namespace ui
