#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextCursor>

#include "app/qt_window.h"
#include "support/support.h"

namespace tarvik::test {
namespace {

// Test sources hold GBK narrow literals, so Unicode texts are written as u"".
QString qs(std::u16string_view text) { return QString::fromStdU16String(std::u16string(text)); }

class CompilerWindow : public CompilerTest {
 protected:
  void click(Control control) { ui.button(control)->click(); }
  std::vector<ByteArray> listed() const {
    std::vector<ByteArray> names;
    for (int i = 0; i < ui.file_list()->count(); ++i) names.push_back(ui.item_text(i));
    return names;
  }
  QString shown_log() const { return ui.log()->toPlainText(); }

  QtWindow ui;
};

TEST_F(CompilerWindow, HasItsTitleCaptionsAndColours) {
  EXPECT_EQ(ui.windowTitle(), qs(u"Tarvik编译器 V1.4"));
  EXPECT_EQ(ui.button(Control::open_button)->text(), qs(u"打开"));
  EXPECT_EQ(ui.button(Control::save_button)->text(), qs(u"保存"));
  EXPECT_EQ(ui.button(Control::compile_button)->text(), qs(u"编译"));
  EXPECT_EQ(ui.button(Control::compile_button)->geometry(), QRect(80, 0, 48, 16));

  layout_controls(ui);
  EXPECT_EQ(ui.file_list()->palette().color(QPalette::Text), QColor(231, 252, 9));
  EXPECT_EQ(ui.editor()->palette().color(QPalette::Base), QColor(0, 0, 0));
  EXPECT_EQ(ui.log()->palette().color(QPalette::Base), QColor(197, 208, 172));
}

TEST_F(CompilerWindow, LaysOutItsControlsToFillTheClientArea) {
  ui.resize(810, 562);
  ui.show();
  EXPECT_EQ(ui.outer_width(), 826);
  EXPECT_EQ(ui.outer_height(), 601);
  EXPECT_EQ(ui.file_list()->geometry(), QRect(2, 16, 128, 434));
  EXPECT_EQ(ui.editor()->geometry(), QRect(130, 16, 680, 451));
  EXPECT_EQ(ui.log()->geometry(), QRect(0, 466, 810, 96));

  ui.resize(1000, 700);
  EXPECT_EQ(ui.log()->geometry(), QRect(0, 604, 1000, 96));
}

TEST_F(CompilerWindow, OpenListsMainAndTheFilesItIncludesDepthFirst) {
  put_file("main.c", "// project\r\n#include <a.h>\r\n#define N 10\r\n#include <b.h>\r\nint x;\r\n#include <late.h>\r\n");
  put_file("a.h", "#include <c.h>\r\n");
  click(Control::open_button);
  EXPECT_EQ(listed(), (std::vector<ByteArray>{"main.c", "a.h", "c.h", "b.h"}));
  EXPECT_EQ(ui.current_item(), 0);
  EXPECT_EQ(ui.editor_text(), read_file("main.c"));
}

TEST_F(CompilerWindow, TheHeadOfAFileEndsAtItsFirstNonDirective) {
  const struct {
    const char* main_c;
    std::vector<ByteArray> listed;
  } cases[] = {
      {"int x;\r\n#include <a.h>", {"main.c"}},
      {"#include <d/x.h>\r\n#include <a.h>", {"main.c"}},
      {"#include \"a.h\"\r\n#include <b.h>", {"main.c"}},
      {"#define M -1\r\n#include <a.h>", {"main.c"}},
      {"#define M (1)\r\n#include <a.h>", {"main.c"}},
      {"#pragma once\r\n#include <a.h>", {"main.c"}},
      {"# include < a.h > /* c */ #include<b.h>", {"main.c", "a.h", "b.h"}},
      {"#define N\r\n#include <a.h>", {"main.c"}},  // no value: "#" cannot start one
      {"#define DEBUG\r\nint a;\r\n#include <a.h>", {"main.c"}},  // DEBUG takes "int" as its value
  };
  for (const auto& c : cases) {
    put_file("main.c", c.main_c);
    click(Control::open_button);
    EXPECT_EQ(listed(), c.listed) << c.main_c;
  }
}

TEST_F(CompilerWindow, AFileIncludedTwiceIsListedTwiceAndACycleIsNotFollowed) {
  put_file("main.c", "#include <a.h>\r\n#include <b.h>\r\n");
  put_file("a.h", "#include <c.h>\r\n");
  put_file("b.h", "#include <a.h>\r\n#include <main.c>\r\n#include <b.h>\r\n");
  click(Control::open_button);
  EXPECT_EQ(listed(), (std::vector<ByteArray>{"main.c", "a.h", "c.h", "b.h", "a.h", "c.h", "main.c", "b.h"}));
}

TEST_F(CompilerWindow, IncludedFileNamesAreGbk) {
  put_file("main.c", "#include <中文.h>\r\n");
  ASSERT_TRUE(write_file("中文.h", "#include <b.h>\r\n"));  // written under its UTF-8 name
  click(Control::open_button);
  EXPECT_EQ(listed(), (std::vector<ByteArray>{"main.c", "中文.h", "b.h"}));
  EXPECT_EQ(ui.file_list()->item(1)->text(), qs(u"中文.h"));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(u8"中文.h")));
}

TEST_F(CompilerWindow, AMissingMainListsItAloneWithAnEmptyEditor) {
  ui.set_editor_text("old");
  click(Control::open_button);
  EXPECT_EQ(listed(), std::vector<ByteArray>{"main.c"});
  EXPECT_EQ(ui.editor_text(), "");
}

