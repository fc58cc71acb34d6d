// The decisions of the encryption commands "加密当前文件" and "解密当前文件": the password the
// dialogs gave, and the new text of every entry. Nothing changes until every new text is
// known, so that a refusal or a failure leaves the list as it was; the window then commits all
// entries in one step (CommitCipherTexts).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cipher/des.h"

namespace app {

class HistoryModel;

struct PasswordDialog {
  std::u16string_view caption;
  std::u16string_view prompt;
};
inline constexpr PasswordDialog kEncryptPasswordDialog{u"设置文件加密的密码",
                                                       u"请输入密码（必须），可用中文，长度不限，区分大小写"};
inline constexpr PasswordDialog kRepeatPasswordDialog{u"重复输入刚才的密码", u"请再次输入刚才的密码____"};
inline constexpr PasswordDialog kDecryptPasswordDialog{
    u"文件解密的密码", u"请输入密码（必须），可用中文，长度不限，区分大小写，如果密码错误，解密后的文件将是一堆乱码"};
inline constexpr std::u16string_view kCipherErrorCaption = u"出错";
inline constexpr std::u16string_view kCipherDoneSound = u"鸟叫.wav";

// The password as typed, trimmed as the window framework trims; empty means stop.
std::u16string TrimmedPassword(std::u16string_view typed);

// After both dialogs of the encryption (already trimmed and not empty): the message to show
// (caption "出错"), or empty to go on.
std::u16string EncryptionPasswordProblem(std::u16string_view password, std::u16string_view repeated);

struct CipherOutcome {
  bool ok = false;
  std::vector<std::u16string> texts;  // ok: the new text of each entry, in row order
  std::u16string message;             // not ok: the message to show, captioned "出错"
};

// Keys `cipher` from the password's code page 936 bytes and enciphers every text from the
// same starting state: Base64 of the 8-bit CFB triple-DES stream of the text's code page 936
// bytes. Refused, with nothing computed, when a text holds a character that code page 936
// cannot represent (it would come back as "?").
CipherOutcome EncryptEntryTexts(cipher::TCph_3des& cipher, const std::vector<std::u16string_view>& texts,
                                std::u16string_view password);

// The reverse, checked: every text must be strict Base64 and decipher to code page 936 text;
// otherwise the password was wrong or the list was not enciphered with it, and nothing is
// returned. (Stored lists carry no check value, so a short list may still pass a wrong password.)
CipherOutcome DecryptEntryTexts(cipher::TCph_3des& cipher, const std::vector<std::u16string_view>& texts,
                                std::u16string_view password);

// Base64 as the encryption writes it: a multiple of 4 characters of the alphabet, with "=" only
// as the last one or two.
bool IsStrictBase64(std::u16string_view text);

// The texts of every row, in row order.
std::vector<std::u16string_view> EntryTextViews(const HistoryModel& model);

// Every entry takes its new text in one step (the entry-changed step, once), and the bookmarks
// are removed for good: no question, no sound, no copy kept for a later return.
void CommitCipherTexts(HistoryModel& model, std::vector<std::u16string> texts);

}  // namespace app
