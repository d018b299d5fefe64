// Block storage for the nodes of one parsed document.
#include "xml/NodeArena.h"

#include "xml/XMLNode.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace halvika {

std::shared_ptr<NodeArena> NodeArena::create(std::size_t expectedBytes) {
    constexpr std::size_t smallest = 256;
    return std::shared_ptr<NodeArena>(new NodeArena(std::clamp(expectedBytes, smallest, kBlockSize)));
}

NodeArena::~NodeArena() {
    for (XMLNode* node : m_holders) {
        node->~XMLNode();
    }
    for (void* block : m_blocks) {
        std::free(block);
    }
}

XMLNode* NodeArena::newNode(std::string_view name) {
    return new (allocate(sizeof(XMLNode), alignof(XMLNode))) XMLNode(name, this);
}

void* NodeArena::newBlock(std::size_t bytes) {
    m_blocks.reserve(m_blocks.size() + 1);
    m_reservedBytes += bytes;
    void* block = std::malloc(bytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    m_blocks.push_back(block);
    return block;
}

void* NodeArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    // A large request (a long child list) gets a block of its own, so it does not waste a shared block.
    if (bytes > kBlockSize / 4) {
        return newBlock(bytes);
    }
    auto padding = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_next) & (alignment - 1));
    if (m_next == nullptr || padding + bytes > m_left) {
        const std::size_t size = std::max(m_nextBlockSize, bytes);
        m_next = static_cast<char*>(newBlock(size));
        m_left = size;
        // Doubling: a small document that outgrows its first block must not take a whole block for a few
        // more nodes, and a large one soon gets full blocks.
        m_nextBlockSize = std::min(2 * size, kBlockSize);
        padding = 0;
    }
    void* result = m_next + padding;
    m_next += padding + bytes;
    m_left -= padding + bytes;
    return result;
}

} // namespace halvika
