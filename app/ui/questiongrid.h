#pragma once
// The list of question numbers with their active flags. It reads the table's key list directly,
// so showing a file costs the same whatever the number of questions.

#include "store/engine.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace tovek::ui {

class QuestionModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { SorunoColumn = 0, AktifColumn = 1 };
    // Role under which the AKTIF column gives its flag as a bool.
    static constexpr int ActiveRole = Qt::UserRole + 1;

    explicit QuestionModel(const Table& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Follows the table: a new row count resets the model, anything else only repaints.
    void refresh();

private:
    const Table& m_table;
    int m_rows = 0;
    int m_indicatorRow = -1;
};

// Draws the AKTIF cells as check boxes.
class ActiveFlagDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class QuestionGrid : public QTableView
{
    Q_OBJECT
public:
    explicit QuestionGrid(QWidget* parent = nullptr);

signals:
    // A character typed while the AKTIF column is selected; it belongs to the overlay check box.
    void activeColumnKey(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    void focusChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
};

} // namespace tovek::ui
