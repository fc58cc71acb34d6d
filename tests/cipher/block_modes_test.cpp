#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "cipher/des.h"
#include "cipher_test_support.h"

using namespace cipher;
using namespace ciphertest;

namespace {

const std::string kKey = Bytes("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");
const std::string kIv = Bytes("1234567890ABCDEF");

std::string E(const std::string& block) {
  TCph_3des c;
  c.Init(kKey.data(), 192, kIv.data());
  std::uint8_t out[8];
  c.EncryptECB(U8(block), out);
  return std::string(reinterpret_cast<char*>(out), 8);
}

std::string Xor(const std::string& a, const std::string& b) {
  std::string out(a);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ b[i]);
  return out;
}

std::string RunMode(TCph_ciphermode mode, bool encrypt, const std::string& in) {
  TCph_3des c;
  c.Init(kKey.data(), 192, kIv.data());
  c.SetCipherMode(mode);
  std::string out(in.size(), '\0');
  if (encrypt) c.Encrypt(in.data(), out.data(), in.size());
  else c.Decrypt(in.data(), out.data(), in.size());
  return out;
}

// Each mode built from its definition over single-block encryptions.
TEST(BlockModes, FollowTheirDefinitions) {
  const std::string p1 = "block 1!", p2 = "block 2?";
  // CBC: C = E(P xor CV), CV = C.
  const std::string c1 = E(Xor(p1, kIv)), c2 = E(Xor(p2, c1));
  EXPECT_EQ(Hex(RunMode(cmCBC, true, p1 + p2)), Hex(c1 + c2));
  // CFB over whole blocks: CV = E(CV), C = P xor CV, CV = C.
  const std::string f1 = Xor(p1, E(kIv)), f2 = Xor(p2, E(f1));
  EXPECT_EQ(Hex(RunMode(cmCFBblock, true, p1 + p2)), Hex(f1 + f2));
  // OFB: CV = E(CV), out = in xor CV.
  const std::string o1 = E(kIv), o2 = E(o1);
  EXPECT_EQ(Hex(RunMode(cmOFB, true, p1 + p2)), Hex(Xor(p1, o1) + Xor(p2, o2)));
  // CFB-8: each byte XORed with the first byte of E(CV); the ciphertext byte shifts into CV.
  std::string cv = kIv, expected;
  for (char p : p1) {
    const char c = static_cast<char>(p ^ E(cv)[0]);
    expected += c;
    cv = cv.substr(1) + c;
  }
  EXPECT_EQ(Hex(RunMode(cmCFB8bit, true, p1)), Hex(expected));
}

TEST(BlockModes, AFinalPartialBlockIsXoredWithTheEncryptedChainingValue) {
  const std::string plain = "0123456789";  // one block and two bytes
  const std::string c1 = E(Xor(plain.substr(0, 8), kIv));
  const std::string tail = Xor(plain.substr(8), E(c1).substr(0, 2));
  EXPECT_EQ(Hex(RunMode(cmCBC, true, plain)), Hex(c1 + tail));
  // Only a partial block: CV = E(IV) in every block mode.
  for (TCph_ciphermode mode : {cmCBC, cmCFBblock, cmOFB}) {
    EXPECT_EQ(Hex(RunMode(mode, true, "abc")), Hex(Xor("abc", E(kIv).substr(0, 3)))) << mode;
  }
}

TEST(BlockModes, DecryptUndoesEncryptAndCallsFormOneStream) {
  std::mt19937 rng(3);
  for (TCph_ciphermode mode : {cmCBC, cmCFB8bit, cmCFBblock, cmOFB}) {
    for (size_t size : {0u, 1u, 7u, 8u, 9u, 16u, 61u}) {
      const std::string plain = RandomBytes(rng, size);
      const std::string cipherText = RunMode(mode, true, plain);
      EXPECT_EQ(Hex(RunMode(mode, false, cipherText)), Hex(plain)) << mode << " " << size;
    }
    // Two calls continue where the first stopped (whole blocks, so that no partial block
    // ends the first call), and Reset starts the stream again.
    const std::string a = RandomBytes(rng, 16), b = RandomBytes(rng, 24);
    TCph_3des c;
    c.Init(kKey.data(), 192, kIv.data());
    c.SetCipherMode(mode);
    std::string out(40, '\0');
    c.Encrypt(a.data(), out.data(), 16);
    c.Encrypt(b.data(), out.data() + 16, 24);
    EXPECT_EQ(Hex(out), Hex(RunMode(mode, true, a + b))) << mode;
    c.Reset();
    std::string again(16, '\0');
    c.Encrypt(a.data(), again.data(), 16);
    EXPECT_EQ(Hex(again), Hex(out.substr(0, 16))) << mode;
  }
}

TEST(BlockModes, DecryptionInPlace) {
  std::mt19937 rng(5);
  for (TCph_ciphermode mode : {cmCBC, cmCFB8bit, cmCFBblock, cmOFB}) {
    const std::string plain = RandomBytes(rng, 29);
    std::string buffer = RunMode(mode, true, plain);
    TCph_3des c;
    c.Init(kKey.data(), 192, kIv.data());
    c.SetCipherMode(mode);
    c.Decrypt(buffer.data(), buffer.data(), buffer.size());
    EXPECT_EQ(Hex(buffer), Hex(plain)) << mode;
  }
}

TEST(BlockModes, WithoutAnInitialVectorTheZeroBlockEnciphered) {
  TCph_3des given, derived;
  const std::string iv = E(std::string(8, '\0'));
  given.Init(kKey.data(), 192, iv.data());
  derived.Init(kKey.data(), 192, nullptr);
  EXPECT_EQ(given.EncryptString("same start"), derived.EncryptString("same start"));
}

}  // namespace
