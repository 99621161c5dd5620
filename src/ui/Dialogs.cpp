#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace ui {

namespace {

QString titleOr(const QString &title) {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

QMessageBox::Icon toQt(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Dialogs::Buttons buttons) {
    switch (buttons) {
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Dialogs::Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Dialogs::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer fromQt(int button, Dialogs::Buttons set) {
    switch (button) {
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    case QMessageBox::Retry:
        return Dialogs::Answer::Retry;
    case QMessageBox::Abort:
        return Dialogs::Answer::Abort;
    case QMessageBox::Ignore:
        return Dialogs::Answer::Ignore;
    case QMessageBox::Ok:
        return Dialogs::Answer::Ok;
    default:
        break;
    }
    // Closing the box by its frame: the set's escape answer.
    switch (set) {
    case Dialogs::Buttons::AbortRetryIgnore:
        return Dialogs::Answer::Abort;
    case Dialogs::Buttons::Ok:
        return Dialogs::Answer::Ok;
    case Dialogs::Buttons::YesNo:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Cancel;
    }
}

} // namespace

Dialogs::Answer QtDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                   const QString &title) {
    QMessageBox box(toQt(icon), titleOr(title), text, toQt(buttons), m_parent);
    // Messages name files, sites and devices: their names are shown as they are.
    box.setTextFormat(Qt::PlainText);
    // A question before a loss answers No to Enter and Escape alike.
    if (buttons == Buttons::YesNo)
        box.setDefaultButton(QMessageBox::No);
    return fromQt(box.exec(), buttons);
}

std::optional<QString> QtDialogs::inputBox(const QString &prompt, const QString &title,
                                           const QString &defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, titleOr(title), prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFileName(const QString &title, const QString &filter) {
    return QFileDialog::getOpenFileName(m_parent, titleOr(title), QString(), filter);
}

QString QtDialogs::saveFileName(const QString &title, const QString &filter) {
    return QFileDialog::getSaveFileName(m_parent, titleOr(title), QString(), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace ui
