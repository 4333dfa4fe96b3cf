#include <cstdio>

#include "app/state.h"

int main() {
  tarvik::init_global_tables();
  std::puts("Tarvik compiler core built; the window comes next.");
  tarvik::free_global_tables();
}
