#include "support/program_support.h"
