// The shared layout and growth rule of the four vector types.
#pragma once

#include <cstdint>
#include <vector>

namespace halvika {

/// Slots 0..capacity-1 with `count` in use. The capacity is always 10 * 2^k: it doubles while the count
/// exceeds it and halves while fewer than half the slots are used, never below 10. At most kMaxCount
/// elements fit (one more doubling would leave the 16-bit range); adding beyond that fails.
/// Reading a slot outside 0..count-1 gives the empty element; writes and removals outside it do nothing.
template <typename T> class VectorStorage {
public:
    static constexpr int kMaxCount = 20480;
    static constexpr int kMinCapacity = 10;

    VectorStorage() : m_items(kMinCapacity) {}

    int numberOfElements() const { return m_count; }
    int capacity() const { return static_cast<int>(m_items.size()); }

    void clear() {
        m_items.assign(kMinCapacity, T());
        m_count = 0;
    }

    /// False (and nothing inserted) when the index is outside 0..count or the vector is full.
    bool insertAt(int index, T value) {
        if (index < 0 || index > m_count || m_count >= kMaxCount) {
            return false;
        }
        resizeFor(m_count + 1);
        for (int i = m_count; i > index; --i) {
            m_items[static_cast<std::size_t>(i)] = std::move(m_items[static_cast<std::size_t>(i - 1)]);
        }
        m_items[static_cast<std::size_t>(index)] = std::move(value);
        ++m_count;
        return true;
    }

    bool append(T value) { return insertAt(m_count, std::move(value)); }

    bool removeAt(int index) {
        if (index < 0 || index >= m_count) {
            return false;
        }
        for (int i = index; i < m_count - 1; ++i) {
            m_items[static_cast<std::size_t>(i)] = std::move(m_items[static_cast<std::size_t>(i + 1)]);
        }
        // Release the slot that falls free (for object vectors this drops the reference).
        m_items[static_cast<std::size_t>(m_count - 1)] = T();
        --m_count;
        resizeFor(m_count);
        return true;
    }

    /// The held items, for range-for without copying each.
    const T* begin() const { return m_items.data(); }
    const T* end() const { return m_items.data() + m_count; }

    T at(int index) const {
        if (index < 0 || index >= m_count) {
            return T();
        }
        return m_items[static_cast<std::size_t>(index)];
    }

    bool setAt(int index, T value) {
        if (index < 0 || index >= m_count) {
            return false;
        }
        m_items[static_cast<std::size_t>(index)] = std::move(value);
        return true;
    }

    void swap(int i, int j) {
        if (i >= 0 && j >= 0 && i < m_count && j < m_count) {
            std::swap(m_items[static_cast<std::size_t>(i)], m_items[static_cast<std::size_t>(j)]);
        }
    }

    void reverse() {
        std::vector<T> items(m_items.begin(), m_items.begin() + m_count);
        m_items.assign(kMinCapacity, T());
        const int n = m_count;
        m_count = 0;
        resizeFor(n);
        for (int i = 0; i < n; ++i) {
            m_items[static_cast<std::size_t>(i)] = std::move(items[static_cast<std::size_t>(n - 1 - i)]);
        }
        m_count = n;
    }

private:
    void resizeFor(int n) {
        std::size_t cap = m_items.size();
        while (static_cast<std::size_t>(n) > cap) {
            cap *= 2;
        }
        while (2 * static_cast<std::size_t>(n) < cap && cap >= 11) {
            cap /= 2;
        }
        m_items.resize(cap);
    }

    std::vector<T> m_items;
    int m_count = 0;
};

} // namespace halvika
