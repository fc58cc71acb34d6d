#include <gtest/gtest.h>

#include "cipher/cipher_errors.h"
#include "cipher/sha1.h"
#include "cipher_test_support.h"

using namespace cipher;
using namespace ciphertest;

namespace {

std::string Sha1Hex(std::string_view message) {
  const TCph_sha1::Digest d = TCph_sha1::Of(message);
  return Hex(d.data(), d.size());
}

TEST(Sha1, PublishedDigests) {
  EXPECT_EQ(Sha1Hex(""), "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");
  EXPECT_EQ(Sha1Hex("abc"), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "84983E441C3BD26EBAAE4AA1F95129E5E54670F1");
  EXPECT_TRUE(TCph_sha1::SelfTest());
  TCph_sha1 h;
  EXPECT_EQ(h.GetId(), 2);
  EXPECT_EQ(h.GetAlgorithm(), "SHA1");
  EXPECT_EQ(h.GetHashSize(), 160);
}

TEST(Sha1, OneMillionAsInUnevenPieces) {
  const std::string chunk(1000, 'a');
  TCph_sha1 h;
  h.Init();
  size_t fed = 0, piece = 1;
  while (fed < 1000000) {
    const size_t n = std::min({piece, chunk.size(), 1000000 - fed});
    h.Update(chunk.data(), n);
    fed += n;
    piece = piece * 7 % 997 + 1;  // 1 to 997 bytes, crossing block edges at every offset
  }
  std::uint8_t digest[20];
  h.Final(digest);
  EXPECT_EQ(Hex(digest, 20), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
}

TEST(Sha1, PaddingAtTheBlockEdges) {
  // 55 bytes fit the length in the same block, 56 need another one, 64 a whole extra block.
  EXPECT_EQ(Sha1Hex(std::string(55, 'a')), "C1C8BBDC22796E28C0E15163D20899B65621D65A");
  EXPECT_EQ(Sha1Hex(std::string(56, 'a')), "C2DB330F6083854C99D4B5BFB6E8F29F201BE699");
  EXPECT_EQ(Sha1Hex(std::string(64, 'a')), "0098BA824B5C16427BD7A1122A5A442A25EC644D");
}

TEST(Sha1, UseBeforeInitAndAfterFinal) {
  TCph_sha1 h;
  std::uint8_t digest[20];
  auto expectNotInitialized = [](auto&& action) {
    try {
      action();
      ADD_FAILURE() << "no exception";
    } catch (const ECph_hash& e) {
      EXPECT_STREQ(e.what(), "Hash not initialized");
    }
  };
  expectNotInitialized([&] { h.Update("x", 1); });
  expectNotInitialized([&] { h.Final(digest); });
  h.Init();
  h.UpdateStr("abc");
  h.Final(digest);
  EXPECT_FALSE(h.Initialized());
  expectNotInitialized([&] { h.UpdateStr("more"); });
  // Init starts afresh, whatever came before.
  h.Init();
  h.UpdateStr("junk");
  h.Init();
  h.UpdateStr("abc");
  h.Final(digest);
  EXPECT_EQ(Hex(digest, 20), "A9993E364706816ABA3E25717850C26C9CD0D89D");
}

}  // namespace
