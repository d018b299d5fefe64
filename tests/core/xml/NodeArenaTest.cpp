#include "xml/NodeArena.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace halvika {
namespace {

TEST(NodeArena, ASmallDocumentThatOutgrowsItsFirstBlockTakesLittleMoreAndALargeOneFullBlocks) {
    // A list layout held for the whole run: a few dozen nodes, more than its first guess.
    auto small = NodeArena::create(300);
    for (int i = 0; i < 40; ++i) {
        EXPECT_NE(small->allocate(144, 8), nullptr);
    }
    EXPECT_GE(small->reservedBytes(), 40u * 144u);
    EXPECT_LT(small->reservedBytes(), 16u * 1024u);

    auto large = NodeArena::create(300);
    char* previous = nullptr;
    for (int i = 0; i < 20000; ++i) {
        auto* piece = static_cast<char*>(large->allocate(100, 8));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % 8, 0u);
        EXPECT_NE(piece, previous);
        previous = piece;
    }
    // Doubling up to full blocks wastes at most about a block and the growing steps.
    EXPECT_LT(large->reservedBytes(), 20000u * 100u + 3 * NodeArena::kBlockSize);

    // A long child list takes a block of its own and leaves the shared block as it was.
    const std::size_t before = large->reservedBytes();
    EXPECT_NE(large->allocate(NodeArena::kBlockSize, 8), nullptr);
    EXPECT_EQ(large->reservedBytes(), before + NodeArena::kBlockSize);
}

} // namespace
} // namespace halvika
