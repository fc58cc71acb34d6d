// Packs files into a skin (.skn): skin_pack [-v VERSION] OUTPUT.skn FILE...
// Each file becomes one entry named by its file name, in the order given. The output is
// written beside the target and put in its place only when complete.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/skin_archive_writer.h"
#include "unicode/codepage.h"
#include "unicode/uni_file_stream.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: skin_pack [-v 20000|30000|40000|50000|60000|70000] OUTPUT.skn FILE...\n");
  return 2;
}

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  uint32_t version = 70000;
  int at = 1;
  if (at + 1 < argc && std::string(argv[at]) == "-v") {
    version = static_cast<uint32_t>(std::strtoul(argv[at + 1], nullptr, 10));
    at += 2;
  }
  if (argc - at < 2) return Usage();
  try {
    const std::u16string output = unicode::Utf8ToUtf16(argv[at++]);
    std::vector<skin::SkinArchiveEntry> entries;
    for (; at < argc; ++at) {
      const std::filesystem::path path(argv[at]);
      entries.push_back({unicode::Utf8ToUtf16(path.filename().string()), ReadWholeFile(path)});
    }
    const std::vector<uint8_t> file = skin::PackSkinFile(skin::BuildSkinArchive(version, entries));
    unicode::TReplacingFile target(output);
    target.Stream().WriteBuffer(file.data(), file.size());
    target.Commit();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_pack: %s\n", e.what());
    return 1;
  }
  return 0;
}
