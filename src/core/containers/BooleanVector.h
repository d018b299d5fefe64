// A growable array of flags.
#pragma once

#include "containers/VectorStorage.h"

namespace halvika {

class BooleanVector {
public:
    void clear() { m_storage.clear(); }
    bool booleanAt(int index) const { return m_storage.at(index); }
    bool setBooleanAt(int index, bool flag) { return m_storage.setAt(index, flag); }
    /// Appends the flag n times, at least once.
    bool addBoolean(bool flag, int n = 1) {
        for (int i = 0; i < (n < 1 ? 1 : n); ++i) {
            if (!m_storage.append(flag)) {
                return false;
            }
        }
        return true;
    }
    bool addBooleanAt(bool flag, int index) { return m_storage.insertAt(index, flag); }
    bool removeBooleanAt(int index) { return m_storage.removeAt(index); }
    int numberOfElements() const { return m_storage.numberOfElements(); }
    int capacity() const { return m_storage.capacity(); }

private:
    VectorStorage<bool> m_storage;
};

} // namespace halvika
