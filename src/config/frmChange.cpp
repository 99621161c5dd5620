#include "config/frmChange.h"

#include "app/frmTerminal.h"
#include "config/SiteList.h"
#include "config/StoredFile.h"
#include "config/frmNew.h"
#include "link/NetworkChannel.h"
#include "link/SerialChannel.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace config {

namespace {
constexpr int clientWidth = 4350;
constexpr int clientHeight = 2250;

QPushButton *makeButton(QWidget *parent, const char *name, const char *caption, int top) {
    auto *button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    ui::placeInTwips(button, 3135, top, 1095, 375);
    return button;
}
} // namespace

frmChange::frmChange(frmTerminal &main)
    : QWidget(&main, Qt::Window)
    , m_main(main) {
    setObjectName(QStringLiteral("frmChange"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_List1 = new QListWidget(this);
    m_List1->setObjectName(QStringLiteral("List1"));
    m_List1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui::placeInTwips(m_List1, 120, 120, 2895, 2010);
    m_New = makeButton(this, "New", "New", 120);
    m_Cancel = makeButton(this, "Cancel", "Cancel", 600);
    m_Ok = makeButton(this, "Ok", "Ok", 1755);

    // A click on an entry picks it, also when it is already selected (the
    // port may have been opened or closed since); Enter picks the current one.
    const auto pick = [this](QListWidgetItem *item) { List1_Click(m_List1->row(item)); };
    connect(m_List1, &QListWidget::itemClicked, this, pick);
    connect(m_List1, &QListWidget::itemActivated, this, pick);
    connect(m_New, &QPushButton::clicked, this, &frmChange::New_Click);
    connect(m_Cancel, &QPushButton::clicked, this, &frmChange::Cancel_Click);
    connect(m_Ok, &QPushButton::clicked, this, &frmChange::Ok_Click);

    const qreal dpi = logicalDpiX();
    resize(ui::twipsToPixels(clientWidth, dpi), ui::twipsToPixels(clientHeight, dpi));
}

frmChange *frmChange::find(frmTerminal &main) {
    return main.findChild<frmChange *>(QStringLiteral("frmChange"), Qt::FindDirectChildrenOnly);
}

frmChange &frmChange::ensure(frmTerminal &main) {
    frmChange *chooser = find(main);
    if (!chooser) {
        chooser = new frmChange(main);
        chooser->Form_Load();
    }
    return *chooser;
}

frmChange &frmChange::open(frmTerminal &main) {
    frmChange &chooser = ensure(main);
    chooser.show();
    chooser.raise();
    chooser.activateWindow();
    return chooser;
}

QString frmChange::siteListPath() const {
    return QDir(m_main.storageFolder()).filePath(SiteList::fileName());
}

void frmChange::enableStatusPolls(frmTerminal &main, bool enabled) {
    for (const char *name : {"Timer3", "Timer5"}) {
        if (auto *timer = main.findChild<ui::Timer *>(QLatin1String(name)))
            timer->setEnabled(enabled);
    }
}

void frmChange::readSiteList() {
    // A file that cannot be read holds no entries.
    const auto bytes = StoredFile(siteListPath()).read();
    m_List1->addItems(SiteList::entries(bytes.value_or(QByteArray())));
}

void frmChange::Form_Load() {
    m_main.applyLanguage(this);
    leaveSite(m_main);
    readSiteList();
}

void frmChange::leaveSite(frmTerminal &main) {
    enableStatusPolls(main, false);
    // The sign-off to the site the socket addresses now; the socket sends
    // nothing while that is the serial marker 0.0.0.0.
    main.networkChannel().sendZero();
}

void frmChange::List1_Click(int row) {
    const QListWidgetItem *item = m_List1->item(row);
    auto *IPAD = m_main.findChild<QLineEdit *>(QStringLiteral("IPAD"));
    if (!item || !IPAD)
        return;
    IPAD->setText(item->text());
    const auto *mnuOpen = m_main.findChild<QAction *>(QStringLiteral("mnuOpen"));
    const bool portOpen = mnuOpen && mnuOpen->isChecked();
    const bool serial = IPAD->text() == devicelink::NetworkChannel::serialMarker;
    if (serial != portOpen)
        m_main.serialChannel().mnuOpen_Click();
}

void frmChange::Cancel_Click() {
    const QListWidgetItem *current = m_List1->currentItem();
    const int selected = current && current->isSelected() ? m_List1->row(current) : -1;
    QStringList kept;
    for (int row = 0; row < m_List1->count(); ++row) {
        if (row != selected)
            kept.append(m_List1->item(row)->text());
    }
    StoredFile(siteListPath()).replace(SiteList::bytes(kept));
    // The list shows what the file holds now, also when it could not be written.
    m_List1->clear();
    readSiteList();
}

void frmChange::New_Click() {
    frmNew::open(m_main);
}

void frmChange::Ok_Click() {
    enableStatusPolls(m_main, true);
    close();
}

void frmChange::addEntry(const QString &entry) {
    m_List1->addItem(entry);
}

void frmChange::closeEvent(QCloseEvent *event) {
    // A closed chooser is on its way out; the next opening builds and loads
    // a new one, so it no longer answers to its name.
    setObjectName(QString());
    QWidget::closeEvent(event);
}

} // namespace config
