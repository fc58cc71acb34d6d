#include "app/encryption/encryption_commands.h"

#include <exception>
#include <stdexcept>

#include "app/history/history_model.h"
#include "app/mainform/list_interaction.h"
#include "unicode/codepage.h"

namespace app {

namespace {

// A text that code page 936 holds as it is: to the code page and back gives it unchanged.
bool Representable(std::u16string_view text, std::string& bytes) {
  bytes = unicode::Utf16ToAnsi(text);
  return unicode::AnsiToUtf16(bytes) == text;
}

std::u16string Decimal(std::size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string AsciiToUtf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::u16string FailureMessage(const std::exception& e) {
  return u"加密/解密出错，列表未改变：" + unicode::AnsiToUtf16(e.what());
}

void KeyFromPassword(cipher::TCph_3des& cipher, std::u16string_view password) {
  // The password's bytes are its code page 936 form.
  cipher.InitStr(unicode::Utf16ToAnsi(password));
}

}  // namespace

std::u16string TrimmedPassword(std::u16string_view typed) { return TrimBlanks(typed); }

std::u16string EncryptionPasswordProblem(std::u16string_view password, std::u16string_view repeated) {
  if (password != repeated) return u"两次输入的密码不相同，请重新输入";
  std::string bytes;
  if (!Representable(password, bytes)) return u"密码含有GBK编码无法表示的字符，请换一个密码";
  return {};
}

namespace {

// Keys the cipher and walks the texts; `convert` gives an entry's new text, or false when the
// entry refuses the command (then `refusal` names the 1-based entry and nothing is returned).
// Keyed once: Reset gives every entry the same starting state a new key would.
template <class Convert>
CipherOutcome ConvertEach(cipher::TCph_3des& cipher, const std::vector<std::u16string_view>& texts,
                          std::u16string_view password, Convert convert,
                          std::u16string (*refusal)(std::u16string_view entryNumber)) {
  CipherOutcome outcome;
  try {
    KeyFromPassword(cipher, password);
    outcome.texts.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      cipher.Reset();
      std::u16string text;
      if (!convert(texts[i], text)) {
        outcome.texts.clear();
        outcome.message = refusal(Decimal(i + 1));
        return outcome;
      }
      outcome.texts.push_back(std::move(text));
    }
  } catch (const std::exception& e) {
    outcome.texts.clear();
    outcome.message = FailureMessage(e);
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace

CipherOutcome EncryptEntryTexts(cipher::TCph_3des& cipher, const std::vector<std::u16string_view>& texts,
                                std::u16string_view password) {
  std::string bytes;
  return ConvertEach(
      cipher, texts, password,
      [&](std::u16string_view text, std::u16string& encrypted) {
        if (!Representable(text, bytes)) return false;
        encrypted = AsciiToUtf16(cipher.EncryptString(bytes));
        return true;
      },
      [](std::u16string_view n) {
        return u"第 " + std::u16string(n) + u" 条文本含有GBK编码无法表示的字符，加密后无法还原，已取消加密";
      });
}

CipherOutcome DecryptEntryTexts(cipher::TCph_3des& cipher, const std::vector<std::u16string_view>& texts,
                                std::u16string_view password) {
  std::string base64;
  return ConvertEach(
      cipher, texts, password,
      [&](std::u16string_view text, std::u16string& decrypted) {
        if (!IsStrictBase64(text)) return false;
        base64.assign(text.begin(), text.end());
        const std::string bytes = cipher.DecryptString(base64);
        decrypted = unicode::AnsiToUtf16(bytes);
        return unicode::Utf16ToAnsi(decrypted) == bytes;
      },
      [](std::u16string_view n) {
        return u"密码错误，或第 " + std::u16string(n) + u" 条不是用此密码加密的文本，列表未改变";
      });
}

bool IsStrictBase64(std::u16string_view text) {
  if (text.size() % 4 != 0) return false;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == u'=') ++padding;
  for (std::size_t i = 0; i < text.size() - padding; ++i) {
    const char16_t c = text[i];
    const bool inAlphabet = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                            c == u'+' || c == u'/';
    if (!inAlphabet) return false;
  }
  return true;
}

std::vector<std::u16string_view> EntryTextViews(const HistoryModel& model) {
  std::vector<std::u16string_view> texts;
  texts.reserve(static_cast<std::size_t>(model.rowCount()));
  for (int i = 0; i < model.rowCount(); ++i) texts.push_back(model.store().EntryTexts(i));
  return texts;
}

void CommitCipherTexts(HistoryModel& model, std::vector<std::u16string> texts) {
  if (static_cast<int>(texts.size()) != model.rowCount()) throw std::logic_error("one new text per row");
  std::vector<EntryTextChange> changes;
  changes.reserve(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) changes.push_back({static_cast<int>(i), std::move(texts[i])});
  model.changeEntryTexts(std::move(changes));
  model.bookmarks().BookmarkBackupValid = false;
  model.clearBookmarksWithoutAsking();
}

}  // namespace app
