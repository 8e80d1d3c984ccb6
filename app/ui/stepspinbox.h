#pragma once

#include <QSpinBox>

class QKeyEvent;

namespace tovek::ui {

// A number field that changes only by single steps of its buttons, arrow keys or wheel: nothing
// can be typed, pasted or cut, and page keys do not jump.
class StepSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit StepSpinBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tovek::ui
