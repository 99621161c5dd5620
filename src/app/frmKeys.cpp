#include "app/frmKeys.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

frmKeys::frmKeys(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("frmKeys"));
    m_list->setObjectName(QStringLiteral("keyList"));
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideNone);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_close = buttons->button(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    retranslate();
    m_list->setCurrentItem(m_list->topLevelItem(0));
}

void frmKeys::retranslate() {
    setWindowTitle(tr("Keys"));
    const std::pair<QString, QString> keys[] = {
        {tr("1 to 4, then M or keypad /"), tr("Monitor n, as clicking its button")},
        {tr("1 to 16, then C, keypad * or keypad Enter"), tr("Camera n, as clicking its button")},
        {tr("1 to 16, then P"), tr("Recall preset n, as its button with \"Store Preset\" clear")},
        {tr("1 to 4, then L"), tr("Lock monitor n for this panel, or unlock it")},
        {tr("Number, then T, H, X"), tr("Start (or resume), hold or stop tour n")},
        {tr("Number, then N or B"), tr("Tour n one step on, or one step back")},
        {tr("1 to 64, then A; A alone"),
         tr("Acknowledge alarm input n; alone, the alarm shown first")},
        {tr("Backspace"), tr("Takes back the last digit")},
        {tr("Escape"), tr("Drops the number typed; so do 3 s without a key")},
        {tr("Arrow keys, held"), tr("Pan and tilt while held, as holding Left, Right, Up, Down")},
        {tr("Keypad + and -, held"), tr("Zoom in and out while held")},
        {tr("Space, Enter"), tr("Press the button that has the focus")},
        {tr("Tab, Shift+Tab"), tr("The next or the previous control")},
        {tr("Arrow keys on a speed bar"), tr("Slower or faster")},
        {tr("F6"), tr("From the panel to the terminal box and back")},
        {tr("In the terminal box"), tr("Typed keys go out on the port, Tab and Ctrl+T too")},
        {tr("F5"), tr("Asks the switcher for its routing now")},
        {tr("Ctrl+T"), tr("The traffic window, outside the terminal box")},
        {tr("F2"), tr("The control room: who holds each monitor and camera")},
        {tr("Alt + underlined letter"), tr("Opens that menu")},
        {tr("F1"), tr("This list")},
    };
    m_list->setAccessibleName(tr("Keys of the panel"));
    m_list->setHeaderLabels({tr("Keys"), tr("What they do")});
    int row = 0;
    for (const auto &[key, meaning] : keys) {
        QTreeWidgetItem *item = m_list->topLevelItem(row++);
        if (!item)
            item = new QTreeWidgetItem(m_list);
        item->setText(0, key);
        item->setText(1, meaning);
    }
    m_close->setText(tr("&Close"));

    // Wide and tall enough for every row whole, at any scale, with room for
    // a scroll bar should a style make the rows taller.
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    const int margin = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() +
                       m_list->fontMetrics().averageCharWidth() * 2;
    const int width = m_list->columnWidth(0) + m_list->columnWidth(1) + margin;
    const int height = m_list->header()->sizeHint().height() +
                       (m_list->topLevelItemCount() + 1) * m_list->sizeHintForRow(0) +
                       2 * m_list->frameWidth();
    m_list->setMinimumSize(width, height);
}

void frmKeys::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

} // namespace app