TEST_F(CompilerWindow, APersonsChoiceLoadsTheFileAndSaveAndCompileWriteIt) {
  put_file("main.c", "#include <a.h>\r\nint x;\r\n");
  put_file("a.h", "// a\r\n");
  QSignalSpy loads(ui.editor(), &QPlainTextEdit::textChanged);
  click(Control::open_button);
  const auto loads_by_open = loads.count();

  ui.file_list()->setCurrentRow(1);  // as a person's click does
  EXPECT_EQ(loads.count(), 2 * loads_by_open);  // open loaded main.c once, the choice loaded a.h once
  EXPECT_EQ(ui.editor_text(), "// a\r\n");

  QTextCursor cursor(ui.editor()->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(qs(u"int 变量;\n"));
  click(Control::save_button);
  EXPECT_EQ(read_file("a.h"), "// a\r\nint 变量;\r\n");

  cursor.insertText("x");
  click(Control::compile_button);
  EXPECT_EQ(read_file("a.h"), "// a\r\nint 变量;\r\nx");
  EXPECT_EQ(read_file("main.c"), "#include <a.h>\r\nint x;\r\n");
  EXPECT_TRUE(shown_log().startsWith(qs(u"开始编译\n"))) << shown_log().toStdString();
}

TEST_F(CompilerWindow, OpenThenCompileWritesTheRomFilesAndShowsTheLog) {
  put_file("main.c", "#include <io.h>\r\nvoid main() { char c = PORT; }\r\n");
  put_file("io.h", "#define PORT 7\r\n");
  click(Control::open_button);
  click(Control::compile_button);
  EXPECT_EQ(shown_log(), qs(u"开始编译\n正在编译main函数...OK\n正在修改主函数入口跳转指令指向地址13\nROM使用18字\n"
                            u"RAM使用25字节 系统保留65536字节 总占65561字节\n编译结束\n"));
  EXPECT_EQ(hex(read_file("ROM_L.bin")), "00 00 09 FF C0 80 FF FF FF 00 00 0D FF 01 00 18 FF 07");
}

// Each function's line is finished in place in the shown log, never by showing the log again.
TEST_F(CompilerWindow, TheShownLogIsTheCompilersLogAfterEveryCompile) {
  put_file("main.c", "void a() {} int b(int x) { a(); return x; } /* 注释 */ void c() { b(1); } void main() { c(); }");
  click(Control::open_button);
  for (int compile = 1; compile <= 2; ++compile) {
    click(Control::compile_button);
    ASSERT_TRUE(ui.log_text().ends_with("编译结束\r\n")) << compile;
    EXPECT_TRUE(ui.log_text().starts_with(
        "开始编译\r\n正在编译a函数...OK\r\n正在编译b函数...OK\r\n正在编译c函数...OK\r\n正在编译main函数...OK\r\n"))
        << compile;
    EXPECT_EQ(shown_log(), QString::fromStdU16String(gbk_to_unicode(ui.log_text()))) << compile;
  }
}

TEST_F(CompilerWindow, AnEditOfTheLogsEndShowsInPlace) {
  const struct {
    const char* log;
    std::size_t dropped;
    const char* appended;
    std::u16string_view shown;
  } cases[] = {
      {"开始编译\r\n正在编译f函数...\r\n", 2, "OK\r\n", u"开始编译\n正在编译f函数...OK\n"},
      {"a\r\n\r\n", 2, "b", u"a\nb"},
      {"编译", 0, "\r\n", u"编译\n"},
      {"", 2, "OK\r\n", u"OK\n"},
  };
  for (const auto& c : cases) {
    ui.replace_log(c.log);
    ui.replace_log_end(c.dropped, c.appended);
    EXPECT_EQ(shown_log(), qs(c.shown)) << c.log;
  }
}

TEST_F(CompilerWindow, WithNoItemSelectedSaveDoesNothingAndCompileStopsAtOnce) {
  ui.set_editor_text("int x;");
  click(Control::save_button);
  click(Control::compile_button);
  EXPECT_EQ(shown_log(), qs(u"开始编译\n文本结束\n"));
  EXPECT_EQ(ui.log_text(), "开始编译\r\n文本结束\r\n");
  EXPECT_TRUE(files_here().empty());
}

TEST_F(CompilerWindow, OpenThenSaveGivesBackEveryByte) {
  const ByteArray awkward("int a;\r\n// \xD6\xD0\xCE\xC4 \x80\x81\n\r\0tail\xFF", 26);
  put_file("main.c", awkward);
  click(Control::open_button);
  click(Control::save_button);
  EXPECT_EQ(hex(read_file("main.c")), hex(awkward));

  QTextCursor cursor(ui.editor()->document());
  cursor.setPosition(4);
  cursor.insertText("b");
  click(Control::save_button);
  EXPECT_EQ(hex(read_file("main.c")), hex(ByteArray("int ba;\r\n// \xD6\xD0\xCE\xC4 \x80\x81\n\r\0tail\xFF", 27)));
}

TEST_F(CompilerWindow, ASaveThatFailsIsReportedInTheLog) {
  std::filesystem::create_directory("main.c");
  click(Control::open_button);
  click(Control::save_button);
  EXPECT_EQ(ui.log_text(), "写入文件失败:main.c\r\n");
  EXPECT_EQ(shown_log(), qs(u"写入文件失败:main.c\n"));
}

}  // namespace
}  // namespace tarvik::test
