// Writes a fuzz target's starting corpus (its fuzzcheck::seeds(), linked in) into a folder,
// in place of what the folder held: <target>_seeds <folder>.
#include <filesystem>
#include <iostream>

#include "fuzz/fuzz_check.h"
#include "kit/files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " <folder>\n";
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (const auto& [name, bytes] : fuzzcheck::seeds()) {
    kit::writeFile((folder / name).string(), bytes);
  }
  return 0;
}
