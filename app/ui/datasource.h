#pragma once
// The link between the question table and the window's bound controls: it announces every move,
// state change and data change of the table once, and lets a walk over many records hold those
// announcements back until it ends, so that the controls follow only the record the walk stops on.

#include "store/engine.h"

#include <QObject>

namespace tovek::ui {

class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(Table& table, QObject* parent = nullptr);
    ~DataSource() override;

    Table& table() const { return m_table; }
    bool isActive() const { return m_table.isOpen(); }
    TableState state() const { return m_table.state(); }

    // Opening and closing go through here because the engine reports neither of them itself.
    void open();
    // Drops a change that has not been posted.
    void close();
    void setFiltered(bool on);

    // Counted: announcements resume, with one catch-up announcement, at the outermost enableControls.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // Announces now (or at the end of the current walk), for changes made behind the table's back.
    void announce();

signals:
    // The current record, its state, its values or the set of visible records may have changed.
    void changed();

private:
    Table& m_table;
    int m_disabled = 0;
    bool m_pending = false;
};

// Holds a data source's announcements back for the life of the object.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(DataSource& source) : m_source(source) { m_source.disableControls(); }
    ~ControlsDisabled() { m_source.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    DataSource& m_source;
};

} // namespace tovek::ui
