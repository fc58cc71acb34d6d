#include <gtest/gtest.h>

#include "app/encryption/encryption_commands.h"
#include "app/history/history_recording_sink.h"

using namespace app;

namespace {

using Texts = std::vector<std::u16string>;

std::vector<std::u16string_view> Views(const Texts& texts) { return {texts.begin(), texts.end()}; }

CipherOutcome Encrypt(const Texts& texts, std::u16string_view password) {
  cipher::TCph_3des c;
  return EncryptEntryTexts(c, Views(texts), password);
}

CipherOutcome Decrypt(const Texts& texts, std::u16string_view password) {
  cipher::TCph_3des c;
  return DecryptEntryTexts(c, Views(texts), password);
}

const Texts kMixed = {u"hello", u"中文条目，带标点。", u"第一行\r\n第二行\r\n", u"", u"hello",
                      u"  blanks and\ttabs  ", u"€ and á ü · … ﹫", std::u16string(300, u'长')};

TEST(EncryptionPassword, TrimmedAsTheFrameworkTrims) {
  EXPECT_EQ(TrimmedPassword(u"  密码 abc\t "), u"密码 abc");
  EXPECT_EQ(TrimmedPassword(u" \t\r\n "), u"");
  EXPECT_EQ(TrimmedPassword(u"\u3000全角\u3000"), u"\u3000全角\u3000");  // an ideographic blank is no blank here
}

TEST(EncryptionPassword, BothAnswersMustAgreeAndFitTheCodePage) {
  EXPECT_EQ(EncryptionPasswordProblem(u"abc", u"abc"), u"");
  EXPECT_EQ(EncryptionPasswordProblem(u"abc", u"Abc"), u"两次输入的密码不相同，请重新输入");
  EXPECT_EQ(EncryptionPasswordProblem(u"密码😀", u"密码😀"), u"密码含有GBK编码无法表示的字符，请换一个密码");
  EXPECT_EQ(EncryptionPasswordProblem(u"한국", u"한국"), u"密码含有GBK编码无法表示的字符，请换一个密码");
}

TEST(Encryption, KnownTextsEqualTextsAndTheEmptyText) {
  const CipherOutcome out = Encrypt({u"hello", u"", u"hello"}, u"abc");
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.texts, (Texts{u"OFYaGBA=", u"", u"OFYaGBA="}));  // every entry from the same start
  EXPECT_TRUE(out.message.empty());
}

TEST(Encryption, RoundTripOfEveryKindOfText) {
  const CipherOutcome encrypted = Encrypt(kMixed, u"口令 pass");
  ASSERT_TRUE(encrypted.ok);
  for (size_t i = 0; i < kMixed.size(); ++i) EXPECT_TRUE(IsStrictBase64(encrypted.texts[i])) << i;
  EXPECT_EQ(encrypted.texts[0], encrypted.texts[4]);
  const CipherOutcome decrypted = Decrypt(encrypted.texts, u"口令 pass");
  ASSERT_TRUE(decrypted.ok) << std::string(decrypted.message.begin(), decrypted.message.end());
  EXPECT_EQ(decrypted.texts, kMixed);
}

TEST(Encryption, ATextTheCodePageCannotHoldRefusesTheWholeList) {
  const CipherOutcome out = Encrypt({u"fine", u"还行", u"smile 😀", u"한국어"}, u"abc");
  EXPECT_FALSE(out.ok);
  EXPECT_TRUE(out.texts.empty());
  EXPECT_EQ(out.message, u"第 3 条文本含有GBK编码无法表示的字符，加密后无法还原，已取消加密");
}

TEST(Decryption, AWrongPasswordOrAPlainListChangesNothing) {
  const Texts long_texts = {u"一段足够长的中文文本，用来确认错误的密码不会被当成正确的。",
                            u"another entry that is long enough to be checked for sure"};
  const CipherOutcome encrypted = Encrypt(long_texts, u"right");
  ASSERT_TRUE(encrypted.ok);
  const CipherOutcome wrong = Decrypt(encrypted.texts, u"wrong");
  EXPECT_FALSE(wrong.ok);
  EXPECT_TRUE(wrong.texts.empty());
  EXPECT_EQ(wrong.message, u"密码错误，或第 1 条不是用此密码加密的文本，列表未改变");

  // A list that was never encrypted: the first text that is no strict Base64 is named.
  const CipherOutcome plain = Decrypt({encrypted.texts[0], u"普通文本"}, u"right");
  EXPECT_FALSE(plain.ok);
  EXPECT_EQ(plain.message, u"密码错误，或第 2 条不是用此密码加密的文本，列表未改变");
  // Texts the lenient decoder would take are refused.
  for (const std::u16string loose : {u"YWJjZA", u"YW=j", u"YW*j", u"YWJj\r\n", u"YQ==YWJj", u"Y==="}) {
    EXPECT_FALSE(Decrypt({loose}, u"right").ok) << std::string(loose.begin(), loose.end());
  }
  // The empty entry is the encryption of the empty text.
  EXPECT_EQ(Decrypt({u""}, u"x").texts, (Texts{u""}));
}

TEST(Decryption, StrictBase64) {
  for (const char16_t* good : {u"", u"YWJj", u"YWI=", u"YQ==", u"+/+/YQ=="}) EXPECT_TRUE(IsStrictBase64(good));
  for (const char16_t* bad : {u"YWJ", u"YW=j", u"Y===", u"====", u"YWJj YWJj", u"ＹＷＪｊ", u"YWJ\u0000"}) {
    EXPECT_FALSE(IsStrictBase64(bad));
  }
}

TEST(EncryptionCommit, EveryRowAtOnceAndTheBookmarksGoForGood) {
  apptest::Fixture f(4);
  f.model.bookmarks().BookmarkRows = {1, 3};
  f.model.bookmarks().BookmarkBackup = {2};
  f.model.bookmarks().BookmarkBackupValid = true;  // as a list load leaves it
  const CipherOutcome out = Encrypt(Texts{u"e0", u"e1", u"e2", u"e3"}, u"pw");
  ASSERT_TRUE(out.ok);
  CommitCipherTexts(f.model, out.texts);
  EXPECT_EQ(f.texts(), out.texts);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(f.model.store().EntryHasSnapshot(i)) << i;
  apptest::ExpectScreenMatches(f.model, f.sink);
  apptest::ExpectRunHistoryMirrorsRows(f.model);
  EXPECT_TRUE(f.model.bookmarks().BookmarkRows.empty());
  EXPECT_TRUE(f.model.bookmarks().BookmarkBackup.empty());
  EXPECT_FALSE(f.model.bookmarks().BookmarkBackupValid);
  EXPECT_TRUE(f.sink.bookmarkMenu.empty());
  EXPECT_TRUE(f.sink.questions.empty());
  EXPECT_TRUE(f.sink.sounds.empty());

  // The rows read back through the decryption give the captured texts again.
  const CipherOutcome back = Decrypt(Texts(f.texts()), u"pw");
  ASSERT_TRUE(back.ok);
  CommitCipherTexts(f.model, back.texts);
  EXPECT_EQ(f.texts(), (Texts{u"e0", u"e1", u"e2", u"e3"}));
  EXPECT_THROW(CommitCipherTexts(f.model, {u"too few"}), std::logic_error);
}

}  // namespace
