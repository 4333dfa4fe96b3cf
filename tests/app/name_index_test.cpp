#include <string>

#include "app/name_index.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class FinishedFunctions : public CompilerTest {
 protected:
  // The header scanner names function g_function_count + 1 before it is finished.
  static void finish(const std::string& name) {
    g_func_names[g_function_count + 1] = name;
    ++g_function_count;
  }
};

// Entry k bears "n" + k % 13: each name first at entry k % 13 (13 for "n0"), again every 13th.
TEST_F(FinishedFunctions, EachNameGivesItsFirstEntryWhileTheTableGrows) {
  for (std::int32_t count = 0; count <= 60; ++count) {
    SCOPED_TRACE("count " + std::to_string(count));
    for (std::int32_t r = 0; r < 13; ++r) {
      const std::int32_t first = r == 0 ? 13 : r;
      EXPECT_EQ(find_finished_function("n" + std::to_string(r)), first <= count ? first : 0) << r;
    }
    EXPECT_EQ(find_finished_function("missing"), 0);
    g_func_names[count + 1] = "next";  // the function being compiled is not yet one to call
    EXPECT_EQ(find_finished_function("next"), 0);
    finish("n" + std::to_string((count + 1) % 13));
  }
}

TEST_F(FinishedFunctions, ATableRewrittenBelowItsCountIsReadAgain) {
  for (const char* name : {"a", "b", "c"}) finish(name);
  ASSERT_EQ(find_finished_function("b"), 2);

  SCOPED_TRACE("refilled at the same count, the restart noted");
  g_func_names[1] = "x";
  g_func_names[2] = "y";
  g_func_names[3] = "x";
  note_name_tables_restarted();
  EXPECT_EQ(find_finished_function("x"), 1);
  EXPECT_EQ(find_finished_function("y"), 2);
  EXPECT_EQ(find_finished_function("b"), 0);

  SCOPED_TRACE("started again from no function, as a compile does");
  g_function_count = 0;
  EXPECT_EQ(find_finished_function("x"), 0);
  finish("b");
  finish("x");
  EXPECT_EQ(find_finished_function("b"), 1);
  EXPECT_EQ(find_finished_function("x"), 2);
  EXPECT_EQ(find_finished_function("y"), 0);
}

TEST_F(FinishedFunctions, AResetForgetsEveryFunction) {
  for (const char* name : {"a", "b"}) finish(name);
  ASSERT_EQ(find_finished_function("a"), 1);
  init_global_tables();
  for (const char* name : {"b", "c"}) finish(name);
  EXPECT_EQ(find_finished_function("a"), 0);
  EXPECT_EQ(find_finished_function("b"), 1);
  EXPECT_EQ(find_finished_function("c"), 2);
}

}  // namespace
}  // namespace tarvik::test
