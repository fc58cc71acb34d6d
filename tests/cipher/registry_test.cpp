#include <gtest/gtest.h>

#include "cipher/block_cipher.h"
#include "cipher/registry.h"

using namespace cipher;

TEST(Registry, ListsTheLibrarysClasses) {
  const auto& ciphers = CipherClasses();
  ASSERT_EQ(ciphers.size(), 2u);
  for (const CipherClass& c : ciphers) {
    const std::unique_ptr<TCph_cipher> instance = c.create();
    EXPECT_EQ(instance->GetId(), c.id);
    EXPECT_EQ(c.isBlockCipher, dynamic_cast<TCph_blockcipher*>(instance.get()) != nullptr);
  }
  EXPECT_EQ(ciphers[0].name, "des");
  EXPECT_EQ(ciphers[1].name, "3des");
  ASSERT_EQ(HashClasses().size(), 1u);
  EXPECT_EQ(HashClasses()[0].name, "sha1");
  EXPECT_EQ(HashClasses()[0].create()->GetHashSize(), 160);
}
