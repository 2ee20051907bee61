#include "sema/edit_distance.hpp"

#include <algorithm>
#include <numeric>
#include <vector>

#include "sema/utf8_scalars.hpp"

namespace ovm::sema {

std::uint32_t edit_distance(std::u32string_view a, std::u32string_view b, std::uint32_t limit) {
  std::size_t n = a.size();
  std::size_t m = b.size();
  std::size_t gap = n > m ? n - m : m - n;
  if (gap > limit) return limit + 1;

  std::vector<std::uint32_t> previous(m + 1);
  std::iota(previous.begin(), previous.end(), 0u);
  if (n == 0) return previous[m];

  std::vector<std::uint32_t> row(m + 1);
  for (std::size_t i = 1; i <= n; ++i) {
    row[0] = static_cast<std::uint32_t>(i);
    std::uint32_t least = row[0];
    for (std::size_t j = 1; j <= m; ++j) {
      std::uint32_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0u : 1u);
      row[j] = std::min({previous[j] + 1, substitution, row[j - 1] + 1});
      least = std::min(least, row[j]);
    }
    // No cell of this row can lead back within the limit: the counts never decrease downwards.
    if (least > limit) return limit + 1;
    std::swap(previous, row);
  }
  return previous[m];
}

std::uint32_t edit_distance(std::string_view a, std::string_view b, std::uint32_t limit) {
  return edit_distance(std::u32string_view(utf8_scalars(a)), std::u32string_view(utf8_scalars(b)), limit);
}

}  // namespace ovm::sema
