// A growable array of texts.
#pragma once

#include "containers/VectorStorage.h"

#include <string>

namespace halvika {

class StringVector {
public:
    void clear() { m_storage.clear(); }
    std::string stringAt(int index) const { return m_storage.at(index); }
    bool addString(std::string text) { return m_storage.append(std::move(text)); }
    bool removeStringAt(int index) { return m_storage.removeAt(index); }
    int numberOfElements() const { return m_storage.numberOfElements(); }
    int capacity() const { return m_storage.capacity(); }
    /// First index holding exactly this text (case-sensitive), or -1.
    int indexOf(const std::string& text) const {
        for (int i = 0; i < numberOfElements(); ++i) {
            if (m_storage.at(i) == text) {
                return i;
            }
        }
        return -1;
    }
    bool addStringVector(const StringVector& other) {
        const StringVector source = other;
        for (int i = 0; i < source.numberOfElements(); ++i) {
            if (!addString(source.stringAt(i))) {
                return false;
            }
        }
        return true;
    }

private:
    VectorStorage<std::string> m_storage;
};

} // namespace halvika
