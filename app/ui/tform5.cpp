#include "app/ui/tform5.h"

#include "app/ui/application.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace tovek::ui {

const QString TForm5::kCaption = QStringLiteral("İstenilen Sayıda Rastgele Soru Aktif Hale Getirme");
const QString TForm5::kWarning =
    QStringLiteral("DİKKAT\r\nTÜM SORULARIN AKTİF DURUMU OFF YAPILACAK.\r\nDAHA SONRA RASTGELE SORU SEÇİMİ OLACAKTIR.");

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TForm5::TForm5(Dialogs& dialogs, QWidget* parent) : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(kCaption);
    setFixedSize(352, 183);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    // Qt breaks lines on LF alone; a CR would show as a stray glyph.
    Label2->setText(QString(kWarning).remove(QChar('\r')));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setStyleSheet(QStringLiteral("background-color: rgb(255, 128, 128); color: navy; font-weight: bold;"));
    Label2->setGeometry(8, 8, 336, 64);

    Label1 = new QLabel(QStringLiteral("Kaç Soru AKTIF Yapılsın :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 88, 180, 24);

    SpinEdit1 = new StepSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 1);
    SpinEdit1->setValue(1);
    SpinEdit1->setGeometry(208, 86, 96, 26);
    Label1->setBuddy(SpinEdit1);

    AktifVazgecToolbarButton =
        makeButton(this, "AktifVazgecToolbarButton", QStringLiteral("Vazgeç"), QRect(8, 132, 164, 43));
    AktifTamamToolbarButton =
        makeButton(this, "AktifTamamToolbarButton", QStringLiteral("Tamam"), QRect(180, 132, 164, 43));
    connect(AktifVazgecToolbarButton, &QToolButton::clicked, this, &TForm5::AktifVazgecToolbarButtonClick);
    connect(AktifTamamToolbarButton, &QToolButton::clicked, this, &TForm5::AktifTamamToolbarButtonClick);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm5::setQuestionCount(int questionCount)
{
    const int value = SpinEdit1->value();
    SpinEdit1->setRange(1, std::max(1, questionCount));
    SpinEdit1->setValue(std::clamp(value, 1, std::max(1, questionCount)));
}

int TForm5::requestedCount() const
{
    return SpinEdit1->value();
}

void TForm5::resetRequestedCount()
{
    SpinEdit1->setValue(SpinEdit1->minimum());
}

void TForm5::AktifTamamToolbarButtonClick()
{
    bool done = false;
    runGuarded(m_dialogs, this, [&] {
        if (m_activation)
            m_activation(SpinEdit1->value());
        done = true;
    });
    if (done)
        accept();
}

void TForm5::AktifVazgecToolbarButtonClick()
{
    reject();
}

} // namespace tovek::ui
