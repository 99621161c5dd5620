#include "terminal/frmAbout.h"

#include "terminal/SystemInfoHost.h"
#include "ui/Dialogs.h"
#include "ui/PlainText.h"
#include "ui/ProgramIcon.h"
#include "ui/Retranslator.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace terminal {

namespace {
const QString appTitle = QStringLiteral("Velmar Controller");
// The gesture's corner of the icon, in twips.
constexpr double creditsCorner = 100;

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    if (modifiers & Qt::MetaModifier)
        code |= 8;
    return code;
}
} // namespace

frmAbout::frmAbout(ui::Dialogs &dialogs, QWidget *parent, std::shared_ptr<SystemInfoHost> host)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_host(host ? std::move(host) : std::make_shared<NativeSystemInfoHost>()) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);

    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    m_picIcon->setPixmap(ui::programIcon().pixmap(32, 32));
    m_picIcon->setFixedSize(32, 32);
    m_picIcon->installEventFilter(this);

    const auto label = [this](const char *name, const QString &text) {
        auto *l = ui::plainLabel(new QLabel(text, this));
        l->setObjectName(QLatin1String(name));
        return l;
    };
    m_lblTitle = label("lblTitle", {});
    QFont big = m_lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_lblTitle->setFont(big);
    m_lblVersion = label("lblVersion", {});
    m_lblDescription = label("lblDescription", {});
    m_lblDescription->setWordWrap(true);
    m_lblDisclaimer = label("lblDisclaimer", {});
    ui::Retranslator::keep(this, [this] {
        m_lblDescription->setText(tr("Control panel for the Velmar CCTV matrix switcher: "
                                     "16 cameras, 4 monitors, pan/tilt/zoom and presets."));
        m_lblDisclaimer->setText(tr("Velmar - video surveillance systems"));
    });

    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo = new QPushButton(this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    ui::Retranslator::keep(this, [this] {
        m_cmdOK->setText(tr("OK"));
        m_cmdSysInfo->setText(tr("&System Info..."));
        if (m_loaded)
            showTitles();
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_picIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(m_lblTitle, 0, 1);
    grid->addWidget(m_lblVersion, 1, 1);
    grid->addWidget(m_lblDescription, 2, 1);
    grid->addWidget(m_lblDisclaimer, 3, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
    m_loaded = true;
    showTitles();
}

void frmAbout::showTitles() {
    setWindowTitle(tr("About %1").arg(appTitle));
    m_lblVersion->setText(tr("Version %1.%2.%3").arg(major).arg(minor).arg(revision));
    m_lblTitle->setText(appTitle);
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    QString path;
    if (!GetKeyValue(SystemInfoHost::localMachine,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), path)) {
        QString folder;
        if (GetKeyValue(SystemInfoHost::localMachine,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), folder) &&
            m_host->fileExists(folder + QStringLiteral("\\MSINFO32.EXE"))) {
            path = folder + QStringLiteral("\\MSINFO32.EXE");
        } else {
            // A system without these registry entries may still have a tool
            // of its own.
            path = m_host->hostTool();
        }
        if (path.isEmpty()) {
            m_dialogs.message(tr("System Information Is Unavailable At This Time"),
                              ui::Dialogs::Buttons::Ok, ui::Dialogs::Icon::None);
            return;
        }
    }
    if (!m_host->start(path))
        m_dialogs.message(tr("System Information Is Unavailable At This Time"),
                          ui::Dialogs::Buttons::Ok, ui::Dialogs::Icon::None);
}

bool frmAbout::GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                           QString &KeyVal) {
    quint32 type = 0;
    QByteArray data;
    if (!m_host->queryValue(KeyRoot, KeyName, SubKeyRef, type, data)) {
        KeyVal.clear();
        return false;
    }
    data.truncate(1024);
    if (!data.isEmpty() && data.back() == '\0')
        data.chop(1);
    if (type == SystemInfoHost::stringValue) {
        KeyVal = QString::fromLocal8Bit(data);
    } else if (type == SystemInfoHost::numberValue) {
        // Two digits a byte, so that 0x0000010A does not read as "&h1A".
        QString hex = QStringLiteral("&h");
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            hex += QStringLiteral("%1")
                       .arg(static_cast<quint8>(data[i]), 2, 16, QLatin1Char('0'))
                       .toUpper();
        KeyVal = hex;
    }
    return true;
}

void frmAbout::picIcon_MouseDown(int Button, int Shift, double X, double Y) {
    if (Button == 2 && Shift == 1 && X < creditsCorner && Y < creditsCorner)
        m_dialogs.message(tr("Velmar Controller %1.%2.%3\n\n"
                             "Designed and written for Velmar's CCTV matrix switchers.\n"
                             "Thanks to everyone who tested it in the control rooms.")
                              .arg(major)
                              .arg(minor)
                              .arg(revision),
                          ui::Dialogs::Buttons::Ok, ui::Dialogs::Icon::None);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_picIcon && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const qreal dpi = m_picIcon->logicalDpiX();
        const QPointF at = press->position();
        picIcon_MouseDown(buttonCode(press->button()), shiftCode(press->modifiers()),
                          ui::pixelsToTwips(static_cast<int>(at.x()), dpi),
                          ui::pixelsToTwips(static_cast<int>(at.y()), dpi));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace terminal
