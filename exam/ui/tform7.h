#pragma once
// The iteration dialog of the shuffling command: the attempt limit and the no-shuffle option.
// It is created once and only hidden between showings, so both keep the values last chosen.

#include <QDialog>
#include "app/ui/stepspinbox.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tovek::ui {

inline constexpr const char* kIterationWarning =
    "DİKKAT\r\nDENENECEK İTERASYON SAYISI SIFIR OLARAK VERİLİRSE\r\nEŞİT DAĞILIM BULUNANA KADAR İTERASYON YAPILIR.";

class TForm7 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // 0 means no limit.
    int attemptLimit() const;
    bool noShuffle() const;

    QLabel* WarningLabel;
    QLabel* LimitLabel;
    StepSpinBox* IterasyonLimitiSpinEdit;
    QCheckBox* KaristirmaYapilmasinCheckBox;
    QPushButton* AktifVazgecToolbarButton;
    QPushButton* AktifTamamToolbarButton;

public slots:
    // "Tamam" closes the dialog with Accepted: the command then runs the search.
    void AktifTamamToolbarButtonClick();
    void AktifVazgecToolbarButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace tovek::ui
