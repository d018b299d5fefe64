// A growable array of shared object references that compares elements by identity.
#pragma once

#include "containers/VectorStorage.h"

#include <memory>

namespace halvika {

/// Holds references, not copies: the same object may sit in several vectors. Equality is identity, never
/// content. Adding to a full vector (VectorStorage::kMaxCount) returns false.
template <typename T> class Vector {
public:
    using Ptr = std::shared_ptr<T>;

    static Vector createVector() { return Vector(); }
    static Vector createVectorWithObj(const Ptr& object, int n) {
        Vector v;
        for (int i = 0; i < n; ++i) {
            v.addElement(object);
        }
        return v;
    }

    void clear() { m_storage.clear(); }
    bool addElementAt(Ptr object, int index) { return m_storage.insertAt(index, std::move(object)); }
    bool addElement(Ptr object) { return m_storage.append(std::move(object)); }
    bool addVectorAt(const Vector& other, int index) {
        // Copy first: `other` may be this very vector.
        const Vector source = other.getCopy();
        for (int i = 0; i < source.numberOfElements(); ++i) {
            if (!addElementAt(source.elementAt(i), index + i)) {
                return false;
            }
        }
        return true;
    }
    bool addVector(const Vector& other) { return addVectorAt(other, numberOfElements()); }
    bool setElementAt(Ptr object, int index) { return m_storage.setAt(index, std::move(object)); }
    bool removeElementAt(int index) { return m_storage.removeAt(index); }
    /// Removes every occurrence of this very object.
    void remove(const T* object) {
        for (int i = numberOfElements() - 1; i >= 0; --i) {
            if (m_storage.at(i).get() == object) {
                m_storage.removeAt(i);
            }
        }
    }
    void remove(const Ptr& object) { remove(object.get()); }
    Ptr elementAt(int index) const { return m_storage.at(index); }
    /// Range-for over the elements, without a reference count taken for each.
    const Ptr* begin() const { return m_storage.begin(); }
    const Ptr* end() const { return m_storage.end(); }
    int numberOfElements() const { return m_storage.numberOfElements(); }
    int capacity() const { return m_storage.capacity(); }
    int indexOf(const T* object, int start = 0) const {
        for (int i = start < 0 ? 0 : start; i < numberOfElements(); ++i) {
            if (m_storage.at(i).get() == object) {
                return i;
            }
        }
        return -1;
    }
    int indexOf(const Ptr& object, int start = 0) const { return indexOf(object.get(), start); }
    bool contains(const Ptr& object) const { return indexOf(object, 0) >= 0; }
    void swap(int i, int j) { m_storage.swap(i, j); }
    void swapObjects(const Ptr& a, const Ptr& b) {
        const int ia = indexOf(a);
        const int ib = indexOf(b);
        if (ia >= 0 && ib >= 0) {
            m_storage.swap(ia, ib);
        }
    }
    void reverse() { m_storage.reverse(); }
    /// A new vector with the same references in the same order.
    Vector getCopy() const { return *this; }

private:
    VectorStorage<Ptr> m_storage;
};

} // namespace halvika
