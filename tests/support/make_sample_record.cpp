// Writes a small sample SCP-ECG record (Sections 0 and 1) to the path given.

#include <cstdio>
#include <fstream>

#include "support/record_builder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make-sample-record OUT.scp\n");
    return 2;
  }
  auto bytes = ecg::test::TypicalRecord();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make-sample-record: cannot write %s\n", argv[1]);
    return 2;
  }
  std::printf("%s\n", argv[1]);
  return 0;
}
