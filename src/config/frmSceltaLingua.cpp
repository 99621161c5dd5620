#include "config/frmSceltaLingua.h"

#include "config/CameraModel.h"
#include "config/LanguageHost.h"
#include "ui/PlainText.h"
#include "ui/Retranslator.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

frmSceltaLingua::frmSceltaLingua(config::LanguageHost &language, config::CameraModel &cameras,
                                 QWidget &main)
    : QWidget(&main, Qt::Window)
    , m_language(language)
    , m_cameras(cameras)
    , m_main(main) {
    setObjectName(QStringLiteral("frmSceltaLingua"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));

    m_Drive1 = new QComboBox(this);
    m_Drive1->setObjectName(QStringLiteral("Drive1"));
    for (const QFileInfo &drive : QDir::drives())
        m_Drive1->addItem(QDir::toNativeSeparators(drive.absolutePath()));
    m_Dir1 = new QListWidget(this);
    m_Dir1->setObjectName(QStringLiteral("Dir1"));
    m_File1 = new QListWidget(this);
    m_File1->setObjectName(QStringLiteral("File1"));
    m_path = ui::plainLabel(new QLabel(this));
    m_path->setObjectName(QStringLiteral("Dir1Path"));
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *pathLabel = new QLabel(this);
    auto *driveLabel = new QLabel(this);
    auto *languageLabel = new QLabel(this);
    ui::Retranslator::keep(this, [=] {
        pathLabel->setText(tr("Path:"));
        driveLabel->setText(tr("Drive:"));
        languageLabel->setText(tr("Language:"));
    });
    auto *grid = new QGridLayout(this);
    grid->addWidget(pathLabel, 0, 0);
    grid->addWidget(m_path, 1, 0);
    grid->addWidget(m_Dir1, 2, 0);
    grid->addWidget(driveLabel, 3, 0);
    grid->addWidget(m_Drive1, 4, 0);
    grid->addWidget(languageLabel, 0, 1);
    grid->addWidget(m_File1, 1, 1, 4, 1);
    resize(420, 300);

    const QString current = QDir::currentPath();
    for (int i = 0; i < m_Drive1->count(); ++i) {
        if (current.startsWith(QDir::fromNativeSeparators(m_Drive1->itemText(i)),
                               Qt::CaseInsensitive))
            m_Drive1->setCurrentIndex(i);
    }
    showFolder(current);

    connect(m_Drive1, &QComboBox::activated, this, &frmSceltaLingua::Drive1_Change);
    connect(m_Dir1, &QListWidget::itemClicked, this, &frmSceltaLingua::Dir1_Change);
    connect(m_File1, &QListWidget::itemClicked, this, &frmSceltaLingua::File1_Click);
}

void frmSceltaLingua::showFolder(const QString &folder) {
    m_folder = QDir(folder).absolutePath();
    m_path->setText(QDir::toNativeSeparators(m_folder));
    m_Dir1->clear();
    QDir dir(m_folder);
    if (!dir.isRoot())
        m_Dir1->addItem(QStringLiteral(".."));
    m_Dir1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
    m_File1->clear();
    m_File1->addItems(dir.entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name));
}

void frmSceltaLingua::Drive1_Change() {
    showFolder(QDir::fromNativeSeparators(m_Drive1->currentText()));
}

void frmSceltaLingua::Dir1_Change() {
    if (const QListWidgetItem *item = m_Dir1->currentItem())
        showFolder(QDir(m_folder).filePath(item->text()));
}

void frmSceltaLingua::File1_Click() {
    const QListWidgetItem *item = m_File1->currentItem();
    const QString name = item ? item->text() : QStringLiteral("English.lng");
    // The folder, a separator and the name, as the operator sees the path.
    m_cameras.setLanguageFile(QDir::toNativeSeparators(m_folder + QLatin1Char('/') + name));
    m_language.applyLanguage();
    m_main.show();
    m_chosen = true;
    close();
}

void frmSceltaLingua::closeEvent(QCloseEvent *event) {
    if (!m_chosen)
        emit closedWithoutChoice();
    event->accept();
}
