// mldtool: builds binary dictionary files (MLD) from a UTF-8 table, and dumps them as a table.
//
//   mldtool build TABLE OUT [--version N] [--big-endian] [--utf16]
//   mldtool dump FILE
//
// A dump names the file's format in its header, so building it again gives the same file;
// the options override the header. A text that cannot come back unchanged is refused with a
// message and exit status 1, never written as another text.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "i18n/mld_table.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: mldtool build TABLE OUT [--version N] [--big-endian] [--utf16]\n"
               "       mldtool dump FILE\n");
  return 2;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw vsi::EMldError("Cannot open " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int Build(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string table = argv[2];
  const std::string out = argv[3];
  std::string text;
  vsi::MldWriteOptions options;
  try {
    text = ReadText(table);
    options = vsi::MldTableFormat(text);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", table.c_str(), e.what());
    return 1;
  }
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--big-endian") == 0) {
      options.bigEndian = true;
    } else if (std::strcmp(argv[i], "--utf16") == 0) {
      options.utf16 = true;
    } else if (std::strcmp(argv[i], "--version") == 0 && i + 1 < argc) {
      options.version = std::atoi(argv[++i]);
      if (options.version < 1 || options.version > 3) {
        std::fprintf(stderr, "mldtool: version must be 1, 2 or 3\n");
        return 2;
      }
    } else {
      return Usage();
    }
  }
  vsi::Bytes bytes;
  try {
    bytes = vsi::BuildMldFromTable(text, options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", table.c_str(), e.what());
    return 1;
  }
  // Write beside, then rename, so a failed build never leaves half a file for the program.
  const std::string temp = out + ".tmp";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
      std::fprintf(stderr, "mldtool: cannot write %s\n", temp.c_str());
      return 1;
    }
  }
  std::remove(out.c_str());
  if (std::rename(temp.c_str(), out.c_str()) != 0) {
    std::fprintf(stderr, "mldtool: cannot rename %s to %s\n", temp.c_str(), out.c_str());
    return 1;
  }
  return 0;
}

int Dump(int argc, char** argv) {
  if (argc != 3) return Usage();
  try {
    std::string dump = vsi::DumpMld(vsi::MldFile::ReadFileBytes(argv[2]), argv[2]);
    std::fwrite(dump.data(), 1, dump.size(), stdout);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mldtool: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "build") == 0) return Build(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "dump") == 0) return Dump(argc, argv);
  return Usage();
}
