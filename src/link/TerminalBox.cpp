#include "link/TerminalBox.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

namespace devicelink {

namespace {
// The box shows each line end, whatever pair or lone character made it, as a
// line break.
QString displayText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

TerminalBox::TerminalBox(QWidget *parent)
    : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("txtTerm"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    QPalette p = palette();
    p.setColor(QPalette::Text, QColor(0, 0, 255));
    setPalette(p);
}

int TerminalBox::keyCode(const QKeyEvent &event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if (event.modifiers().testFlag(Qt::ControlModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    const char16_t c = text.at(0).unicode();
    return c <= 255 ? c : 0;
}

void TerminalBox::keyPressEvent(QKeyEvent *event) {
    int code = keyCode(*event);
    if (code == 0) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_keyHandler)
        m_keyHandler(code);
    if (code == 0)
        return;
    if (m_buffer.type(code))
        showAll();
    else
        showAppended(code == 13 ? QStringLiteral("\r\n") : QString(QChar(code)));
}

QString TerminalBox::appendReceived(const QString &received) {
    const TerminalBuffer::Change change = m_buffer.append(received);
    if (change.rewritten)
        showAll();
    else
        showAppended(change.appended);
    return change.appended;
}

void TerminalBox::clearAll() {
    m_buffer.clear();
    QPlainTextEdit::clear();
}

void TerminalBox::moveCaretToEnd() {
    moveCursor(QTextCursor::End);
}

void TerminalBox::showAll() {
    setPlainText(displayText(m_buffer.text()));
    moveCaretToEnd();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TerminalBox::showAppended(const QString &text) {
    if (text.isEmpty())
        return;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(displayText(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace devicelink
