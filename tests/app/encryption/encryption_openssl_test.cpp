// The encryption command's texts checked against an independent implementation: OpenSSL's
// command-line tool with the key and initial vector the password gives (native build only).
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/encryption/encryption_commands.h"
#include "cipher/cipher_test_support.h"
#include "cipher/sha1.h"
#include "unicode/codepage.h"

namespace {

namespace fs = std::filesystem;

// Runs a command and returns its standard output; false when it did not exit with 0.
bool RunCommand(const std::string& command, std::string& output) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  output.clear();
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  return pclose(pipe) == 0;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
  static const std::u16string ascii = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;!?-_()\r\n\t";
  static const std::u16string punctuation = u"，。、；：？！“”《》（）【】…—·";
  std::u16string text;
  const size_t length = rng() % (maxLength + 1);
  for (size_t i = 0; i < length; ++i) {
    switch (rng() % 3) {
      case 0: text += ascii[rng() % ascii.size()]; break;
      case 1: text += static_cast<char16_t>(0x4E00 + rng() % (0x9FA5 - 0x4E00 + 1)); break;
      default: text += punctuation[rng() % punctuation.size()]; break;
    }
  }
  return text;
}

TEST(EncryptionAgainstOpenssl, TwoHundredRandomPasswordsAndTexts) {
  std::string version;
  ASSERT_TRUE(RunCommand("openssl version", version)) << "the openssl tool is missing (scripts/setup installs it)";
  const fs::path folder = fs::path(QUILL_SCRATCH_DIR) / "openssl-crosscheck";
  fs::create_directories(folder);
  const fs::path zero = folder / "zero.bin", plain = folder / "plain.bin";
  WriteBytes(zero, std::string(8, '\0'));

  std::mt19937 rng(20240611);
  for (int i = 0; i < 200; ++i) {
    std::u16string password = app::TrimmedPassword(RandomText(rng, 16));
    if (password.empty()) password = u"口令";
    const std::u16string text = RandomText(rng, 120);
    cipher::TCph_3des cipher;
    const app::CipherOutcome ours = app::EncryptEntryTexts(cipher, {text}, password);
    ASSERT_TRUE(ours.ok);

    const cipher::TCph_sha1::Digest digest = cipher::TCph_sha1::Of(unicode::Utf16ToAnsi(password));
    const std::string key = ciphertest::Hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())) +
                            "00000000";
    // The initial vector: the zero block enciphered once with the key.
    std::string iv;
    ASSERT_TRUE(RunCommand("openssl enc -des-ede3 -nopad -K " + key + " -in " + zero.string(), iv));
    ASSERT_EQ(iv.size(), 8u);
    WriteBytes(plain, unicode::Utf16ToAnsi(text));
    std::string expected;
    ASSERT_TRUE(RunCommand("openssl enc -des-ede3-cfb8 -a -A -K " + key + " -iv " + ciphertest::Hex(iv) + " -in " + plain.string(),
                    expected));
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    EXPECT_EQ(std::string(ours.texts[0].begin(), ours.texts[0].end()), expected) << "case " << i;

    cipher::TCph_3des back;
    const app::CipherOutcome decrypted = app::DecryptEntryTexts(back, {ours.texts[0]}, password);
    ASSERT_TRUE(decrypted.ok) << "case " << i;
    EXPECT_EQ(decrypted.texts[0], text) << "case " << i;
  }
}

}  // namespace

#endif  // _WIN32
