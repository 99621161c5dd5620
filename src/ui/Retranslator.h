#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace ui {

// Keeps the texts a function sets (tooltips, accessible names, captions the
// language file does not give) in the language in use: it runs the function
// at once, and again whenever the owner hears that the application's
// translation changed (QEvent::LanguageChange).
class Retranslator : public QObject {
    Q_OBJECT
public:
    // Lives as long as owner.
    static void keep(QWidget *owner, std::function<void()> texts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Retranslator(QWidget *owner, std::function<void()> texts);

    std::function<void()> m_texts;
};

} // namespace ui
