// The statement compiler: one function body at a time.
#pragma once

#include <string_view>

#include "app/state.h"

namespace tarvik {

inline constexpr std::string_view STATUS_DONE = "完成";

// Compiles the body of function g_function_count + 1 up to its closing brace.
StatusText compile_function_body();

}  // namespace tarvik
