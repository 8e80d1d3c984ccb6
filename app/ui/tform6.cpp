#include "app/ui/tform6.h"

#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tovek::ui {

namespace {

QFont courierBold(int pixelSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Courier);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

TForm6::TForm6(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Zoom Form"));
    setSizeGripEnabled(true);
    setMinimumSize(480, 350);
    resize(480, 350);

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(35);
    Panel1->setFont(courierBold(13));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);

    ZoomMemo = new QPlainTextEdit(this);
    ZoomMemo->setObjectName(QStringLiteral("ZoomMemo"));
    ZoomMemo->setFont(courierBold(16));
    ZoomMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ZoomMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ZoomMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ButtonBar = new QWidget(this);
    ButtonBar->setObjectName(QStringLiteral("ButtonBar"));
    ButtonBar->setFixedHeight(35);
    VazgecButton = new QPushButton(QStringLiteral("Vazgeç"), ButtonBar);
    VazgecButton->setObjectName(QStringLiteral("VazgecButton"));
    DegistirButton = new QPushButton(QStringLiteral("Degistir"), ButtonBar);
    DegistirButton->setObjectName(QStringLiteral("DegistirButton"));
    // Enter belongs to the memo (new lines), never to a default button.
    VazgecButton->setAutoDefault(false);
    DegistirButton->setAutoDefault(false);
    auto* bar = new QHBoxLayout(ButtonBar);
    bar->setContentsMargins(4, 4, 4, 4);
    bar->addStretch(1);
    bar->addWidget(VazgecButton);
    bar->addWidget(DegistirButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ZoomMemo, 1);
    layout->addWidget(ButtonBar);

    connect(VazgecButton, &QPushButton::clicked, this, &TForm6::VazgecButtonClick);
    connect(DegistirButton, &QPushButton::clicked, this, &TForm6::DegistirButtonClick);
}

std::optional<QString> TForm6::zoom(const QString& title, int field, const QString& text)
{
    Panel1->setText(title);
    m_field = field;
    ZoomMemo->setPlainText(text);
    ZoomMemo->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return ZoomMemo->toPlainText();
}

void TForm6::VazgecButtonClick()
{
    reject();
}

void TForm6::DegistirButtonClick()
{
    accept();
}

} // namespace tovek::ui
