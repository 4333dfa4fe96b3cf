#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "isa/isa.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

class FinalChecks : public CompilerTest {
 protected:
  // A finished compile of n words: the start-up words, the placeholder jump to main at
  // words 9 to 12, then filler words; the last function is `name`, entered at `entry`,
  // its RAM ending at `ram_end`.
  void prepare(std::int32_t n, const char* name = "main", std::int32_t entry = 13, std::int32_t ram_end = 0x10018) {
    emit_jump_to(STARTUP_JUMP_TARGET);
    for (int i = 0; i < 5; ++i) emit_nop();
    g_main_jump_word = g_rom_word_count;
    emit_jump_to(0);
    for (std::int32_t i = g_rom_word_count; i < n; ++i) {
      g_rom_high_bytes.push_back(static_cast<char>(i));
      g_rom_low_bytes.push_back(static_cast<char>(i >> 8));
    }
    g_rom_word_count = n;
    g_function_count = 1;
    g_func_names[1] = name;
    g_func_entry[1] = entry;
    g_func_ram_end[1] = ram_end;
    window.replace_log("");
  }

  static std::uintmax_t size_of(const char* file) { return std::filesystem::file_size(file); }
};

TEST_F(FinalChecks, ASmallProgramReportsAndWritesTheFirstChipPairAndTheWholeImage) {
  prepare(13, "main", 13, 0x10020);
  EXPECT_EQ(finish_compilation(window), "编译结束");
  EXPECT_EQ(window.log_text(),
            "正在修改主函数入口跳转指令指向地址13\r\n"
            "ROM使用13字\r\n"
            "RAM使用32字节 系统保留65536字节 总占65568字节\r\n");
  EXPECT_EQ(words_from(9), "35 00 34 00 33 0D 0D FF");
  EXPECT_EQ(files_here(), (std::vector<std::string>{"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U4.bin", "ROM_U8.bin"}));
  EXPECT_EQ(read_file("ROM_H.bin"), g_rom_high_bytes);
  EXPECT_EQ(read_file("ROM_L.bin"), g_rom_low_bytes);
  EXPECT_EQ(read_file("ROM_U4.bin"), g_rom_high_bytes);
  EXPECT_EQ(read_file("ROM_U8.bin"), g_rom_low_bytes);
  EXPECT_EQ(read_file("ROM.bin"), g_rom_low_bytes + g_rom_high_bytes);
}

TEST_F(FinalChecks, ChipFilesHoldTheBlocksThatTheCodeReaches) {
  const struct {
    std::int32_t n;
    std::vector<std::pair<const char*, std::uintmax_t>> chip_sizes;
  } cases[] = {
      {0x40000, {{"ROM_U4.bin", 0x40000}, {"ROM_U8.bin", 0x40000}}},
      {0x40001, {{"ROM_U4.bin", 0x40000}, {"ROM_U8.bin", 0x40000}, {"ROM_U3.bin", 1}, {"ROM_U7.bin", 1}}},
      {0x100001,
       {{"ROM_U4.bin", 0x40000}, {"ROM_U8.bin", 0x40000}, {"ROM_U3.bin", 0x40000}, {"ROM_U7.bin", 0x40000},
        {"ROM_U2.bin", 0x40000}, {"ROM_U6.bin", 0x40000}, {"ROM_U1.bin", 0x40000}, {"ROM_U5.bin", 0x40000}}},
  };
  for (const auto& c : cases) {
    for (const auto& name : files_here()) std::filesystem::remove(name);
    init_global_tables();
    prepare(c.n);
    ASSERT_EQ(finish_compilation(window), "编译结束");
    EXPECT_EQ(files_here().size(), c.chip_sizes.size() + 3) << c.n;
    for (const auto& [file, size] : c.chip_sizes) EXPECT_EQ(size_of(file), size) << file << " of " << c.n;
    EXPECT_EQ(size_of("ROM_H.bin"), static_cast<std::uintmax_t>(c.n));
    EXPECT_EQ(size_of("ROM.bin"), 2u * c.n);
  }
  // The word after 0x40000 opens the second pair; the last word is only in the whole files.
  EXPECT_EQ(read_file("ROM_U3.bin")[0], g_rom_high_bytes[0x40000]);
  EXPECT_EQ(read_file("ROM_U7.bin")[0], g_rom_low_bytes[0x40000]);
  EXPECT_EQ(read_file("ROM_H.bin").back(), g_rom_high_bytes[0x100000]);
}

