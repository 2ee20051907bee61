// Formatting must be idempotent and must not change what the parser reads: the same blocks,
// with the same statements, keys, bodies and nesting.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "syntax/format.hpp"
#include "syntax/parser.hpp"
#include "tree_text.hpp"

namespace ovm::syntax {
namespace {

std::string shape(std::string_view text) {
  ParseOutput tree = parse_source(text, 0);
  std::string out;
  for (const Block& block : tree.blocks) {
    out += std::string(block.keyword()) + " " + std::string(block.name() ? block.name()->text : "-") + "\n";
    for (const Statement& s : block.statements) out += "  " + testing::statement_text(s) + "\n";
  }
  for (const diagnostics::Diagnostic& d : tree.diagnostics) {
    out += std::string(d.code.as_str()) + " " + d.label.value_or("") + "\n";
  }
  return out;
}

// Random model texts: headers, statements of every body form nested to a few levels, comments
// at column 0 and indented, blank lines, and one indentation style per text. Ragged texts
// instead indent each line by its own mix of spaces and tabs, with widths of neighbouring
// levels overlapping, so lines fall between earlier widths and return to none of them.
class ModelTextGenerator {
 public:
  ModelTextGenerator(unsigned seed, bool ragged) : random_(seed), ragged_(ragged) {}

  std::string text() {
    const std::vector<std::string> styles = {"  ", "    ", "\t", "        ", " "};
    unit_ = styles[pick(styles.size())];
    std::string eol = pick(4) == 0 ? "\r\n" : "\n";
    std::string out;
    std::size_t blocks = 1 + pick(4);
    for (std::size_t b = 0; b < blocks; ++b) {
      blank_lines(out, eol);
      out += pick_of({"META", "RESERVOIR Ocean", "PROCESS Reduction", "MODEL", "OUTPUT", "reservoir lake"});
      out += trailing() + eol;
      statements(out, 1, 1 + pick(5), eol);
    }
    blank_lines(out, eol);
    return out;
  }

 private:
  std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  std::string pick_of(std::initializer_list<const char*> options) {
    std::vector<const char*> v(options);
    return v[pick(v.size())];
  }
  std::string trailing() { return pick(3) == 0 ? pick_of({" ", "\t", "  \t "}) : ""; }
  void blank_lines(std::string& out, const std::string& eol) {
    for (std::size_t n = pick(3); n > 0; --n) out += pick_of({"", " ", "\t"}) + eol;
  }
  std::string indent(std::size_t level) {
    std::string out;
    if (ragged_) {
      for (std::size_t width = 3 * level + pick(5) - 2; width > 0; --width) out += pick(3) == 0 ? '\t' : ' ';
      return out;
    }
    for (std::size_t i = 0; i < level; ++i) out += unit_;
    return out;
  }

  void statements(std::string& out, std::size_t level, std::size_t count, const std::string& eol) {
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t roll = pick(12);
      if (roll == 0) {
        out += "# a note at column 0" + eol;
        continue;
      }
      if (roll == 1) {
        out += indent(level + pick(2)) + "# indented note" + eol;
        continue;
      }
      if (roll == 2) blank_lines(out, eol);
      if (roll == 3 && level < 4) {
        out += indent(level) + pick_of({"nest", "group", "Cr(VI)"}) + trailing() + eol;
        statements(out, level + 1, 1 + pick(3), eol);
        continue;
      }
      out += indent(level) +
             pick_of({"volume 1000 L", "k = 2 * x 1/s", "stop time >= 10 d", "list [a, b, 3]",
                      "description \"two  words\"", "delta53Cr -1.5 permil", "rate first_order",
                      "x = min(a, b) ^ 2", "value 25 C", "bad [1 2", "3 cannot start", "y = (1 +"}) +
             trailing() + eol;
    }
  }

  std::mt19937 random_;
  bool ragged_;
  std::string unit_;
};

TEST(FormatPropertyTest, IdempotentAndParsesTheSame) {
  for (bool ragged : {false, true}) {
    for (unsigned seed = 0; seed < 2000; ++seed) {
      std::string text = ModelTextGenerator(seed, ragged).text();
      std::string once = format_source(text);
      ASSERT_EQ(format_source(once), once) << "seed " << seed << " ragged " << ragged << "\n" << text;
      ASSERT_EQ(shape(once), shape(text))
          << "seed " << seed << " ragged " << ragged << "\n--- input ---\n" << text << "--- formatted ---\n" << once;
    }
  }
}

TEST(FormatPropertyTest, HoldsForTheProjectsModelFiles) {
  namespace fs = std::filesystem;
  std::size_t files = 0;
  for (const char* folder : {"examples", "tests/syntax/fixtures", "tests/e2e/cases"}) {
    fs::path root = fs::path(OVM_SOURCE_DIR) / folder;
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file() || entry.path().extension() != ".ovm") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), {});
      std::string once = format_source(text);
      EXPECT_EQ(format_source(once), once) << entry.path();
      EXPECT_EQ(shape(once), shape(text)) << entry.path();
      ++files;
    }
  }
  EXPECT_GT(files, 0u);
}

}  // namespace
}  // namespace ovm::syntax
