// A growable array of date-time values.
#pragma once

#include "containers/VectorStorage.h"
#include "dates/Date.h"

namespace halvika {

class DateVector {
public:
    void clear() { m_storage.clear(); }
    Date dateAt(int index) const { return m_storage.at(index); }
    /// Appends the date n times, at least once.
    bool addDate(const Date& date, int n = 1) {
        for (int i = 0; i < (n < 1 ? 1 : n); ++i) {
            if (!m_storage.append(date)) {
                return false;
            }
        }
        return true;
    }
    bool addDateAt(const Date& date, int index) { return m_storage.insertAt(index, date); }
    bool removeDateAt(int index) { return m_storage.removeAt(index); }
    int numberOfElements() const { return m_storage.numberOfElements(); }
    int capacity() const { return m_storage.capacity(); }

private:
    VectorStorage<Date> m_storage;
};

} // namespace halvika
