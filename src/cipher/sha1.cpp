#include "cipher/sha1.h"

#include <algorithm>
#include <cstring>

#include "cipher/burn.h"
#include "cipher/cipher_errors.h"

namespace cipher {

namespace {

constexpr std::uint32_t Rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

std::uint32_t LoadBig(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void StoreBig(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

}  // namespace

TCph_sha1::~TCph_sha1() { Burn(); }

void TCph_sha1::Burn() {
  BurnBytes(&lenHi_, sizeof lenHi_);
  BurnBytes(&lenLo_, sizeof lenLo_);
  BurnBytes(h_, sizeof h_);
  BurnBytes(&index_, sizeof index_);
  BurnBytes(buffer_, sizeof buffer_);
  initialized_ = false;
}

void TCph_sha1::Init() {
  Burn();
  h_[0] = 0x67452301;
  h_[1] = 0xEFCDAB89;
  h_[2] = 0x98BADCFE;
  h_[3] = 0x10325476;
  h_[4] = 0xC3D2E1F0;
  initialized_ = true;
}

void TCph_sha1::Compress() {
  std::uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = LoadBig(buffer_ + 4 * t);
  for (int t = 16; t < 80; ++t) w[t] = Rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
  for (int t = 0; t < 80; ++t) {
    std::uint32_t f, k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const std::uint32_t next = Rotl(a, 5) + f + e + k + w[t];
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = next;
  }
  h_[0] += a;
  h_[1] += b;
  h_[2] += c;
  h_[3] += d;
  h_[4] += e;
  BurnBytes(w, sizeof w);
  BurnBytes(buffer_, sizeof buffer_);
}

void TCph_sha1::Update(const void* buffer, std::size_t size) {
  if (!initialized_) throw ECph_hash(kHashNotInitialized);
  // The bit length is kept modulo 2^64, as the padding stores it.
  const std::uint64_t bits = (std::uint64_t{lenHi_} << 32 | lenLo_) + static_cast<std::uint64_t>(size) * 8;
  lenHi_ = static_cast<std::uint32_t>(bits >> 32);
  lenLo_ = static_cast<std::uint32_t>(bits);
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  while (size > 0) {
    const std::size_t take = std::min<std::size_t>(size, sizeof buffer_ - index_);
    std::memcpy(buffer_ + index_, p, take);
    index_ += static_cast<std::uint32_t>(take);
    p += take;
    size -= take;
    if (index_ == sizeof buffer_) {
      Compress();
      index_ = 0;
    }
  }
}

void TCph_sha1::Final(std::uint8_t* digest) {
  if (!initialized_) throw ECph_hash(kHashNotInitialized);
  buffer_[index_++] = 0x80;
  if (index_ > 56) {
    std::memset(buffer_ + index_, 0, sizeof buffer_ - index_);
    Compress();
    index_ = 0;
  }
  std::memset(buffer_ + index_, 0, 56 - index_);
  StoreBig(buffer_ + 56, lenHi_);
  StoreBig(buffer_ + 60, lenLo_);
  Compress();
  for (int i = 0; i < 5; ++i) StoreBig(digest + 4 * i, h_[i]);
  Burn();
}

TCph_sha1::Digest TCph_sha1::Of(std::string_view bytes) {
  TCph_sha1 hash;
  hash.Init();
  hash.UpdateStr(bytes);
  Digest digest;
  hash.Final(digest.data());
  return digest;
}

bool TCph_sha1::SelfTest() {
  struct Vector {
    std::string_view message;
    std::uint8_t digest[20];
  };
  static constexpr Vector kVectors[] = {
      {"abc",
       {0xA9, 0x99, 0x3E, 0x36, 0x47, 0x06, 0x81, 0x6A, 0xBA, 0x3E, 0x25, 0x71, 0x78, 0x50, 0xC2, 0x6C, 0x9C, 0xD0,
        0xD8, 0x9D}},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       {0x84, 0x98, 0x3E, 0x44, 0x1C, 0x3B, 0xD2, 0x6E, 0xBA, 0xAE, 0x4A, 0xA1, 0xF9, 0x51, 0x29, 0xE5, 0xE5, 0x46,
        0x70, 0xF1}},
  };
  for (const Vector& v : kVectors) {
    const Digest d = Of(v.message);
    if (std::memcmp(d.data(), v.digest, d.size()) != 0) return false;
  }
  return true;
}

}  // namespace cipher
