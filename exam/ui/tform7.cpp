#include "exam/ui/tform7.h"

#include "exam/search.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tovek::ui {

TForm7::TForm7(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("İterasyon"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    WarningLabel = new QLabel(QString::fromUtf8(kIterationWarning).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                              this);
    WarningLabel->setObjectName(QStringLiteral("WarningLabel"));
    WarningLabel->setAlignment(Qt::AlignCenter);
    WarningLabel->setAutoFillBackground(true);
    WarningLabel->setMargin(6);
    QPalette warningPalette = WarningLabel->palette();
    warningPalette.setColor(QPalette::Window, QColor(255, 128, 192));
    warningPalette.setColor(QPalette::WindowText, QColor(128, 0, 128));
    WarningLabel->setPalette(warningPalette);
    QFont bold = WarningLabel->font();
    bold.setBold(true);
    WarningLabel->setFont(bold);

    LimitLabel = new QLabel(QStringLiteral("Denenecek İterasyon Sayısı :"), this);
    LimitLabel->setObjectName(QStringLiteral("LimitLabel"));
    IterasyonLimitiSpinEdit = new StepSpinBox(this);
    IterasyonLimitiSpinEdit->setObjectName(QStringLiteral("IterasyonLimitiSpinEdit"));
    IterasyonLimitiSpinEdit->setRange(0, kMaxAttemptLimit);
    IterasyonLimitiSpinEdit->setValue(0);
    IterasyonLimitiSpinEdit->setMinimumWidth(80);
    LimitLabel->setBuddy(IterasyonLimitiSpinEdit);

    KaristirmaYapilmasinCheckBox = new QCheckBox(QStringLiteral("Karıştırma Yapılmasın"), this);
    KaristirmaYapilmasinCheckBox->setObjectName(QStringLiteral("KaristirmaYapilmasinCheckBox"));
    KaristirmaYapilmasinCheckBox->setFont(bold);
    // The caption stands on the left of the box.
    KaristirmaYapilmasinCheckBox->setLayoutDirection(Qt::RightToLeft);

    AktifVazgecToolbarButton = new QPushButton(QStringLiteral("Vazgeç"), this);
    AktifVazgecToolbarButton->setObjectName(QStringLiteral("AktifVazgecToolbarButton"));
    AktifVazgecToolbarButton->setAutoDefault(false);
    AktifTamamToolbarButton = new QPushButton(QStringLiteral("Tamam"), this);
    AktifTamamToolbarButton->setObjectName(QStringLiteral("AktifTamamToolbarButton"));
    AktifTamamToolbarButton->setDefault(true);
    connect(AktifVazgecToolbarButton, &QPushButton::clicked, this, &TForm7::AktifVazgecToolbarButtonClick);
    connect(AktifTamamToolbarButton, &QPushButton::clicked, this, &TForm7::AktifTamamToolbarButtonClick);

    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(LimitLabel);
    limitRow->addWidget(IterasyonLimitiSpinEdit);
    limitRow->addStretch();
    auto* optionRow = new QHBoxLayout;
    optionRow->addWidget(KaristirmaYapilmasinCheckBox);
    optionRow->addStretch();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(AktifVazgecToolbarButton);
    buttonRow->addWidget(AktifTamamToolbarButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WarningLabel);
    layout->addLayout(limitRow);
    layout->addLayout(optionRow);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TForm7::attemptLimit() const
{
    return IterasyonLimitiSpinEdit->value();
}

bool TForm7::noShuffle() const
{
    return KaristirmaYapilmasinCheckBox->isChecked();
}

void TForm7::AktifTamamToolbarButtonClick()
{
    accept();
}

void TForm7::AktifVazgecToolbarButtonClick()
{
    reject();
}

void TForm7::showEvent(QShowEvent* event)
{
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    IterasyonLimitiSpinEdit->setFocus();
    QDialog::showEvent(event);
}

} // namespace tovek::ui
