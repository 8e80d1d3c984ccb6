#pragma once
// The random-activation dialog: how many randomly chosen questions to switch on.

#include "app/ui/dialogs.h"

#include <QDialog>
#include "app/ui/stepspinbox.h"

#include <functional>

class QLabel;
class QToolButton;

namespace tovek::ui {

class TForm5 : public QDialog
{
    Q_OBJECT
public:
    static const QString kCaption;
    static const QString kWarning;

    explicit TForm5(Dialogs& dialogs, QWidget* parent = nullptr);

    // Range 1 .. questionCount; the value is kept, brought into the range.
    void setQuestionCount(int questionCount);
    int requestedCount() const;
    // A newly opened file starts again from 1.
    void resetRequestedCount();

    // What "Tamam" runs with the requested count. Throwing Abort (a refusing guard) keeps the dialog
    // open with nothing changed; any other error is reported and the dialog stays open as well.
    void setActivation(std::function<void(int)> activation) { m_activation = std::move(activation); }

    void AktifTamamToolbarButtonClick();
    void AktifVazgecToolbarButtonClick();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    StepSpinBox* SpinEdit1 = nullptr;
    QToolButton* AktifVazgecToolbarButton = nullptr;
    QToolButton* AktifTamamToolbarButton = nullptr;

private:
    Dialogs& m_dialogs;
    std::function<void(int)> m_activation;
};

} // namespace tovek::ui
