#include "app/ui/stepspinbox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tovek::ui {

StepSpinBox::StepSpinBox(QWidget* parent) : QSpinBox(parent)
{
    // Read-only text still lets the box take Up and Down, which it handles before the text does.
    lineEdit()->setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAccelerated(false);
    setKeyboardTracking(false);
}

void StepSpinBox::stepBy(int steps)
{
    // Ctrl+wheel would jump by ten; the value moves one at a time.
    QSpinBox::stepBy(steps > 0 ? 1 : (steps < 0 ? -1 : 0));
}

void StepSpinBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->ignore();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

} // namespace tovek::ui
