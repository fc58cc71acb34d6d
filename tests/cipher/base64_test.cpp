#include <gtest/gtest.h>

#include <random>

#include "cipher/base64.h"
#include "cipher_test_support.h"

using namespace cipher;

namespace {

TEST(Base64, Encode) {
  EXPECT_EQ(Base64EncodeStr("abc"), "YWJj");
  EXPECT_EQ(Base64EncodeStr("ab"), "YWI=");
  EXPECT_EQ(Base64EncodeStr("a"), "YQ==");
  EXPECT_EQ(Base64EncodeStr(""), "");
  EXPECT_EQ(Base64EncodeStr(std::string("\xFB\xFF\xBF", 3)), "+/+/");
}

TEST(Base64, DecodeIsLenient) {
  EXPECT_EQ(Base64DecodeStr("YWJj"), "abc");
  EXPECT_EQ(Base64DecodeStr("YWI="), "ab");
  EXPECT_EQ(Base64DecodeStr(""), "");
  EXPECT_EQ(Base64DecodeStr("YWJjZA"), "abc");     // a trailing partial group is ignored
  EXPECT_EQ(Base64DecodeStr("YWJ"), "");
  EXPECT_EQ(Base64DecodeStr("YW=jZA=="), "ad");    // "=" anywhere ends its group's bytes
  EXPECT_EQ(Base64DecodeStr("YQ==YWJj"), "aabc");  // and decoding goes on after it
  EXPECT_EQ(Base64DecodeStr("YW*j"), "a`#");       // an unknown character counts as 0
  EXPECT_EQ(Base64DecodeStr(std::string("YW\0j", 4)), "a`#");
  EXPECT_EQ(Base64DecodeStr("==YW"), std::string("\0\x06\x16", 3));  // padding in front reads as 0
}

TEST(Base64, RoundTripOfEveryLength) {
  std::mt19937 rng(1);
  for (size_t n = 0; n < 70; ++n) {
    const std::string bytes = ciphertest::RandomBytes(rng, n);
    const std::string text = Base64EncodeStr(bytes);
    EXPECT_EQ(text.size(), (n + 2) / 3 * 4);
    EXPECT_EQ(Base64DecodeStr(text), bytes);
  }
}

}  // namespace
