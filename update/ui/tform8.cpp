#include "update/ui/tform8.h"

#include "app/version.h"
#include "update/ui/linklabel.h"
#include "update/ui/look.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovek::ui {

TForm8::TForm8(Dialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Tovek Yeni Version"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(332, 221);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programIconPixmap());
    ProgramIcon->setFixedSize(32, 32);

    RxLabel1 = new QLabel(QStringLiteral("TOVEK YENİ VERSİON HAZIR"), this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    makeBold(RxLabel1, 2);

    KuruluVersionRxLabel = new QLabel(this);
    KuruluVersionRxLabel->setObjectName(QStringLiteral("KuruluVersionRxLabel"));
    makeBold(KuruluVersionRxLabel);

    EnSonVersionRxLabel = new QLabel(this);
    EnSonVersionRxLabel->setObjectName(QStringLiteral("EnSonVersionRxLabel"));
    makeBold(EnSonVersionRxLabel);

    DownloadRxLabel = new LinkLabel(QStringLiteral("DOWNLOAD SİTESİ"), this);
    DownloadRxLabel->setObjectName(QStringLiteral("DownloadRxLabel"));
    makeBold(DownloadRxLabel);
    DownloadRxLabel->showAsLink();

    RxLabel5 = new LinkLabel(QString::fromUtf8(kSiteUrl), this);
    RxLabel5->setObjectName(QStringLiteral("RxLabel5"));
    makeBold(RxLabel5);
    RxLabel5->showAsLink();
    RxLabel5->setToolTip(QStringLiteral("Tovek Sitesini Aç"));

    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* header = new QHBoxLayout;
    header->setSpacing(12);
    header->addWidget(ProgramIcon, 0, Qt::AlignTop);
    header->addWidget(RxLabel1, 1, Qt::AlignVCenter);

    auto* versions = new QVBoxLayout;
    versions->setContentsMargins(44, 0, 0, 0);
    versions->setSpacing(6);
    versions->addWidget(KuruluVersionRxLabel);
    versions->addWidget(EnSonVersionRxLabel);
    versions->addSpacing(10);
    versions->addWidget(DownloadRxLabel, 0, Qt::AlignLeft);
    versions->addWidget(RxLabel5, 0, Qt::AlignLeft);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(header);
    layout->addSpacing(8);
    layout->addLayout(versions);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(DownloadRxLabel, &LinkLabel::clicked, this, &TForm8::DownloadRxLabelClick);
    connect(RxLabel5, &LinkLabel::clicked, this, &TForm8::DownloadRxLabelClick);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm8::DownloadRxLabelClick()
{
    // Without a registered browser there is nothing useful to say; the window stays open either way.
    (void)m_dialogs.openUrl(QUrl(QString::fromUtf8(kSiteUrl)));
}

void TForm8::showEvent(QShowEvent* event)
{
    KuruluVersionRxLabel->setText(QStringLiteral("KURULU VERSION : ") + QString::fromUtf8(kInstalledVersion));
    EnSonVersionRxLabel->setText(QStringLiteral("EN  SON VERSION : ") + m_latestVersion);
    QDialog::showEvent(event);
    centreOnScreen(this);
}

} // namespace tovek::ui
