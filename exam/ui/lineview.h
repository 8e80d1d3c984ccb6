#pragma once
// A read-only view of a long list of UTF-8 lines. A prepared examination runs to a hundred thousand
// lines; a text document would build one block per line before the window can appear, while this view
// keeps only a pointer to the lines and turns into text just those it paints.

#include <QAbstractScrollArea>
#include <QBasicTimer>

#include <compare>
#include <string>
#include <vector>

class QMenu;

namespace tovek::ui {

class LineView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // A place in the text: a line and a position (UTF-16 units) within it.
    struct Position
    {
        int line = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };

    explicit LineView(QWidget* parent = nullptr);
    ~LineView() override;

    // Shows the given lines in place; they must outlive the view or the next setLines, and after any
    // change to them setLines must be called again. nullptr shows nothing.
    void setLines(const std::vector<std::string>* lines);
    // Shows a copy the view keeps itself.
    void setLines(std::vector<std::string> lines);

    int lineCount() const;
    // The line as shown; empty outside the text.
    QString lineText(int line) const;
    // Every line, joined with "\n".
    QString toPlainText() const;

    bool hasSelection() const { return m_anchor != m_cursor; }
    // The selected characters, lines joined with "\n".
    QString selectedText() const;
    Position selectionStart() const { return std::min(m_anchor, m_cursor); }
    Position selectionEnd() const { return std::max(m_anchor, m_cursor); }
    void setSelection(Position anchor, Position cursor);

    // The first line at the top of the view.
    int firstVisibleLine() const;
    // How many whole lines the view shows at once.
    int visibleLineCount() const;
    // The place under a point of the viewport, clamped to the text.
    Position positionAt(const QPoint& viewportPoint) const;
    // Where a place is drawn, in viewport coordinates (the top left of its character cell).
    QPoint pointOf(Position position) const;
    // "Kopyala" and "Tümünü Seç", as the right button offers them.
    QMenu* createContextMenu(QWidget* parent);

public slots:
    void selectAll();
    void copy();
    void clearSelection();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void linesChanged();
    void updateScrollBars();
    int lineLength(int line) const;
    int textLeft() const;
    Position clamped(Position position) const;
    void moveCursor(Position position, bool extend);
    void ensureVisible(Position position);
    void dragTo(const QPoint& viewportPoint);
    void publishSelection();

    std::vector<std::string> m_own;
    const std::vector<std::string>* m_lines = nullptr;
    int m_longestLine = 0; // in characters
    Position m_anchor;
    Position m_cursor;
    bool m_dragging = false;
    QPoint m_dragPoint;
    QBasicTimer m_autoScroll;
};

} // namespace tovek::ui
