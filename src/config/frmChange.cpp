#include "config/frmChange.h"

#include "config/LanguageHost.h"
#include "config/SiteList.h"
#include "config/StoredFile.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "terminal/PortMenu.h"
#include "ui/Dialogs.h"
#include "ui/Retranslator.h"
#include "ui/StorageFolder.h"
#include "ui/Twips.h"

#include <QListWidget>
#include <QPushButton>
#include <QShortcut>

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

frmChange::frmChange(LanguageHost &language, Link link, const ui::StoragePaths &paths,
                     ui::Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_language(language)
    , m_link(link)
    , m_paths(paths)
    , m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmChange"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));

    m_List1 = new QListWidget(this);
    m_List1->setObjectName(QStringLiteral("List1"));
    m_List1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui::placeInTwips(m_List1, 120, 120, 2895, 2010);
    m_New = makeButton(this, "New", "New", 120);
    // The button deletes: its caption says so (a "Cancel" that deletes
    // loses sites), and it asks first.
    m_Cancel = makeButton(this, "Cancel", "&Delete", 600);
    m_Ok = makeButton(this, "Ok", "Ok", 1755);
    ui::Retranslator::keep(m_Cancel, [this] {
        m_Cancel->setToolTip(tr("Deletes the selected site from the list, after asking"));
    });

    // A click on an entry picks it, also when it is already selected (the
    // port may have been opened or closed since); Enter picks the current one.
    const auto pick = [this](QListWidgetItem *item) { List1_Click(m_List1->row(item)); };
    connect(m_List1, &QListWidget::itemClicked, this, pick);
    connect(m_List1, &QListWidget::itemActivated, this, pick);
    connect(m_New, &QPushButton::clicked, this, &frmChange::New_Click);
    connect(m_Cancel, &QPushButton::clicked, this, &frmChange::Cancel_Click);
    connect(m_Ok, &QPushButton::clicked, this, &frmChange::Ok_Click);
    // Escape leaves as Ok does, changing nothing.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &frmChange::Ok_Click);

    const qreal dpi = logicalDpiX();
    resize(ui::twipsToPixels(clientWidth, dpi), ui::twipsToPixels(clientHeight, dpi));
}

QList<QObject *> frmChange::captioned() const {
    return {m_Cancel, m_New};
}

void frmChange::readSiteList() {
    // A file that cannot be read holds no entries.
    const StoredFile file(m_paths.siteList());
    const StoredFile::Contents contents = file.load();
    m_listRead = contents.presence != StoredFile::Presence::Unreadable;
    if (!m_listRead)
        emit fileNotUsed(file.path(), contents.reason);
    m_List1->addItems(SiteList::entries(contents.bytes));
}

void frmChange::Form_Load() {
    m_language.applyLanguage();
    m_link.session.polls().stop();
    // The sign-off to the site the socket addresses now; the socket sends
    // nothing while that is the serial marker 0.0.0.0.
    m_link.session.sendZero({devicelink::Origin::Kind::SiteChooser});
    readSiteList();
}

void frmChange::List1_Click(int row) {
    const QListWidgetItem *item = m_List1->item(row);
    if (!item)
        return;
    devicelink::Session &session = m_link.session;
    session.setChannel(devicelink::ChannelChoice::fromAddress(item->text()));
    if (session.channel().isSerial() != session.serial().isOpen())
        m_link.portMenu.mnuOpen_Click();
}

void frmChange::Cancel_Click() {
    const QListWidgetItem *current = m_List1->currentItem();
    const int selected = current && current->isSelected() ? m_List1->row(current) : -1;
    if (selected >= 0 && !m_dialogs.confirm(tr("Delete %1 from the list?").arg(current->text())))
        return;
    QStringList kept;
    for (int row = 0; row < m_List1->count(); ++row) {
        if (row != selected)
            kept.append(m_List1->item(row)->text());
    }
    // The entries as read, minus the deleted one. A list that is there but
    // cannot be read, now or when the chooser read it, is never replaced by
    // what the chooser shows of it.
    const StoredFile file(m_paths.siteList());
    if (m_listRead && file.load().presence != StoredFile::Presence::Unreadable)
        file.replace(SiteList::bytes(kept));
    // The list shows what the file holds now, also when it could not be written.
    m_List1->clear();
    readSiteList();
}

void frmChange::New_Click() {
    emit newRequested();
}

void frmChange::Ok_Click() {
    m_link.session.polls().start();
    close();
}

void frmChange::addEntry(const QString &entry) {
    m_List1->addItem(entry);
}

} // namespace config
