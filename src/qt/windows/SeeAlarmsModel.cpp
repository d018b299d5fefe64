#include "windows/SeeAlarmsModel.h"

#include "alarms/Alarm.h"

namespace halvika {

namespace {
constexpr int columns = 4;
}

SeeAlarmsModel::SeeAlarmsModel(QObject* parent) : QAbstractTableModel(parent) {}

void SeeAlarmsModel::setTitles(const QStringList& titles) {
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
}

void SeeAlarmsModel::show(const Vector<Alarm>& alarms, std::vector<Date> moments, CellSource cells) {
    beginResetModel();
    m_alarms = alarms.getCopy();
    m_moments = std::move(moments);
    m_moments.resize(static_cast<std::size_t>(m_alarms.numberOfElements()));
    m_cells = std::move(cells);
    endResetModel();
}

int SeeAlarmsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_alarms.numberOfElements();
}

int SeeAlarmsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant SeeAlarmsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_alarms.numberOfElements() || !m_cells ||
        (role != Qt::DisplayRole && role != Qt::ForegroundRole)) {
        return {};
    }
    return m_cells(*m_alarms.elementAt(index.row()), m_moments[static_cast<std::size_t>(index.row())], index.column(),
                   role);
}

QVariant SeeAlarmsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columns) {
        return {};
    }
    return m_titles.value(section);
}

} // namespace halvika
