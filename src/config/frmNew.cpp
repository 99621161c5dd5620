#include "config/frmNew.h"

#include "config/SiteList.h"
#include "config/StoredFile.h"
#include "ui/Latin1Validator.h"
#include "ui/StorageFolder.h"
#include "ui/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace config {

namespace {
constexpr int fields = 4;
constexpr int fieldWidth = 495;
constexpr int dotWidth = 195;
constexpr int rowTop = 120;
constexpr int rowHeight = 375;
constexpr int clientWidth = 3855;
constexpr int clientHeight = 615;
} // namespace

frmNew::frmNew(const ui::StoragePaths &paths, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_paths(paths) {
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));

    int left = 120;
    for (int n = 1; n <= fields; ++n) {
        if (n > 1) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setObjectName(QStringLiteral("Dot%1").arg(n - 1));
            QFont large = dot->font();
            large.setPointSize(18);
            large.setBold(true);
            dot->setFont(large);
            dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            ui::placeInTwips(dot, left, rowTop, dotWidth, rowHeight);
            left += dotWidth;
        }
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(n));
        box->setMaxLength(3);
        box->setValidator(new ui::Latin1Validator(box));
        ui::placeInTwips(box, left, rowTop, fieldWidth, rowHeight);
        m_Text.append(box);
        left += fieldWidth;
    }
    m_Command1 = new QPushButton(QStringLiteral("Ok"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    ui::placeInTwips(m_Command1, left + 195, rowTop, 855, rowHeight);
    connect(m_Command1, &QPushButton::clicked, this, &frmNew::Command1_Click);

    const qreal dpi = logicalDpiX();
    setFixedSize(ui::twipsToPixels(clientWidth, dpi), ui::twipsToPixels(clientHeight, dpi));
}

void frmNew::Command1_Click() {
    QStringList parts;
    for (const QLineEdit *box : std::as_const(m_Text))
        parts.append(box->text());
    const QString entry = SiteList::oneLine(parts.join(QLatin1Char('.')));

    // The chooser's list is not read again: the entry is added to it, and a
    // chooser made for it now reads the file without it.
    emit entered(entry);

    // The entry goes at the end of the file as one line; the lines before it
    // are not written again. A list that is there but cannot be read is left
    // as it is.
    const StoredFile file(m_paths.siteList());
    const StoredFile::Contents before = file.load();
    if (before.presence == StoredFile::Presence::Unreadable)
        emit fileNotUsed(file.path(), before.reason);
    else
        file.append([&entry](const QByteArray &tail) { return SiteList::addition(tail, entry); });
    close();
}

} // namespace config
