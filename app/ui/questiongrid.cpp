#include "app/ui/questiongrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace tovek::ui {

QuestionModel::QuestionModel(const Table& table, QObject* parent) : QAbstractTableModel(parent), m_table(table) {}

int QuestionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int QuestionModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant QuestionModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_table.isOpen() || index.row() >= m_table.recordCount())
        return {};
    if (index.column() == SorunoColumn && role == Qt::DisplayRole)
        return QString::fromStdString(formatNumber(m_table.keyAt(index.row())));
    if (index.column() == SorunoColumn && role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (index.column() == AktifColumn && role == ActiveRole) {
        const Value v = m_table.activeAt(index.row());
        return std::holds_alternative<bool>(v) && std::get<bool>(v);
    }
    return {};
}

QVariant QuestionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section == SorunoColumn ? QStringLiteral("SORUNO") : QStringLiteral("AKTIF");
    // The record indicator: which row is current, and whether it is being edited.
    if (!m_table.isOpen() || section != m_table.position())
        return QString();
    switch (m_table.state()) {
    case TableState::Edit:
        return QStringLiteral("I");
    case TableState::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("\u25B6");
    }
}

Qt::ItemFlags QuestionModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void QuestionModel::refresh()
{
    const int rows = m_table.isOpen() ? m_table.recordCount() : 0;
    const int indicator = m_table.isOpen() ? m_table.position() : -1;
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
        m_indicatorRow = indicator;
        endResetModel();
        return;
    }
    if (m_rows > 0) {
        // One repaint of the visible rows; the header is told only about the rows whose mark moved.
        emit dataChanged(index(0, 0), index(m_rows - 1, 1));
        for (int row : {m_indicatorRow, indicator})
            if (row >= 0 && row < m_rows)
                emit headerDataChanged(Qt::Vertical, row, row);
    }
    m_indicatorRow = indicator;
}

void ActiveFlagDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    QStyleOptionButton box;
    const QRect cell = option.rect.adjusted(1, 1, -1, -1);
    const int side = std::min({cell.width(), cell.height(),
                               style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget)});
    box.rect = QRect(cell.left() + (cell.width() - side) / 2, cell.top() + (cell.height() - side) / 2, side, side);
    box.state = QStyle::State_Enabled;
    box.state |= index.data(QuestionModel::ActiveRole).toBool() ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
}

QuestionGrid::QuestionGrid(QWidget* parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setItemDelegateForColumn(QuestionModel::AktifColumn, new ActiveFlagDelegate(this));
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setMinimumSectionSize(8);
    horizontalHeader()->setFixedHeight(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(16);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(13);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
}

void QuestionGrid::keyPressEvent(QKeyEvent* event)
{
    // Questions are deleted only through the navigator, which asks first and renumbers.
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        event->accept();
        return;
    }
    const bool printable = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (currentIndex().isValid() && currentIndex().column() == QuestionModel::AktifColumn && printable &&
        event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        event->accept();
        emit activeColumnKey(event->key(), event->text(), event->modifiers());
        return;
    }
    QTableView::keyPressEvent(event);
}

void QuestionGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    emit focusChanged();
}

void QuestionGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    emit focusChanged();
}

void QuestionGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    emit focusChanged();
}

} // namespace tovek::ui
