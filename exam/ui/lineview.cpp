#include "exam/ui/lineview.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tovek::ui {

namespace {

// The same breathing room a text area leaves around its text.
constexpr int kMargin = 4;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

LineView::LineView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    updateScrollBars();
}

LineView::~LineView() = default;

void LineView::setLines(const std::vector<std::string>* lines)
{
    m_lines = lines;
    if (lines != &m_own)
        std::vector<std::string>().swap(m_own);
    linesChanged();
}

void LineView::setLines(std::vector<std::string> lines)
{
    m_own = std::move(lines);
    m_lines = &m_own;
    linesChanged();
}

void LineView::linesChanged()
{
    // Characters, not bytes: the width of a line is what the horizontal bar has to reach.
    int longest = 0;
    if (m_lines) {
        for (const std::string& line : *m_lines) {
            if (static_cast<int>(line.size()) <= longest)
                continue;
            int chars = 0;
            for (const char byte : line)
                chars += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
            longest = std::max(longest, chars);
        }
    }
    m_longestLine = longest;
    m_anchor = m_cursor = Position{};
    m_dragging = false;
    m_autoScroll.stop();
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

int LineView::lineCount() const
{
    return m_lines ? static_cast<int>(m_lines->size()) : 0;
}

QString LineView::lineText(int line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    const std::string& text = (*m_lines)[static_cast<std::size_t>(line)];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int LineView::lineLength(int line) const
{
    return static_cast<int>(lineText(line).size());
}

QString LineView::toPlainText() const
{
    if (!m_lines)
        return {};
    std::string joined;
    std::size_t bytes = 0;
    for (const std::string& line : *m_lines)
        bytes += line.size() + 1;
    joined.reserve(bytes);
    for (std::size_t i = 0; i < m_lines->size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += (*m_lines)[i];
    }
    return QString::fromUtf8(joined.data(), static_cast<qsizetype>(joined.size()));
}

QString LineView::selectedText() const
{
    if (!hasSelection())
        return {};
    const Position start = selectionStart();
    const Position end = selectionEnd();
    QString out;
    for (int line = start.line; line <= end.line; ++line) {
        const QString text = lineText(line);
        const int from = line == start.line ? start.column : 0;
        const int to = line == end.line ? end.column : static_cast<int>(text.size());
        out += text.mid(from, std::max(0, to - from));
        if (line != end.line)
            out += QLatin1Char('\n');
    }
    return out;
}

LineView::Position LineView::clamped(Position position) const
{
    const int count = lineCount();
    if (count == 0)
        return {};
    position.line = std::clamp(position.line, 0, count - 1);
    position.column = std::clamp(position.column, 0, lineLength(position.line));
    return position;
}

void LineView::setSelection(Position anchor, Position cursor)
{
    m_anchor = clamped(anchor);
    m_cursor = clamped(cursor);
    viewport()->update();
}

void LineView::selectAll()
{
    const int count = lineCount();
    if (count == 0)
        return;
    setSelection({0, 0}, {count - 1, lineLength(count - 1)});
    publishSelection();
}

void LineView::clearSelection()
{
    m_anchor = m_cursor;
    viewport()->update();
}

void LineView::copy()
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void LineView::publishSelection()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

int LineView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int LineView::visibleLineCount() const
{
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    return std::max(1, (viewport()->height() - kMargin) / lineHeight);
}

int LineView::textLeft() const
{
    return kMargin - horizontalScrollBar()->value();
}

void LineView::updateScrollBars()
{
    const int visible = visibleLineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, lineCount() - visible));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);

    // The font is monospaced, so the longest line in characters gives the widest.
    const QFontMetricsF metrics(font());
    const qreal charWidth = metrics.horizontalAdvance(QLatin1Char('M'));
    const int contentWidth = static_cast<int>(std::ceil(m_longestLine * charWidth)) + 2 * kMargin;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(1, static_cast<int>(std::lround(charWidth))));
}

