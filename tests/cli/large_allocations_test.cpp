#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t huge_page = std::size_t{2} << 20;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool replaced = false;
#else
constexpr bool replaced = true;
#endif

std::string read_file(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The "THPeligible" value of the mapping that holds `address`, or -1 when /proc/self/smaps
// does not say.
int huge_page_eligible(const void* address) {
  auto at = reinterpret_cast<std::uintptr_t>(address);
  std::istringstream smaps(read_file("/proc/self/smaps"));
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::size_t dash = line.find('-');
    std::size_t space = line.find(' ');
    if (dash != std::string::npos && space != std::string::npos && dash < space &&
        line.find_first_not_of("0123456789abcdef") == dash) {
      std::uintptr_t start = std::stoull(line.substr(0, dash), nullptr, 16);
      std::uintptr_t end = std::stoull(line.substr(dash + 1, space - dash - 1), nullptr, 16);
      inside = start <= at && at < end;
      continue;
    }
    if (inside && line.rfind("THPeligible:", 0) == 0) return std::stoi(line.substr(12));
  }
  return -1;
}

TEST(LargeAllocationsTest, BlocksOfEverySizeHoldWhatIsWrittenUntilFreed) {
  const std::size_t sizes[] = {0, 1, 100, 4096, huge_page - 1, huge_page, huge_page + 1, 3 * huge_page + 5};
  std::vector<std::unique_ptr<unsigned char[]>> blocks;
  for (std::size_t size : sizes) {
    blocks.push_back(std::make_unique<unsigned char[]>(size));
    for (std::size_t i = 0; i < size; ++i) blocks.back()[i] = static_cast<unsigned char>(i * 7 + size);
  }
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    for (std::size_t i = 0; i < sizes[b]; ++i) {
      ASSERT_EQ(blocks[b][i], static_cast<unsigned char>(i * 7 + sizes[b])) << "block of " << sizes[b] << " at " << i;
    }
  }
  // A vector growing past a huge page moves between small and large blocks.
  std::vector<std::uint64_t> grown;
  for (std::uint64_t i = 0; i < huge_page; ++i) grown.push_back(i);
  for (std::uint64_t i = 0; i < huge_page; i += 4093) ASSERT_EQ(grown[i], i);
}

TEST(LargeAllocationsTest, ALargeBlockStartsAHugePageAndIsMarkedForHugePages) {
  if (!replaced) GTEST_SKIP() << "sanitizer builds keep their own operator new";
  auto block = std::make_unique<unsigned char[]>(3 * huge_page + 5);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % huge_page, 0u);

  std::string mode = read_file("/sys/kernel/mm/transparent_hugepage/enabled");
  if (mode.empty() || mode.find("[never]") != std::string::npos) GTEST_SKIP() << "no transparent huge pages here";
  int eligible = huge_page_eligible(block.get());
  if (eligible < 0) GTEST_SKIP() << "/proc/self/smaps does not tell";
  EXPECT_EQ(eligible, 1);
}

}  // namespace
