#include "syntax/arena.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ovm::syntax {
namespace {

// Told of a large tree or not, the arena hands out the same kind of room.
class ArenaExpectTest : public testing::TestWithParam<std::size_t> {};

TEST_P(ArenaExpectTest, AllocationsAreAlignedAndDoNotOverlap) {
  Arena arena;
  arena.expect(GetParam());
  std::vector<std::pair<unsigned char*, std::size_t>> pieces;
  for (std::size_t i = 0; i < 20000; ++i) {
    std::size_t bytes = 1 + i % 97;
    std::size_t alignment = std::size_t{1} << (i % 5);  // 1 to 16
    auto* piece = static_cast<unsigned char*>(arena.allocate(bytes, alignment));
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(piece) % alignment, 0u);
    std::memset(piece, static_cast<int>(i % 251), bytes);
    pieces.emplace_back(piece, bytes);
  }
  // A request larger than any block.
  auto* large = static_cast<unsigned char*>(arena.allocate(std::size_t{3} << 20, 8));
  std::memset(large, 0xAB, std::size_t{3} << 20);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    for (std::size_t k = 0; k < pieces[i].second; ++k) ASSERT_EQ(pieces[i].first[k], i % 251) << i;
  }
  EXPECT_EQ(large[(std::size_t{3} << 20) - 1], 0xAB);
}

INSTANTIATE_TEST_SUITE_P(ExpectedBytes, ArenaExpectTest, testing::Values(0, 100, 40000, std::size_t{10} << 20));

// A request can outgrow the next block while the blocks are still small: the first block of a
// file that lists hundreds of statements is taken whole before the arena has grown.
TEST(ArenaTest, ARequestLargerThanTheNextBlockGetsRoomForAllOfIt) {
  const std::size_t sizes[] = {20000, 40000, 100000, 300000, std::size_t{3} << 19, std::size_t{5} << 20};
  for (std::size_t size : sizes) {
    Arena arena;
    auto* first = static_cast<unsigned char*>(arena.allocate(16, 8));
    std::memset(first, 0x11, 16);
    auto* large = static_cast<unsigned char*>(arena.allocate(size, 8));
    std::memset(large, 0x5A, size);
    // What comes after must not land on the large piece.
    std::vector<unsigned char*> after;
    for (int i = 0; i < 2000; ++i) {
      after.push_back(static_cast<unsigned char*>(arena.allocate(1000, 8)));
      std::memset(after.back(), 0x77, 1000);
    }
    for (std::size_t k = 0; k < size; ++k) ASSERT_EQ(large[k], 0x5A) << size << " at " << k;
    for (unsigned char* piece : after) ASSERT_EQ(piece[999], 0x77) << size;
    EXPECT_EQ(first[15], 0x11) << size;
  }
}

TEST(ArenaTest, TakenListsAndCopiesSurviveAMoveOfTheArena) {
  Arena arena;
  std::vector<int> items = {3, 1, 4, 1, 5};
  std::span<const int> taken = arena.take(items);
  EXPECT_TRUE(items.empty());
  std::string text = "mol/kgw";
  std::string_view copied = arena.copy(text);
  text.assign(text.size(), 'x');
  const double* one = arena.make(1.5);

  Arena moved = std::move(arena);
  EXPECT_EQ(std::vector<int>(taken.begin(), taken.end()), (std::vector<int>{3, 1, 4, 1, 5}));
  EXPECT_EQ(copied, "mol/kgw");
  EXPECT_EQ(*one, 1.5);
  EXPECT_TRUE(moved.take(items).empty());
}

}  // namespace
}  // namespace ovm::syntax