LineView::Position LineView::positionAt(const QPoint& viewportPoint) const
{
    const int count = lineCount();
    if (count == 0)
        return {};
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int line =
        firstVisibleLine() + static_cast<int>(std::floor(double(viewportPoint.y() - kMargin) / lineHeight));
    if (line < 0)
        return {0, 0};
    if (line >= count)
        return {count - 1, lineLength(count - 1)};

    const QString text = lineText(line);
    const QFontMetricsF metrics(font());
    const qreal x = viewportPoint.x() - textLeft();
    if (x <= 0)
        return {line, 0};
    // The first boundary at or right of x, then whichever of it and the one before is nearer.
    int low = 0;
    int high = static_cast<int>(text.size());
    while (low < high) {
        const int mid = (low + high) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) < x)
            low = mid + 1;
        else
            high = mid;
    }
    int column = low;
    if (column > 0) {
        const qreal after = metrics.horizontalAdvance(text.left(column));
        const qreal before = metrics.horizontalAdvance(text.left(column - 1));
        if (x - before < after - x)
            --column;
    }
    if (column > 0 && column < text.size() && text.at(column).isLowSurrogate())
        --column;
    return {line, column};
}

QPoint LineView::pointOf(Position position) const
{
    const int lineHeight = fontMetrics().lineSpacing();
    const QFontMetricsF metrics(font());
    const qreal x = metrics.horizontalAdvance(lineText(position.line).left(position.column));
    return {textLeft() + static_cast<int>(std::lround(x)), kMargin + (position.line - firstVisibleLine()) * lineHeight};
}

void LineView::ensureVisible(Position position)
{
    const int first = firstVisibleLine();
    const int visible = visibleLineCount();
    if (position.line < first)
        verticalScrollBar()->setValue(position.line);
    else if (position.line >= first + visible)
        verticalScrollBar()->setValue(position.line - visible + 1);

    const QFontMetricsF metrics(font());
    const int x = kMargin + static_cast<int>(
                                std::lround(metrics.horizontalAdvance(lineText(position.line).left(position.column))));
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    if (x < horizontal->value() + kMargin)
        horizontal->setValue(x - kMargin);
    else if (x > horizontal->value() + width - kMargin)
        horizontal->setValue(x - width + kMargin);
}

void LineView::moveCursor(Position position, bool extend)
{
    m_cursor = clamped(position);
    if (!extend)
        m_anchor = m_cursor;
    ensureVisible(m_cursor);
    viewport()->update();
}

void LineView::dragTo(const QPoint& viewportPoint)
{
    moveCursor(positionAt(viewportPoint), true);
}

QMenu* LineView::createContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* copyAction = menu->addAction(QStringLiteral("Kopyala"), this, &LineView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction* selectAllAction = menu->addAction(QStringLiteral("Tümünü Seç"), this, &LineView::selectAll);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setEnabled(lineCount() > 0);
    return menu;
}

bool LineView::event(QEvent* event)
{
    // The view's own keys must not be taken as shortcuts by the window around it.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void LineView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int first = firstVisibleLine();
    const int last = std::min(lineCount() - 1, first + (viewport()->height() - kMargin) / lineHeight + 1);
    const QPalette& colours = palette();
    const Position start = selectionStart();
    const Position end = selectionEnd();
    const bool selection = hasSelection();
    const qreal left = textLeft();
    const int width = viewport()->width();

    for (int line = first; line <= last; ++line) {
        const int top = kMargin + (line - first) * lineHeight;
        const QString text = lineText(line);
        const QPointF baseline(left, top + metrics.ascent());
        painter.setPen(colours.color(QPalette::Text));
        painter.drawText(baseline, text);
        if (!selection || line < start.line || line > end.line)
            continue;
        const int from = line == start.line ? start.column : 0;
        const int to = line == end.line ? end.column : static_cast<int>(text.size());
        qreal x1 = left + metrics.horizontalAdvance(text.left(from));
        qreal x2 = left + metrics.horizontalAdvance(text.left(to));
        // A selected line break shows as a selected space.
        if (line != end.line)
            x2 += metrics.horizontalAdvance(QLatin1Char(' '));
        x1 = std::max<qreal>(x1, 0);
        x2 = std::min<qreal>(x2, width);
        if (x2 <= x1)
            continue;
        const QRectF band(x1, top, x2 - x1, lineHeight);
        painter.fillRect(band, colours.color(QPalette::Highlight));
        painter.save();
        painter.setClipRect(band);
        painter.setPen(colours.color(QPalette::HighlightedText));
        painter.drawText(baseline, text);
        painter.restore();
    }
}

void LineView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LineView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateScrollBars();
        viewport()->update();
    }
}

