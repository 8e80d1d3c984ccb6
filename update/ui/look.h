#pragma once
// Small pieces of look shared by the about and new-version windows.

#include <QPixmap>

class QWidget;

namespace tovek::ui {

// The program's icon, 32 x 32.
QPixmap programIconPixmap();

// Bold text, optionally a few points larger.
void makeBold(QWidget* widget, int pointSizeDelta = 0);

// Places a window in the middle of its screen (not of its parent window).
void centreOnScreen(QWidget* window);

} // namespace tovek::ui
