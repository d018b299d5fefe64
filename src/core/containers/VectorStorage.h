// The shared layout and growth rule of the four vector types.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace halvika {

/// Slots 0..capacity-1 with `count` in use. The capacity is always 10 * 2^k: it doubles while the count
/// exceeds it and halves while fewer than half the slots are used, never below 10. At most kMaxCount
/// elements fit (one more doubling would leave the 16-bit range); adding beyond that fails.
/// Reading a slot outside 0..count-1 gives the empty element; writes and removals outside it do nothing.
/// The capacity is the rule's figure only: memory is taken for the elements in use, so that the many
/// vectors of one or two elements (an alarm's actions) do not hold ten slots each.
template <typename T> class VectorStorage {
public:
    static constexpr int kMaxCount = 20480;
    static constexpr int kMinCapacity = 10;

    int numberOfElements() const { return static_cast<int>(m_items.size()); }
    int capacity() const { return m_capacity; }

    void clear() {
        m_items = std::vector<T>();
        m_capacity = kMinCapacity;
    }

    /// False (and nothing inserted) when the index is outside 0..count or the vector is full.
    bool insertAt(int index, T value) {
        if (index < 0 || index > numberOfElements() || numberOfElements() >= kMaxCount) {
            return false;
        }
        m_items.insert(m_items.begin() + index, std::move(value));
        resizeFor(numberOfElements());
        return true;
    }

    bool append(T value) { return insertAt(numberOfElements(), std::move(value)); }

    bool removeAt(int index) {
        if (index < 0 || index >= numberOfElements()) {
            return false;
        }
        m_items.erase(m_items.begin() + index);
        resizeFor(numberOfElements());
        // Memory follows the count down as the capacity does, halving at a time.
        if (m_items.capacity() > 2 * m_items.size() + static_cast<std::size_t>(kMinCapacity)) {
            m_items.shrink_to_fit();
        }
        return true;
    }

    /// The held items, for range-for without copying each.
    const T* begin() const { return m_items.data(); }
    const T* end() const { return m_items.data() + m_items.size(); }

    T at(int index) const {
        if (index < 0 || index >= numberOfElements()) {
            return T();
        }
        return m_items[static_cast<std::size_t>(index)];
    }

    bool setAt(int index, T value) {
        if (index < 0 || index >= numberOfElements()) {
            return false;
        }
        m_items[static_cast<std::size_t>(index)] = std::move(value);
        return true;
    }

    void swap(int i, int j) {
        if (i >= 0 && j >= 0 && i < numberOfElements() && j < numberOfElements()) {
            std::swap(m_items[static_cast<std::size_t>(i)], m_items[static_cast<std::size_t>(j)]);
        }
    }

    /// The order turned round; the capacity as if the elements had been added anew.
    void reverse() {
        std::reverse(m_items.begin(), m_items.end());
        m_capacity = kMinCapacity;
        resizeFor(numberOfElements());
    }

private:
    void resizeFor(int n) {
        while (n > m_capacity) {
            m_capacity *= 2;
        }
        while (2 * n < m_capacity && m_capacity >= 11) {
            m_capacity /= 2;
        }
    }

    std::vector<T> m_items;
    int m_capacity = kMinCapacity;
};

} // namespace halvika