void LineView::keyPressEvent(QKeyEvent* event)
{
    const int count = lineCount();
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }

    // With Shift the keys move an unseen cursor and stretch the selection; one that starts out of
    // sight starts at the top of what the reader sees.
    const bool selecting =
        event->matches(QKeySequence::SelectNextLine) || event->matches(QKeySequence::SelectPreviousLine) ||
        event->matches(QKeySequence::SelectNextChar) || event->matches(QKeySequence::SelectPreviousChar) ||
        event->matches(QKeySequence::SelectStartOfLine) || event->matches(QKeySequence::SelectEndOfLine) ||
        event->matches(QKeySequence::SelectStartOfDocument) || event->matches(QKeySequence::SelectEndOfDocument) ||
        event->matches(QKeySequence::SelectNextPage) || event->matches(QKeySequence::SelectPreviousPage);
    if (selecting) {
        if (count == 0)
            return;
        const int first = firstVisibleLine();
        if (!hasSelection() && (m_cursor.line < first || m_cursor.line >= first + visibleLineCount()))
            m_anchor = m_cursor = clamped({first, 0});
        Position to = m_cursor;
        const int page = visibleLineCount();
        if (event->matches(QKeySequence::SelectNextLine)) {
            to.line = std::min(count - 1, to.line + 1);
        } else if (event->matches(QKeySequence::SelectPreviousLine)) {
            to.line = std::max(0, to.line - 1);
        } else if (event->matches(QKeySequence::SelectNextPage)) {
            to.line = std::min(count - 1, to.line + page);
        } else if (event->matches(QKeySequence::SelectPreviousPage)) {
            to.line = std::max(0, to.line - page);
        } else if (event->matches(QKeySequence::SelectNextChar)) {
            if (to.column < lineLength(to.line))
                ++to.column;
            else if (to.line + 1 < count)
                to = {to.line + 1, 0};
        } else if (event->matches(QKeySequence::SelectPreviousChar)) {
            if (to.column > 0)
                --to.column;
            else if (to.line > 0)
                to = {to.line - 1, lineLength(to.line - 1)};
        } else if (event->matches(QKeySequence::SelectStartOfLine)) {
            to.column = 0;
        } else if (event->matches(QKeySequence::SelectEndOfLine)) {
            to.column = lineLength(to.line);
        } else if (event->matches(QKeySequence::SelectStartOfDocument)) {
            to = {0, 0};
        } else {
            to = {count - 1, lineLength(count - 1)};
        }
        moveCursor(to, true);
        publishSelection();
        return;
    }

    // Without Shift the keys only move the view: there is no cursor to show.
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        horizontal->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        horizontal->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToNextLine)) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->matches(QKeySequence::MoveToPreviousLine)) {
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->matches(QKeySequence::MoveToNextPage)) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->matches(QKeySequence::MoveToPreviousPage)) {
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->matches(QKeySequence::MoveToNextChar)) {
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->matches(QKeySequence::MoveToPreviousChar)) {
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->matches(QKeySequence::MoveToStartOfLine)) {
        horizontal->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfLine)) {
        horizontal->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        // Escape, Enter and the rest belong to the window.
        event->ignore();
    }
}

void LineView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    moveCursor(positionAt(point), event->modifiers().testFlag(Qt::ShiftModifier));
    m_dragging = true;
    m_dragPoint = point;
}

void LineView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !event->buttons().testFlag(Qt::LeftButton))
        return;
    m_dragPoint = event->position().toPoint();
    dragTo(m_dragPoint);
    // Held still beyond the edge, the view goes on scrolling towards the pointer.
    if (viewport()->rect().contains(m_dragPoint))
        m_autoScroll.stop();
    else if (!m_autoScroll.isActive())
        m_autoScroll.start(50, this);
}

void LineView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    m_autoScroll.stop();
    publishSelection();
}

void LineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Position at = positionAt(event->position().toPoint());
    const QString text = lineText(at.line);
    int from = at.column;
    int to = at.column;
    while (from > 0 && isWordChar(text.at(from - 1)))
        --from;
    while (to < text.size() && isWordChar(text.at(to)))
        ++to;
    m_dragging = false;
    if (from == to)
        return;
    setSelection({at.line, from}, {at.line, to});
    publishSelection();
}

void LineView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LineView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_autoScroll.timerId()) {
        if (m_dragging)
            dragTo(m_dragPoint);
        else
            m_autoScroll.stop();
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

} // namespace tovek::ui
