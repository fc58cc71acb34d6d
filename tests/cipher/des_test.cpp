#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "cipher/cipher_errors.h"
#include "cipher/des.h"
#include "cipher_test_support.h"

using namespace cipher;
using namespace ciphertest;

namespace {

template <class Cipher>
std::string Ecb(const std::string& key, const std::string& plain) {
  Cipher c;
  c.Init(key.data(), static_cast<int>(key.size() * 8), nullptr);
  std::uint8_t out[8];
  c.EncryptECB(U8(plain), out);
  return Hex(out, 8);
}

TEST(Des, PublishedVectors) {
  EXPECT_EQ(Ecb<TCph_des>(Bytes("0123456789ABCDEF"), "Now is t"), "3FA40E8A984D4815");
  EXPECT_EQ(Ecb<TCph_des>(Bytes("133457799BBCDFF1"), Bytes("0123456789ABCDEF")), "85E813540F0AB405");
  // Parity bits do not count: flipping the low bit of every key byte gives the same block.
  EXPECT_EQ(Ecb<TCph_des>(Bytes("0022446688AACCEE"), "Now is t"), "3FA40E8A984D4815");
  EXPECT_EQ(Ecb<TCph_3des>(Bytes("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123"), "The qufc"),
            "A826FD8CE53B855F");
  EXPECT_TRUE(TCph_des::SelfTest());
  EXPECT_TRUE(TCph_3des::SelfTest());
}

TEST(Des, ClassValues) {
  TCph_des des;
  TCph_3des tdes;
  EXPECT_EQ(des.GetId(), 23);
  EXPECT_EQ(des.GetAlgorithm(), "DES");
  EXPECT_EQ(des.GetMaxKeySize(), 64);
  EXPECT_EQ(des.GetBlockSize(), 64);
  EXPECT_EQ(tdes.GetId(), 24);
  EXPECT_EQ(tdes.GetAlgorithm(), "3DES");
  EXPECT_EQ(tdes.GetMaxKeySize(), 192);
  EXPECT_EQ(tdes.GetBlockSize(), 64);
  EXPECT_EQ(tdes.CipherMode(), cmCBC);
  EXPECT_FALSE(tdes.Initialized());
}

TEST(Des, TripleDesKeyingOptions) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20; ++i) {
    const std::string k1 = RandomBytes(rng, 8), k2 = RandomBytes(rng, 8), plain = RandomBytes(rng, 8);
    // One key three times is single DES.
    EXPECT_EQ(Ecb<TCph_3des>(k1 + k1 + k1, plain), Ecb<TCph_des>(k1, plain));
    // A 128-bit key is k1, k2, k1.
    EXPECT_EQ(Ecb<TCph_3des>(k1 + k2, plain), Ecb<TCph_3des>(k1 + k2 + k1, plain));
    // A 160-bit key leaves the last four bytes of k3 zero.
    const std::string k3 = RandomBytes(rng, 4);
    EXPECT_EQ(Ecb<TCph_3des>(k1 + k2 + k3, plain), Ecb<TCph_3des>(k1 + k2 + k3 + std::string(4, '\0'), plain));
  }
  // Short keys fill from the front: 12 bits give one key byte, the rest zero.
  const std::string key = Bytes("AB");
  TCph_3des shortKey;
  shortKey.Init(key.data(), 12, nullptr);
  std::uint8_t a[8], b[8];
  shortKey.EncryptECB(U8(std::string(8, 'x')), a);
  TCph_3des padded;
  const std::string full = Bytes("AB00000000000000") + std::string(8, '\0');
  padded.Init(full.data(), 128, nullptr);
  padded.EncryptECB(U8(std::string(8, 'x')), b);
  EXPECT_EQ(Hex(a, 8), Hex(b, 8));
}

TEST(Des, DecryptUndoesEncryptInPlace) {
  std::mt19937 rng(11);
  for (int i = 0; i < 200; ++i) {
    const std::string key = RandomBytes(rng, 24), plain = RandomBytes(rng, 8);
    TCph_3des tdes;
    tdes.Init(key.data(), 192, nullptr);
    std::uint8_t block[8];
    std::memcpy(block, plain.data(), 8);
    tdes.EncryptECB(block, block);
    EXPECT_NE(Hex(block, 8), Hex(plain));
    tdes.DecryptECB(block, block);
    EXPECT_EQ(Hex(block, 8), Hex(plain));

    TCph_des des;
    des.Init(key.data(), 64, nullptr);
    des.EncryptECB(block, block);
    des.DecryptECB(block, block);
    EXPECT_EQ(Hex(block, 8), Hex(plain));
  }
}

TEST(Des, KeySizesAndUseBeforeInit) {
  const std::string key(24, '\x5A');
  TCph_3des tdes;
  for (int bits : {0, 63, 200, -4}) {
    try {
      tdes.Init(key.data(), bits, nullptr);
      ADD_FAILURE() << bits << " bits accepted";
    } catch (const ECph_cipher&) {
      ADD_FAILURE() << "a key size error is the general exception";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Invalid key size");
    }
    EXPECT_FALSE(tdes.Initialized());
  }
  TCph_des des;
  EXPECT_THROW(des.Init(key.data(), 68, nullptr), Exception);
  EXPECT_NO_THROW(des.Init(key.data(), 4, nullptr));

  TCph_3des fresh;
  std::uint8_t block[8] = {};
  auto expectNotInitialized = [](auto&& action) {
    try {
      action();
      ADD_FAILURE() << "no exception";
    } catch (const ECph_blockcipher& e) {
      EXPECT_STREQ(e.what(), "Cipher not initialized");
    }
  };
  expectNotInitialized([&] { fresh.Reset(); });
  expectNotInitialized([&] { fresh.EncryptECB(block, block); });
  expectNotInitialized([&] { fresh.DecryptECB(block, block); });
  expectNotInitialized([&] { fresh.Encrypt(block, block, 8); });
  expectNotInitialized([&] { fresh.EncryptString(""); });
  expectNotInitialized([&] { fresh.DecryptString("AAAA"); });

  // A failed Init leaves no usable key behind, and Burn forgets a good one.
  tdes.Init(key.data(), 192, nullptr);
  EXPECT_THROW(tdes.Init(key.data(), 63, nullptr), Exception);
  expectNotInitialized([&] { tdes.Reset(); });
  tdes.Init(key.data(), 192, nullptr);
  tdes.Burn();
  expectNotInitialized([&] { tdes.EncryptECB(block, block); });
}

}  // namespace
