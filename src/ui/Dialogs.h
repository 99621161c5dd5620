#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace ui {

// Message boxes, input boxes and file choices. Windows ask through this seam
// so that tests can answer without anything modal on screen.
class Dialogs {
public:
    enum class Icon { None, Exclamation, Question, Critical, Information };
    enum class Buttons { Ok, YesNoCancel, RetryCancel, AbortRetryIgnore, YesNo };
    enum class Answer { Ok, Yes, No, Cancel, Retry, Abort, Ignore };

    virtual ~Dialogs() = default;

    // The title is the application title when empty.
    virtual Answer message(const QString &text, Buttons buttons, Icon icon,
                           const QString &title = {}) = 0;
    // Empty optional when the operator cancels.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // Empty text when the operator cancels.
    virtual QString openFileName(const QString &title, const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &filter) = 0;

    // The error box of the whole program: the text, the exclamation icon, OK.
    void warning(const QString &text) { message(text, Buttons::Ok, Icon::Exclamation); }
    // A question before something is destroyed or replaced; No unless Yes.
    bool confirm(const QString &question) {
        return message(question, Buttons::YesNo, Icon::Question) == Answer::Yes;
    }
};

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr)
        : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    Answer message(const QString &text, Buttons buttons, Icon icon,
                   const QString &title = {}) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &filter) override;

private:
    QWidget *m_parent;
};

} // namespace ui