TEST_F(FinalChecks, FailuresLeaveEarlierFilesAsTheyAre) {
  const struct {
    const char* name;
    std::int32_t n;
    std::int32_t ram_end;
    const char* status;
    const char* log;
  } cases[] = {
      {"f", 13, 0x10020, "main函数什么情况0_o?!)", ""},
      {"Main", 13, 0x10020, "main函数什么情况0_o?!)", ""},
      {"main", 13, 0x400001, "RAM使用超出CPU地址范围_~!RAM爆缸...",
       "正在修改主函数入口跳转指令指向地址13\r\nROM使用13字\r\n"},
      {"main", 13, -1, "RAM使用超出CPU地址范围_~!RAM爆缸...",
       "正在修改主函数入口跳转指令指向地址13\r\nROM使用13字\r\n"},
      {"main", ROM_WORD_LIMIT + 1, 0x10020, "ROM使用超出CPU地址范围_~!ROM爆缸...",
       "正在修改主函数入口跳转指令指向地址13\r\nROM使用16777217字\r\n"},
  };
  put_file("ROM_H.bin", "old");
  for (const auto& c : cases) {
    init_global_tables();
    prepare(13, c.name, 13, c.ram_end);
    g_rom_word_count = c.n;  // the planes need not be that long: nothing is written
    EXPECT_EQ(finish_compilation(window), c.status) << c.name;
    EXPECT_EQ(window.log_text(), c.log) << c.name;
    EXPECT_EQ(files_here(), std::vector<std::string>{"ROM_H.bin"});
    EXPECT_EQ(read_file("ROM_H.bin"), "old");
  }
}

TEST_F(FinalChecks, RamUpToTheLimitIsReported) {
  const struct {
    std::int32_t ram_end;
    const char* line;
  } cases[] = {
      {0x400000, "RAM使用4128768字节 系统保留65536字节 总占4194304字节\r\n"},
      {65531, "RAM使用-5字节 系统保留65536字节 总占65531字节\r\n"},
  };
  for (const auto& c : cases) {
    init_global_tables();
    prepare(13, "main", 13, c.ram_end);
    EXPECT_EQ(finish_compilation(window), "编译结束");
    EXPECT_TRUE(window.log_text().ends_with(c.line)) << window.log_text();
  }
}

TEST_F(FinalChecks, AFileThatCannotBeWrittenEndsTheCompileWithItsName) {
  std::filesystem::create_directory("ROM_U8.bin");
  prepare(13);
  EXPECT_EQ(finish_compilation(window), "写入文件失败:ROM_U8.bin");
  EXPECT_EQ(files_here(), std::vector<std::string>{"ROM_U8.bin"});
}

// An earlier set of the five files of a 13-word image, each with its own bytes.
const std::vector<std::pair<std::string, std::string>> EARLIER_SET = {
    {"ROM.bin", "old whole"}, {"ROM_H.bin", "old high"}, {"ROM_L.bin", "old low"},
    {"ROM_U4.bin", "old U4"},  {"ROM_U8.bin", "old U8"},
};

TEST_F(FinalChecks, AFailedWriteKeepsTheEarlierSetWholeAndLeavesNoTemporary) {
  // A folder where a file (or its temporary) must go; the first, a middle and the last file.
  const struct {
    const char* folder;
    const char* failed;
  } cases[] = {
      {"ROM_U4.bin", "ROM_U4.bin"},
      {"ROM_L.bin", "ROM_L.bin"},
      {"ROM.bin", "ROM.bin"},
      {"ROM_H.bin.tmp", "ROM_H.bin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    for (const auto& name : files_here()) std::filesystem::remove_all(name);
    std::vector<std::string> expected_files;
    for (const auto& [name, bytes] : EARLIER_SET) {
      if (name != c.folder) put_file(name, bytes);
      expected_files.push_back(name);
    }
    std::filesystem::create_directory(c.folder);
    put_file("ROM_U3.bin", "old U3");  // a block that this image does not reach
    expected_files.push_back("ROM_U3.bin");
    if (!std::ranges::count(expected_files, c.folder)) expected_files.push_back(c.folder);
    std::ranges::sort(expected_files);
    init_global_tables();
    prepare(13);

    EXPECT_EQ(finish_compilation(window), Text(MSG_WRITE_FAILED) + c.failed);
    EXPECT_EQ(files_here(), expected_files);
    for (const auto& [name, bytes] : EARLIER_SET) {
      if (name != c.folder) {
        EXPECT_EQ(read_file(name), bytes) << name;
      }
    }
    EXPECT_EQ(read_file("ROM_U3.bin"), "old U3");
    EXPECT_TRUE(std::filesystem::is_directory(c.folder));
  }
}

TEST_F(FinalChecks, ASuccessfulWriteReplacesTheWholeSet) {
  for (const auto& [name, bytes] : EARLIER_SET) put_file(name, bytes);
  put_file("ROM_U3.bin", "old U3");
  put_file("ROM_H.bin.tmp", "left from an earlier run");
  prepare(13);
  ASSERT_EQ(finish_compilation(window), "编译结束");
  EXPECT_EQ(files_here(),
            (std::vector<std::string>{"ROM.bin", "ROM_H.bin", "ROM_L.bin", "ROM_U3.bin", "ROM_U4.bin", "ROM_U8.bin"}));
  EXPECT_EQ(read_file("ROM_U4.bin"), g_rom_high_bytes);
  EXPECT_EQ(read_file("ROM_U8.bin"), g_rom_low_bytes);
  EXPECT_EQ(read_file("ROM_H.bin"), g_rom_high_bytes);
  EXPECT_EQ(read_file("ROM_L.bin"), g_rom_low_bytes);
  EXPECT_EQ(read_file("ROM.bin"), g_rom_low_bytes + g_rom_high_bytes);
  // A chip file of a block that the image does not reach is no part of its set.
  EXPECT_EQ(read_file("ROM_U3.bin"), "old U3");
}

}  // namespace
}  // namespace tarvik::test
