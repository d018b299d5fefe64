// The rows of a recent or coming list: an alarm and a moment each. A row's texts are made when it is shown,
// so a list of a thousand entries holds a thousand pointers, not four thousand strings.
#pragma once

#include "containers/Vector.h"
#include "dates/Date.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <vector>

namespace halvika {

class Alarm;

class SeeAlarmsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// A cell's text (Qt::DisplayRole) or colour (Qt::ForegroundRole), asked for when it is shown.
    using CellSource = std::function<QVariant(const Alarm& alarm, const Date& moment, int column, int role)>;

    explicit SeeAlarmsModel(QObject* parent = nullptr);

    void setTitles(const QStringList& titles);
    /// Shows these entries, `moments` one per alarm.
    void show(const Vector<Alarm>& alarms, std::vector<Date> moments, CellSource cells);
    /// Cells are empty from now on: the source is going (the window's own destruction still lays the list out).
    void forgetCells() { m_cells = nullptr; }
    const Vector<Alarm>& alarms() const { return m_alarms; }
    const std::vector<Date>& moments() const { return m_moments; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_titles;
    Vector<Alarm> m_alarms;
    std::vector<Date> m_moments;
    CellSource m_cells;
};

} // namespace halvika
