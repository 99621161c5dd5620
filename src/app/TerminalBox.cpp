#include "app/TerminalBox.h"

#include "ui/FramePacer.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>

namespace app {

namespace {
// The box shows each line end, whatever pair or lone character made it, as a
// line break.
QString displayText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// How many characters displayText() makes of the text.
qsizetype displayLength(QStringView text) {
    return text.size() - text.count(QLatin1String("\r\n"));
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
    // Received text is laid out as it streams in: without shaping, simple
    // text goes straight from characters to glyphs.
    QFont f = font();
    f.setStyleStrategy(QFont::PreferNoShaping);
    setFont(f);
    m_pacer = new ui::FramePacer(this);
    m_frame = connect(m_pacer, &ui::FramePacer::frame, this, &TerminalBox::showPending);
}

void TerminalBox::setPacer(ui::FramePacer &pacer) {
    disconnect(m_frame);
    m_pacer = &pacer;
    m_frame = connect(m_pacer, &ui::FramePacer::frame, this, &TerminalBox::showPending);
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

bool TerminalBox::event(QEvent *event) {
    // A key the box sends to the port is the port's: no shortcut of the
    // window takes it (Ctrl+T is 0x14 here, not the traffic window). Keys
    // that type nothing (F1, F5, F6) and Alt with a menu's letter still work.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (keyCode(*key) != 0 && !key->modifiers().testFlag(Qt::AltModifier)) {
            event->accept();
            return true;
        }
    }
    const bool handled = QPlainTextEdit::event(event);
    switch (event->type()) {
    case QEvent::Paint:
        // The focus shows as a ring in the highlight colour over the frame
        // (the style marks only a caret), painted with the frame.
        if (hasFocus()) {
            QPainter p(this);
            p.setPen(palette().color(QPalette::Highlight));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
            p.drawRect(rect().adjusted(1, 1, -2, -2));
        }
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update();
        break;
    default:
        break;
    }
    return handled;
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
    // The operator's own keys show at once, after what was received before them.
    showPending();
    if (m_buffer.type(code)) {
        showAll();
        return;
    }
    showAppended(code == 13 ? QStringLiteral("\r\n") : QString(QChar(code)));
    markShown();
}

QString TerminalBox::appendReceived(const QString &received) {
    bool eraseLast = false;
    const QString filtered = devicelink::TerminalBuffer::filter(received, &eraseLast);
    return appendFiltered(filtered, eraseLast);
}

QString TerminalBox::appendFiltered(const QString &filtered, bool eraseLast) {
    const devicelink::TerminalBuffer::Change change = m_buffer.appendFiltered(filtered, eraseLast);
    if (!change.rewritten && change.appended.isEmpty())
        return change.appended;
    follow(change);
    m_pending = true;
    m_pacer->request();
    return change.appended;
}

void TerminalBox::follow(const devicelink::TerminalBuffer::Change &change) {
    if (m_rebuild)
        return;
    // The trim takes the front of the text on screen (and, past its end, text
    // not shown yet: then the screen is rebuilt).
    m_keptFrom += change.dropped;
    if (change.erasedLast) {
        // The erased character is on screen unless new text followed it.
        const qsizetype beforeErase = m_buffer.text().size() - change.appended.size() + 1;
        if (beforeErase == m_keptTo - m_keptFrom)
            --m_keptTo;
    }
    if (m_keptFrom >= m_keptTo)
        m_rebuild = true;
}

void TerminalBox::showPending() {
    if (!m_pending)
        return;
    if (m_rebuild) {
        showAll();
        return;
    }
    const QString &text = m_buffer.text();
    QTextCursor cursor(document());
    if (m_keptFrom > 0) {
        QStringView dropped = QStringView(m_shown).left(m_keptFrom);
        // A CR LF split by the trim leaves its LF in front, showing the line
        // break that the pair showed.
        if (dropped.endsWith(QLatin1Char('\r')) && m_shown.at(m_keptFrom) == QLatin1Char('\n'))
            dropped.chop(1);
        cursor.setPosition(static_cast<int>(displayLength(dropped)), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    if (m_keptTo < m_shown.size()) {
        const QStringView erased = QStringView(m_shown).mid(m_keptTo);
        qsizetype count = displayLength(erased);
        // Erasing the LF of a CR LF leaves the CR, which shows the same line break.
        if (m_shown.at(m_keptTo - 1) == QLatin1Char('\r') && erased.startsWith(QLatin1Char('\n')))
            --count;
        if (count > 0) {
            cursor.movePosition(QTextCursor::End);
            cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor,
                                static_cast<int>(count));
            cursor.removeSelectedText();
        }
    }
    const QString added = text.mid(m_keptTo - m_keptFrom);
    if (!added.isEmpty()) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(displayText(added));
    }
    // Anything the edits above could not follow is shown whole.
    if (document()->characterCount() - 1 != displayLength(text)) {
        showAll();
        return;
    }
    markShown();
    if (textCursor().atEnd())
        ensureCursorVisible();
    else
        moveCursor(QTextCursor::End);
}

void TerminalBox::markShown() {
    m_shown = m_buffer.text();
    m_keptFrom = 0;
    m_keptTo = m_shown.size();
    m_rebuild = false;
    m_pending = false;
}

QString TerminalBox::toPlainText() {
    showPending();
    return QPlainTextEdit::toPlainText();
}

void TerminalBox::clearAll() {
    m_buffer.clear();
    markShown();
    QPlainTextEdit::clear();
}

void TerminalBox::moveCaretToEnd() {
    // Text waiting for its frame puts the caret at the end when it shows.
    if (m_pending)
        return;
    moveCursor(QTextCursor::End);
}

void TerminalBox::showAll() {
    setPlainText(displayText(m_buffer.text()));
    markShown();
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

} // namespace app
