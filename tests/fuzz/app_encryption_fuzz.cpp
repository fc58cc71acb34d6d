// The checked decryption on hostile lists: the first line is the password, every further line
// an entry. Either every entry is taken or none; what is taken is code page 936 text that the
// encryption turns into entries which decrypt to the same texts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/encryption/encryption_commands.h"
#include "unicode/codepage.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string all = unicode::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = all.find(u'\n', start);
    lines.push_back(all.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
    if (end == std::u16string::npos) break;
    start = end + 1;
  }
  const std::u16string password = lines.front();
  const std::vector<std::u16string_view> entries(lines.begin() + 1, lines.end());

  cipher::TCph_3des cipher;
  const app::CipherOutcome decrypted = app::DecryptEntryTexts(cipher, entries, password);
  if (!decrypted.ok) {
    Require(decrypted.texts.empty() && !decrypted.message.empty());
    return 0;
  }
  Require(decrypted.texts.size() == entries.size());
  for (size_t i = 0; i < entries.size(); ++i) Require(app::IsStrictBase64(entries[i]));
  const std::vector<std::u16string_view> plain(decrypted.texts.begin(), decrypted.texts.end());
  const app::CipherOutcome encrypted = app::EncryptEntryTexts(cipher, plain, password);
  Require(encrypted.ok);
  const std::vector<std::u16string_view> again(encrypted.texts.begin(), encrypted.texts.end());
  const app::CipherOutcome back = app::DecryptEntryTexts(cipher, again, password);
  Require(back.ok && back.texts == decrypted.texts);
  return 0;
}
