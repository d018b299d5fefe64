// Block storage for the nodes of one parsed document.
#include "xml/NodeArena.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace halvika {

NodeArena::~NodeArena() {
    for (void* block : m_blocks) {
        std::free(block);
    }
}

void* NodeArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    // A large request (a long child list) gets a block of its own, so it does not waste a shared block.
    if (bytes > kBlockSize / 4) {
        void* own = std::malloc(bytes);
        if (own == nullptr) {
            throw std::bad_alloc();
        }
        m_blocks.push_back(own);
        return own;
    }
    auto padding = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_next) & (alignment - 1));
    if (m_next == nullptr || padding + bytes > m_left) {
        void* block = std::malloc(kBlockSize);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        m_blocks.push_back(block);
        m_next = static_cast<char*>(block);
        m_left = kBlockSize;
        padding = 0;
    }
    void* result = m_next + padding;
    m_next += padding + bytes;
    m_left -= padding + bytes;
    return result;
}

} // namespace halvika
