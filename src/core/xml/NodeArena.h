// Block storage for the nodes of one parsed document.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

namespace halvika {

/// Nodes and child lists made by one parse are carved out of fixed-size heap blocks instead of one heap
/// allocation each; freeing a piece is a no-op. Every node made here holds a reference to the arena through
/// its allocator, so the blocks go when the last node of the document goes, whichever tree it was moved
/// into. The count is not atomic: like the tree itself, a document's nodes are used from one thread at a
/// time.
class NodeArena : public std::pmr::memory_resource {
public:
    /// Below the C library's mmap threshold, so freed blocks go back to the heap for the next parse.
    static constexpr std::size_t kBlockSize = 64 * 1024;

    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    template <typename T> class Allocator {
    public:
        using value_type = T;

        /// A new arena, held by this allocator.
        Allocator() : m_arena(new NodeArena()) { m_arena->m_references = 1; }
        Allocator(const Allocator& other) noexcept : m_arena(other.m_arena) { ++m_arena->m_references; }
        template <typename U> Allocator(const Allocator<U>& other) noexcept : m_arena(other.arena()) {
            ++m_arena->m_references;
        }
        Allocator& operator=(const Allocator& other) noexcept {
            Allocator copy(other);
            std::swap(m_arena, copy.m_arena);
            return *this;
        }
        ~Allocator() {
            if (--m_arena->m_references == 0) {
                delete m_arena;
            }
        }

        T* allocate(std::size_t n) { return static_cast<T*>(m_arena->allocate(n * sizeof(T), alignof(T))); }
        void deallocate(T*, std::size_t) noexcept {}
        NodeArena* arena() const { return m_arena; }

        template <typename U> bool operator==(const Allocator<U>& other) const { return m_arena == other.arena(); }

    private:
        NodeArena* m_arena;
    };

protected:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

private:
    NodeArena() = default;
    ~NodeArena() override;

    std::size_t m_references = 0;
    std::vector<void*> m_blocks;
    char* m_next = nullptr;
    std::size_t m_left = 0;
};

} // namespace halvika
