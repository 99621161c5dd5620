#include "config/frmControllerProgram.h"

#include "config/CameraModel.h"
#include "config/ConfigFile.h"
#include "config/LanguageHost.h"
#include "config/SiteList.h"
#include "config/StoredFile.h"
#include "ui/Latin1Validator.h"
#include "ui/Retranslator.h"
#include "ui/StorageFolder.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>

namespace config {

namespace {
// Two columns of eight rows, cameras 1 to 8 on the left; each row a title
// box and a type box. Figures in twips.
constexpr int rows = 8;
constexpr int rowTop = 120;
constexpr int rowPitch = 420;
constexpr int boxHeight = 315;
constexpr int titleWidth = 1800;
constexpr int typeWidth = 1200;
constexpr int columnLeft[2] = {120, 3480};
constexpr int typeOffset = 1920;
constexpr int clientWidth = 6720;
constexpr int clientHeight = rowTop + rows * rowPitch;

QString builtInTitle(int camera) {
    // "CAMERA 1" .. "CAMERA 9", then "CAMERA10": the design's eight characters.
    return camera < 10 ? QStringLiteral("CAMERA %1").arg(camera)
                       : QStringLiteral("CAMERA%1").arg(camera);
}
} // namespace

frmControllerProgram::frmControllerProgram(LanguageHost &language, CameraModel &cameras,
                                           const ui::StoragePaths &paths,
                                           std::function<QPoint()> position, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , m_language(language)
    , m_cameras(cameras)
    , m_paths(paths)
    , m_position(std::move(position)) {
    setObjectName(QStringLiteral("frmControllerProgram"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));

    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    m_Save = bar->addAction(QStringLiteral("Save &settings"));
    m_Save->setObjectName(QStringLiteral("Save"));
    m_Annulla = bar->addAction(QStringLiteral("E&xit"));
    m_Annulla->setObjectName(QStringLiteral("Annulla"));
    connect(m_Save, &QAction::triggered, this, &frmControllerProgram::Save_Click);
    connect(m_Annulla, &QAction::triggered, this, &frmControllerProgram::Annulla_Click);

    auto *central = new QWidget(this);
    setCentralWidget(central);
    // Titles and types are one byte a character in the file.
    auto *latin1 = new ui::Latin1Validator(this);
    for (int camera = 1; camera <= ConfigFile::cameras; ++camera) {
        const int left = columnLeft[(camera - 1) / rows];
        const int top = rowTop + ((camera - 1) % rows) * rowPitch;

        auto *title = new QLineEdit(builtInTitle(camera), central);
        title->setValidator(latin1);
        title->setObjectName(QStringLiteral("Text%1").arg(camera));
        ui::placeInTwips(title, left, top, titleWidth, boxHeight);
        m_Text.append(title);

        auto *type = new QComboBox(central);
        type->setObjectName(QStringLiteral("Combo%1").arg(camera));
        type->setEditable(true);
        type->setInsertPolicy(QComboBox::NoInsert);
        type->addItems({QStringLiteral("Dome"), QStringLiteral("P&T"), QStringLiteral("FIX")});
        type->setValidator(latin1);
        ui::Retranslator::keep(type, [type] {
            type->setToolTip(
                tr("The camera's type: Dome, P&T, FIX or any text; \"F\" is a type never chosen"));
        });
        type->setEditText(QStringLiteral("FIX"));
        ui::placeInTwips(type, left + typeOffset, top, typeWidth, boxHeight);
        m_Combo.append(type);
    }

    const qreal dpi = central->logicalDpiX();
    central->setMinimumSize(ui::twipsToPixels(clientWidth, dpi),
                            ui::twipsToPixels(clientHeight, dpi));
    resize(ui::twipsToPixels(clientWidth, dpi),
           ui::twipsToPixels(clientHeight, dpi) + bar->sizeHint().height());
}

QList<QObject *> frmControllerProgram::captioned() const {
    return {m_Save, m_Annulla};
}

void frmControllerProgram::Form_Load() {
    m_language.applyLanguage();
    for (int camera = 1; camera <= ConfigFile::cameras; ++camera) {
        m_Text[camera - 1]->setText(m_cameras.title(camera));
        m_Combo[camera - 1]->setEditText(m_cameras.type(camera));
    }
    // A start-up that stopped at a refused port setting never read the file:
    // the panel shows the design captions and no types. The dialog then
    // edits what is stored, so a save does not replace the stored titles,
    // types and language with those blanks.
    m_storedLanguage.clear();
    m_loadReadIt = false;
    if (m_cameras.stored() != CameraModel::Stored::NotRead)
        return;
    const StoredFile file(m_paths.configuration());
    const StoredFile::Contents contents = file.load({ConfigFile::lineCount});
    m_loadReadIt = contents.presence != StoredFile::Presence::Unreadable;
    if (!m_loadReadIt)
        emit fileNotUsed(file.path(), contents.reason);
    if (contents.presence != StoredFile::Presence::Readable)
        return;
    const ConfigReading stored = ConfigFile::read(contents.bytes);
    if (stored.fresh)
        return;
    for (int camera = 1; camera <= ConfigFile::cameras; ++camera) {
        m_Text[camera - 1]->setText(stored.file.titles.value(camera - 1));
        m_Combo[camera - 1]->setEditText(stored.file.types.value(camera - 1));
    }
    m_storedLanguage = stored.file.languageFile;
}

void frmControllerProgram::Save_Click() {
    const QPoint position = m_position();
    ConfigFile file;
    file.left = ConfigFile::paddedPositionText(position.x());
    file.top = ConfigFile::paddedPositionText(position.y());
    for (int camera = 1; camera <= ConfigFile::cameras; ++camera) {
        // A title or type is one line of the file whatever was pasted into it.
        file.titles.append(SiteList::oneLine(m_Text[camera - 1]->text()));
        file.types.append(SiteList::oneLine(m_Combo[camera - 1]->currentText()));
    }
    file.languageFile =
        m_cameras.languageFile().isEmpty() ? m_storedLanguage : m_cameras.languageFile();
    // A file that cannot be written is not reported: the panel still takes
    // the titles, and the main window's periodic rewrite tries again.
    if (mayReplace())
        StoredFile(m_paths.configuration()).replace(file.bytes());

    for (int camera = 1; camera <= ConfigFile::cameras; ++camera) {
        m_cameras.setTitle(camera, file.titles[camera - 1]);
        m_cameras.setType(camera, file.types[camera - 1]);
    }
    close();
}

bool frmControllerProgram::mayReplace() const {
    switch (m_cameras.stored()) {
    case CameraModel::Stored::Read:
        return true;
    case CameraModel::Stored::Unreadable:
        return false;
    case CameraModel::Stored::NotRead:
        break;
    }
    // The start-up did not read the file; this dialog shows what it read of
    // it at its load. A file it could not read then, or cannot read now, is
    // the operator's and stays.
    return m_loadReadIt &&
           StoredFile(m_paths.configuration()).load({ConfigFile::lineCount}).presence !=
               StoredFile::Presence::Unreadable;
}

void frmControllerProgram::Annulla_Click() {
    close();
}

} // namespace config
