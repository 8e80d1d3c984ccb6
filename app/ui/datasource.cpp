#include "app/ui/datasource.h"

namespace tovek::ui {

DataSource::DataSource(Table& table, QObject* parent) : QObject(parent), m_table(table)
{
    m_table.afterScroll = [this] { announce(); };
    m_table.dataChanged = [this] { announce(); };
}

DataSource::~DataSource()
{
    m_table.afterScroll = nullptr;
    m_table.dataChanged = nullptr;
}

void DataSource::open()
{
    m_table.open();
    announce();
}

void DataSource::close()
{
    m_table.close();
    announce();
}

void DataSource::setFiltered(bool on)
{
    m_table.setFiltered(on);
    announce();
}

void DataSource::disableControls()
{
    ++m_disabled;
}

void DataSource::enableControls()
{
    if (m_disabled == 0)
        return;
    if (--m_disabled == 0 && m_pending)
        announce();
}

void DataSource::announce()
{
    if (m_disabled > 0) {
        m_pending = true;
        return;
    }
    m_pending = false;
    emit changed();
}

} // namespace tovek::ui
