// The compiler's window in Qt widgets: a thin layer that shows what the core holds and
// passes the window's events to the core's handlers.
#pragma once

#include <QWidget>

#include <vector>

#include "app/app.h"
#include "app/gbk.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tarvik {

class QtWindow : public QWidget, public Window {
 public:
  QtWindow();

  QListWidget* file_list() const { return file_list_; }
  QPlainTextEdit* editor() const { return editor_; }
  QPlainTextEdit* log() const { return log_; }
  QPushButton* button(Control control) const;

  int current_item() const override;
  ByteArray item_text(int index) const override;
  void clear_items() override;
  void add_item(const ByteArray& name) override;
  void set_current_item(int index) override;
  ByteArray editor_text() const override;
  void set_editor_text(const ByteArray& text) override;
  int outer_width() const override;
  int outer_height() const override;
  void place(Control control, const Rect& rect) override;
  void set_text_colour(Control control, std::uint32_t colour) override;
  void set_background(Control control, std::uint32_t colour) override;

 protected:
  void show_replaced_log(const Text& log) override;
  void show_appended_log(std::string_view text) override;
  void show_replaced_log_end(std::string_view dropped, std::string_view text) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* widget(Control control) const;

  QListWidget* file_list_;
  QPlainTextEdit* editor_;
  QPlainTextEdit* log_;
  QPushButton* open_button_;
  QPushButton* save_button_;
  QPushButton* compile_button_;
  std::vector<ByteArray> item_names_;  // the list's items as GBK bytes, as the core gave them
  EditorText editor_text_;
  bool loading_editor_ = false;
};

}  // namespace tarvik
