#include "app/qt_window.h"

#include <QFont>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>

namespace tarvik {

namespace {

QString shown(std::string_view gbk) { return QString::fromStdU16String(gbk_to_unicode(gbk)); }

QColor colour_of(std::uint32_t value) { return QColor(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF); }

QPushButton* make_button(std::string_view caption, QWidget* parent) { return new QPushButton(shown(caption), parent); }

}  // namespace

QtWindow::QtWindow()
    : file_list_(new QListWidget(this)),
      editor_(new QPlainTextEdit(this)),
      log_(new QPlainTextEdit(this)),
      open_button_(make_button(CAPTION_OPEN, this)),
      save_button_(make_button(CAPTION_SAVE, this)),
      compile_button_(make_button(CAPTION_COMPILE, this)) {
  setWindowTitle(shown(WINDOW_TITLE));
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setFont(QFont("WenQuanYi Micro Hei Mono"));
  log_->setReadOnly(true);  // the log shows the compiler's bytes; an edit there would go nowhere
  for (const Placement& designed : DESIGNED_PLACES) place(designed.control, designed.rect);

  connect(open_button_, &QPushButton::clicked, this, [this] { open_project(*this); });
  connect(save_button_, &QPushButton::clicked, this, [this] { save_selected_file(*this); });
  connect(compile_button_, &QPushButton::clicked, this, [this] { compile_project(*this); });
  connect(file_list_, &QListWidget::currentRowChanged, this, [this] { load_selected_file_into_editor(*this); });
  connect(editor_->document(), &QTextDocument::contentsChange, this, [this](int position, int, int) {
    if (loading_editor_) return;
    editor_text_.update(editor_->toPlainText().toStdU16String(), static_cast<std::size_t>(position));
    handle_editor_event(*this);
  });

  move(DESIGNED_WINDOW.left, DESIGNED_WINDOW.top);
  resize(DESIGNED_WINDOW.width - FRAME_WIDTH, DESIGNED_WINDOW.height - FRAME_HEIGHT);
}

QPushButton* QtWindow::button(Control control) const { return qobject_cast<QPushButton*>(widget(control)); }

QWidget* QtWindow::widget(Control control) const {
  switch (control) {
    case Control::file_list: return file_list_;
    case Control::editor: return editor_;
    case Control::log: return log_;
    case Control::open_button: return open_button_;
    case Control::save_button: return save_button_;
    case Control::compile_button: return compile_button_;
  }
  return nullptr;
}

int QtWindow::current_item() const { return file_list_->currentRow(); }

ByteArray QtWindow::item_text(int index) const { return item_names_.at(index); }

void QtWindow::clear_items() {
  const QSignalBlocker program_not_person(file_list_);
  file_list_->clear();
  item_names_.clear();
}

void QtWindow::add_item(const ByteArray& name) {
  const QSignalBlocker program_not_person(file_list_);
  file_list_->addItem(shown(name));
  item_names_.push_back(name);
}

void QtWindow::set_current_item(int index) {
  const QSignalBlocker program_not_person(file_list_);
  file_list_->setCurrentRow(index);
}

ByteArray QtWindow::editor_text() const { return editor_text_.bytes(); }

void QtWindow::set_editor_text(const ByteArray& text) {
  editor_text_.load(text);
  loading_editor_ = true;
  editor_->setPlainText(QString::fromStdU16String(editor_text_.shown()));
  loading_editor_ = false;
}

int QtWindow::outer_width() const { return width() + FRAME_WIDTH; }

int QtWindow::outer_height() const { return height() + FRAME_HEIGHT; }

void QtWindow::place(Control control, const Rect& rect) {
  widget(control)->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

void QtWindow::set_text_colour(Control control, std::uint32_t colour) {
  QPalette palette = widget(control)->palette();
  palette.setColor(QPalette::Text, colour_of(colour));
  widget(control)->setPalette(palette);
}

void QtWindow::set_background(Control control, std::uint32_t colour) {
  QPalette palette = widget(control)->palette();
  palette.setColor(QPalette::Base, colour_of(colour));
  widget(control)->setPalette(palette);
}

void QtWindow::show_replaced_log(const Text& log) { log_->setPlainText(shown(log)); }

void QtWindow::show_appended_log(std::string_view text) {
  log_->moveCursor(QTextCursor::End);
  log_->insertPlainText(shown(text));
  log_->ensureCursorVisible();
}

// Setting the whole text again for each function would make a compile quadratic.
void QtWindow::show_replaced_log_end(std::string_view dropped, std::string_view text) {
  QTextCursor cursor = log_->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, static_cast<int>(shown(dropped).size()));
  log_->setTextCursor(cursor);
  log_->insertPlainText(shown(text));
  log_->ensureCursorVisible();
}

void QtWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layout_controls(*this);
}

}  // namespace tarvik
