// Block storage for the nodes of one parsed document.
#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <string_view>
#include <vector>

namespace halvika {

class XMLNode;

/// The nodes made by one parse, with their names, values and child lists, are carved out of fixed-size heap
/// blocks instead of one heap allocation each, and a node here has no reference count of its own: the
/// document is held as a whole (by the node parsed into, and by every node of it handed out). When the last
/// holder goes the blocks are freed without visiting the nodes, apart from the few that hold something
/// outside the arena (a node added in code), whose destructors run first. Freeing a piece is a no-op.
class NodeArena : public std::pmr::memory_resource, public std::enable_shared_from_this<NodeArena> {
public:
    /// Below the C library's mmap threshold, so freed blocks go back to the heap for the next parse.
    static constexpr std::size_t kBlockSize = 64 * 1024;

    /// `expectedBytes` sizes the first block: a small document (a setting, a template) then takes a few
    /// hundred bytes instead of a whole block for as long as it is held.
    static std::shared_ptr<NodeArena> create(std::size_t expectedBytes = kBlockSize);

    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    ~NodeArena() override;

    /// A node living here until the arena goes; its name, value and child list take their storage from here.
    XMLNode* newNode(std::string_view name);
    /// The node, one of this arena's, now holds something outside it and must be destroyed with it.
    void noteHolder(XMLNode* node) { m_holders.push_back(node); }
    /// What the blocks taken so far add up to.
    std::size_t reservedBytes() const { return m_reservedBytes; }

protected:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

private:
    explicit NodeArena(std::size_t firstBlockSize) : m_nextBlockSize(firstBlockSize) {}
    /// A fresh block, listed before it is handed out so that it is freed with the arena whatever happens.
    void* newBlock(std::size_t bytes);

    std::vector<void*> m_blocks;
    char* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_nextBlockSize;
    std::size_t m_reservedBytes = 0;
    std::vector<XMLNode*> m_holders;
};

} // namespace halvika
