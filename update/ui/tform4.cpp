#include "update/ui/tform4.h"

#include "app/version.h"
#include "update/about.h"
#include "update/ui/linklabel.h"
#include "update/ui/look.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovek::ui {

TForm4::TForm4(Dialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Tovek Hakkında"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(431, 316);
    // Every text of the window is bold; the children inherit the font.
    makeBold(this);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programIconPixmap());
    ProgramIcon->setFixedSize(32, 32);

    RxLabel1 = new QLabel(QStringLiteral("TOVEK"), Panel1);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    makeBold(RxLabel1, 8);

    TovekVersionRxLabel = new QLabel(QStringLiteral("Version"), Panel1);
    TovekVersionRxLabel->setObjectName(QStringLiteral("TovekVersionRxLabel"));

    RxLabel5 = new QLabel(QStringLiteral("Soru Yazma, Düzenleme ve Karıştırma Programı"), Panel1);
    RxLabel5->setObjectName(QStringLiteral("RxLabel5"));

    RxLabel4 = new QLabel(QString::fromStdString(update::noticeText()), Panel1);
    RxLabel4->setObjectName(QStringLiteral("RxLabel4"));
    RxLabel4->setTextFormat(Qt::PlainText);

    RxLabel2 = new LinkLabel(QStringLiteral("e-mail :"), Panel1);
    RxLabel2->setObjectName(QStringLiteral("RxLabel2"));

    RxLabel6 = new LinkLabel(QString::fromUtf8(kContactEmail), Panel1);
    RxLabel6->setObjectName(QStringLiteral("RxLabel6"));
    RxLabel6->showAsLink();
    RxLabel6->setToolTip(QStringLiteral("e-mail gönder"));

    RxLabel3 = new LinkLabel(QString::fromUtf8(kSiteUrl), Panel1);
    RxLabel3->setObjectName(QStringLiteral("RxLabel3"));
    RxLabel3->showAsLink();
    RxLabel3->setToolTip(QStringLiteral("Tovek Sitesini Aç"));

    OKButton = new QPushButton(QStringLiteral("Tamam"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(RxLabel1);
    titles->addWidget(TovekVersionRxLabel);

    auto* header = new QHBoxLayout;
    header->setSpacing(14);
    header->addWidget(ProgramIcon, 0, Qt::AlignTop);
    header->addLayout(titles, 1);

    auto* links = new QGridLayout;
    links->setHorizontalSpacing(8);
    links->setVerticalSpacing(6);
    links->addWidget(RxLabel2, 0, 0);
    links->addWidget(RxLabel6, 0, 1, Qt::AlignLeft);
    links->addWidget(RxLabel3, 1, 1, Qt::AlignLeft);
    links->setColumnStretch(1, 1);

    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(14, 12, 14, 12);
    panelLayout->setSpacing(8);
    panelLayout->addLayout(header);
    panelLayout->addWidget(RxLabel5);
    panelLayout->addWidget(RxLabel4);
    panelLayout->addStretch();
    panelLayout->addLayout(links);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(Panel1, 1);
    layout->addLayout(buttons);

    connect(RxLabel2, &LinkLabel::clicked, this, &TForm4::RxLabel2Click);
    connect(RxLabel6, &LinkLabel::clicked, this, &TForm4::RxLabel2Click);
    connect(RxLabel3, &LinkLabel::clicked, this, &TForm4::RxLabel3Click);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    FormCreate();
}

void TForm4::FormCreate()
{
    TovekVersionRxLabel->setText(QStringLiteral("Version ") + QString::fromUtf8(kInstalledVersion));
}

QUrl TForm4::mailUrl()
{
    return QUrl(QString::fromStdString(update::mailLinkText(kContactEmail)), QUrl::TolerantMode);
}

QUrl TForm4::siteUrl()
{
    return QUrl(QString::fromUtf8(kSiteUrl));
}

// Without a registered mail program or browser the links do nothing; the window stays open.
void TForm4::RxLabel2Click()
{
    (void)m_dialogs.openUrl(mailUrl());
}

void TForm4::RxLabel3Click()
{
    (void)m_dialogs.openUrl(siteUrl());
}

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centreOnScreen(this);
}

} // namespace tovek::ui
