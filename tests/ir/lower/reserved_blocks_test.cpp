#include "ir/lower/reserved_blocks.hpp"

#include <gtest/gtest.h>

#include "syntax/parser.hpp"

namespace ovm::ir {
namespace {

TEST(ReservedBlockNotesTest, WarnsOnlyUnderTheProfileOfTheKind) {
  std::string text = "RESERVOIR Ocean\n    volume 1 L\n\nsolution S1\n    x 1\n\nNOSUCH\n";
  syntax::ParseOutput tree = syntax::parse_source(text, 0);

  auto reserved = collect_reserved_blocks(tree.blocks);
  ASSERT_EQ(reserved.size(), 1u);
  EXPECT_EQ(reserved[0].keyword, "SOLUTION");
  EXPECT_EQ(text.substr(reserved[0].keyword_span.start, reserved[0].keyword_span.end - reserved[0].keyword_span.start),
            "solution");

  diagnostics::Diagnostics notes = reserved_block_notes(tree.blocks, sema::Profile::Extended);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].code, diagnostics::DiagnosticCode(diagnostics::DiagnosticCode::OV011));
  EXPECT_FALSE(notes[0].is_error());
  EXPECT_EQ(notes[0].span, reserved[0].keyword_span);
  EXPECT_EQ(notes[0].label, "`SOLUTION` is a reserved name whose statements are not specified yet");
  EXPECT_EQ(notes[0].help, "nothing inside it is checked, and nothing reads it");
  EXPECT_TRUE(notes[0].notes.empty());

  EXPECT_TRUE(reserved_block_notes(tree.blocks, sema::Profile::Core).empty());
  EXPECT_TRUE(reserved_block_notes(tree.blocks, sema::Profile::Identification).empty());
}

TEST(ReservedBlockNotesTest, OneNotePerBlockInOrder) {
  std::string text = "INITIAL\n    a 1\n\nSOLUTION A\n    b 2\n\nInitial\n    c 3\n";
  syntax::ParseOutput tree = syntax::parse_source(text, 0);
  diagnostics::Diagnostics notes = reserved_block_notes(tree.blocks, sema::Profile::Extended);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0].label, "`INITIAL` is a reserved name whose statements are not specified yet");
  EXPECT_EQ(notes[1].label, "`SOLUTION` is a reserved name whose statements are not specified yet");
  EXPECT_EQ(notes[2].label, "`INITIAL` is a reserved name whose statements are not specified yet");
  EXPECT_LT(notes[0].span.start, notes[1].span.start);
  EXPECT_LT(notes[1].span.start, notes[2].span.start);
}

}  // namespace
}  // namespace ovm::ir
