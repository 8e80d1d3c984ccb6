#pragma once
// A label that reacts to a click, for the windows' mail and web links.

#include <QLabel>

namespace tovek::ui {

class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Blue, underlined, hand cursor: the look of a link.
    void showAsLink();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

} // namespace tovek::ui
