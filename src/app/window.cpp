#include <algorithm>

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

void Window::replace_log_end(std::size_t count, std::string_view text) {
  const std::size_t kept = log_.size() - std::min(count, log_.size());
  const Text dropped = log_.substr(kept);
  log_.resize(kept);
  log_ += text;
  show_replaced_log_end(dropped, text);
}

}  // namespace tarvik
