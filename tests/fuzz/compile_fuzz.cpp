// The fuzz driver: one input (a file named on the command line, or standard input) compiled
// as a project; any problem aborts, so that the fuzzer records the input as a crash.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_project.h"

int main(int argc, char** argv) {
  std::string input;
  if (argc > 1) {
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
      std::cerr << "cannot read " << argv[1] << "\n";
      return 2;
    }
    input.assign(std::istreambuf_iterator<char>(file), {});
  } else {
    input.assign(std::istreambuf_iterator<char>(std::cin), {});
  }
  const std::string problem = tarvik::fuzz::compile_and_check(input);
  if (!problem.empty()) {
    std::cerr << problem << "\n";
    std::abort();
  }
  return 0;
}
