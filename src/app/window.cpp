#include "app/app.h"

namespace tarvik {

void Window::replace_log(Text text) {
  log_ = std::move(text);
  show_replaced_log(log_);
}

void Window::append_log(std::string_view text) {
  log_ += text;
  show_appended_log(text);
}

}  // namespace tarvik
