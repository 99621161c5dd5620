#include "app/frmKeys.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

frmKeys::frmKeys(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("frmKeys"));
    setWindowTitle(tr("Keys"));

    const std::pair<QString, QString> keys[] = {
        {tr("1 to 4, then M or keypad /"), tr("Monitor n, as clicking its button")},
        {tr("1 to 16, then C, keypad * or keypad Enter"), tr("Camera n, as clicking its button")},
        {tr("1 to 16, then P"),
         tr("Recalls preset n, as clicking it with \"Store Preset\" clear; not while a preset "
            "runs")},
        {tr("Backspace, Escape"),
         tr("Takes back the last digit, or the whole number; 3 s without a key drop it too")},
        {tr("Arrow keys, held"), tr("Pan and tilt while held, as holding Left, Right, Up, Down")},
        {tr("Keypad + and -, held"),
         tr("Zoom in and out while held, as holding zoom + and zoom -")},
        {tr("Space, Enter"), tr("Press the button that has the focus")},
        {tr("Tab, Shift+Tab"), tr("The next or previous control")},
        {tr("Arrow keys on a speed bar"), tr("Slower or faster")},
        {tr("F6"), tr("From the panel to the terminal box and back")},
        {tr("Keys in the terminal box"), tr("Go out on the serial port, Tab, Ctrl and Escape too; "
                                            "F1, F5 and F6 work there as well")},
        {tr("F5"), tr("Asks the switcher for its routing now")},
        {tr("Ctrl+T"),
         tr("The traffic window; outside the terminal box only (in the box it sends 0x14)")},
        {tr("Alt + the underlined letter"), tr("Opens that menu")},
        {tr("F1"), tr("This list")},
    };
    m_list->setObjectName(QStringLiteral("keyList"));
    m_list->setAccessibleName(tr("Keys of the panel"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("Keys"), tr("What they do")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setWordWrap(true);
    m_list->setTextElideMode(Qt::ElideNone);
    for (const auto &[key, meaning] : keys)
        new QTreeWidgetItem(m_list, {key, meaning});
    m_list->resizeColumnToContents(0);
    m_list->header()->setStretchLastSection(true);
    m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);

    // Wide enough for both columns without cutting a word, on any scale.
    const QFontMetrics metrics = m_list->fontMetrics();
    int meaningWidth = 0;
    for (const auto &[key, meaning] : keys)
        meaningWidth = std::max(meaningWidth, metrics.horizontalAdvance(meaning));
    const int width =
        m_list->columnWidth(0) + std::min(meaningWidth, 60 * metrics.averageCharWidth());
    const int rows = int(std::size(keys)) + 2;
    resize(width + 4 * metrics.averageCharWidth(),
           rows * (metrics.height() + 6) + buttons->sizeHint().height() + 24);
}

} // namespace app
