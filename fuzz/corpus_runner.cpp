// Runs a fuzz target once on every file of the given folders (or files), so
// that the ordinary builds replay the seed corpora and every input kept there
// after a crash, under their own sanitizers.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

void RunOne(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (!fs::exists(argv[i])) {
      std::cerr << argv[i] << ": no such file or folder\n";
      return 1;
    }
    if (!fs::is_directory(argv[i])) {
      RunOne(argv[i]);
      ++count;
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
      if (!entry.is_regular_file()) continue;
      RunOne(entry.path());
      ++count;
    }
  }
  std::cout << count << " inputs run\n";
  return count > 0 ? 0 : 1;  // an empty corpus is a mistake
}
