#pragma once
// The record navigator: nine icon-only buttons that move through, add, delete, edit, store and
// drop questions. Each button is enabled only where its operation is possible.

#include "store/engine.h"

#include <QWidget>

#include <array>

class QToolButton;

namespace tovek::ui {

class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };
    static constexpr int kButtonCount = 9;

    explicit DBNavigator(QWidget* parent = nullptr);

    QToolButton* button(Button which) const { return m_buttons[which]; }
    // The hint texts, which the navigator shows whatever the window's hint switch says.
    static QString hintFor(Button which);
    void updateButtons(const Table& table);

signals:
    void clicked(tovek::ui::DBNavigator::Button which);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QToolButton*, kButtonCount> m_buttons{};
};

} // namespace tovek::ui
