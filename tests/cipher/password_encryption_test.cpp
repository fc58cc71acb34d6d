// The password-based string encryption as the encryption commands use it.
#include <gtest/gtest.h>

#include "cipher/base64.h"
#include "cipher/des.h"
#include "cipher/sha1.h"
#include "cipher_test_support.h"

using namespace cipher;
using namespace ciphertest;

namespace {

TEST(PasswordEncryption, KeyIsTheDigestAndIvTheEncipheredZeroBlock) {
  const TCph_sha1::Digest digest = TCph_sha1::Of("abc");
  const std::string key = std::string(reinterpret_cast<const char*>(digest.data()), 20) + std::string(4, '\0');
  TCph_3des byKey;
  byKey.Init(key.data(), 192, nullptr);
  std::uint8_t iv[8] = {};
  byKey.EncryptECB(iv, iv);
  EXPECT_EQ(Hex(iv, 8), "68C21A059C8646EA");

  TCph_3des byPassword, byKeyAndIv;
  byPassword.InitStr("abc");
  byKeyAndIv.Init(key.data(), 192, iv);
  const std::string text = "a text of some length, 中文 too";
  EXPECT_EQ(byPassword.EncryptString(text), byKeyAndIv.EncryptString(text));
}

TEST(PasswordEncryption, KnownTextsAndTheStream) {
  TCph_3des c;
  c.InitStr("abc");
  c.Reset();
  EXPECT_EQ(c.EncryptString("hello"), "OFYaGBA=");
  EXPECT_EQ(c.EncryptString("hello"), "tGUR+m8=");  // the stream goes on without Reset
  c.Reset();
  EXPECT_EQ(c.EncryptString("hello"), "OFYaGBA=");
  c.Reset();
  EXPECT_EQ(c.EncryptString(""), "");
  c.Reset();
  EXPECT_EQ(c.DecryptString("OFYaGBA="), "hello");
  EXPECT_EQ(c.DecryptString(""), "");
}

TEST(PasswordEncryption, AlwaysEightBitCfbWhateverTheMode) {
  const std::string text = "sixteen bytes!!!";
  TCph_3des reference;
  reference.InitStr("pw");
  reference.SetCipherMode(cmCFB8bit);
  std::string raw(text);
  reference.Encrypt(raw.data(), raw.data(), raw.size());
  for (TCph_ciphermode mode : {cmCBC, cmCFBblock, cmOFB}) {
    TCph_3des c;
    c.InitStr("pw");
    c.SetCipherMode(mode);
    EXPECT_EQ(c.EncryptString(text), Base64EncodeStr(raw)) << mode;
    c.Reset();
    EXPECT_EQ(c.DecryptString(Base64EncodeStr(raw)), text) << mode;
  }
}

TEST(PasswordEncryption, InitStrReplacesTheKeyAndHashesBytesAsGiven) {
  TCph_3des c;
  c.InitStr("first");
  const std::string first = c.EncryptString("same text");
  c.InitStr("second");
  const std::string second = c.EncryptString("same text");
  EXPECT_NE(first, second);
  c.InitStr("first");
  EXPECT_EQ(c.EncryptString("same text"), first);
  // Case and blanks matter: the bytes are hashed as they are.
  c.InitStr("First");
  EXPECT_NE(c.EncryptString("same text"), first);
  c.InitStr(" first");
  EXPECT_NE(c.EncryptString("same text"), first);
  // A single DES key takes the first 64 bits of the digest.
  TCph_des des;
  des.InitStr("abc");
  const TCph_sha1::Digest digest = TCph_sha1::Of("abc");
  TCph_des byKey;
  byKey.Init(digest.data(), 64, nullptr);
  EXPECT_EQ(des.EncryptString("hello"), byKey.EncryptString("hello"));
}

}  // namespace
