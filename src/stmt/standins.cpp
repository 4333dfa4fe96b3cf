// Stand-in until the statement compiler is written.
#include "app/app.h"
#include "stmt/stmt.h"

namespace tarvik {

StatusText compile_function_body() { return not_built_yet(__func__); }

}  // namespace tarvik
