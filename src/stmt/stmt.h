// The statement compiler: one function body at a time.
#pragma once

#include "app/state.h"

namespace tarvik {

// Compiles the body of function g_function_count + 1 up to its closing brace.
StatusText compile_function_body();

}  // namespace tarvik
