#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class JumpPatching : public CompilerTest {
 protected:
  // An image of `count` words holding placeholder jumps at the given words and NOPs elsewhere.
  void image_with_jumps_at(std::int32_t count, std::initializer_list<std::int32_t> jumps) {
    for (std::int32_t word : jumps) {
      while (g_rom_word_count < word) emit_nop();
      emit_jump_to(0);
    }
    while (g_rom_word_count < count) emit_nop();
  }
};

TEST_F(JumpPatching, EveryEntryGetsTheTargetInItsPrefixOperands) {
  image_with_jumps_at(300, {7, 0x120});
  const JumpList list("\x07\x00\x00\x20\x01\x00", 6);
  patch_jump_list(list, 0x01FFFE);

  EXPECT_EQ(words_from(7).substr(0, 23), "35 01 34 FF 33 FE 0D FF");
  EXPECT_EQ(words_from(288).substr(0, 23), "35 01 34 FF 33 FE 0D FF");
  EXPECT_EQ(list.size(), 6u);  // the list keeps its entries
  EXPECT_EQ(g_rom_word_count, 300);
}

TEST_F(JumpPatching, PatchingAgainWritesTheNewerTarget) {
  image_with_jumps_at(8, {0, 4});
  const JumpList list("\x00\x00\x00\x04\x00\x00\x04\x00\x00", 9);
  patch_jump_list(list, 5);
  patch_jump_list(list, 0x1000203);  // bits 24 to 31 dropped
  EXPECT_EQ(words(), "35 00 34 02 33 03 0D FF 35 00 34 02 33 03 0D FF");
}

TEST_F(JumpPatching, ConditionalJumpsKeepTheirJumpWord) {
  emit_jump_if_a_ne_b(0);
  patch_jump_target(0, 9);
  EXPECT_EQ(words(), "35 00 34 00 33 09 0B 9F");
}

TEST_F(JumpPatching, NothingOutsideTheImageIsWritten) {
  image_with_jumps_at(6, {0});
  const std::string before = words();

  patch_jump_list(JumpList(), 9);                           // empty list
  patch_jump_list(JumpList("\x00\x00", 2), 9);              // a partial entry is ignored
  patch_jump_list(JumpList("\x04\x00\x00", 3), 9);          // words 4 to 6: past the end
  patch_jump_list(JumpList("\xFF\xFF\xFF", 3), 9);          // a stale list from a larger image
  patch_jump_target(-1, 9);
  patch_jump_target(0x7FFFFFFF, 9);

  EXPECT_EQ(words(), before);
  EXPECT_EQ(g_rom_low_bytes.size(), 6u);
}

}  // namespace
}  // namespace tarvik::test
