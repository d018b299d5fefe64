// Block storage for the nodes of one parsed document.
#include "xml/NodeArena.h"

#include "xml/XMLNode.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace halvika {

namespace {

void* allocateBlock(std::size_t bytes) {
    void* block = std::malloc(bytes);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

} // namespace

std::shared_ptr<NodeArena> NodeArena::create() {
    return std::make_shared<NodeArena>(Token{});
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

void* NodeArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    m_blocks.reserve(m_blocks.size() + 1);
    // A large request (a long child list) gets a block of its own, so it does not waste a shared block.
    if (bytes > kBlockSize / 4) {
        m_blocks.push_back(allocateBlock(bytes));
        return m_blocks.back();
    }
    auto padding = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(m_next) & (alignment - 1));
    if (m_next == nullptr || padding + bytes > m_left) {
        m_blocks.push_back(allocateBlock(kBlockSize));
        m_next = static_cast<char*>(m_blocks.back());
        m_left = kBlockSize;
        padding = 0;
    }
    void* result = m_next + padding;
    m_next += padding + bytes;
    m_left -= padding + bytes;
    return result;
}

} // namespace halvika
