#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <cstring>
#include <random>

#include "base/secret.h"
#include "base/text.h"

using namespace base;

TEST(Secret, RoundTripsArbitraryCp949Text) {
  std::mt19937 rng(7);
  const std::vector<std::string> alphabet = {"가", "힣", "똠", "a", "Z", "0", " ", "|", "=", "!", "한", "글"};
  for (int n = 0; n < 200; ++n) {
    std::string text;
    const int len = static_cast<int>(rng() % 40);
    for (int i = 0; i < len; ++i) text += alphabet[rng() % alphabet.size()];
    const std::string encoded = encodeSecret(text);
    EXPECT_EQ(encoded.size() % 4, 0u);
    EXPECT_EQ(decodeSecret(encoded), text);
    EXPECT_EQ(encodeSecret(text), encoded);  // equal plain texts encode equally
  }
  EXPECT_EQ(encodeSecret(""), "");
  EXPECT_EQ(decodeSecret(""), "");
}

TEST(Secret, LengthsArePreserved) {
  std::string bytes;
  for (int len : {1, 2, 3, 4, 17}) {
    ASSERT_TRUE(decodeSecretBytes(encodeSecretBytes(std::string(len, 'x')), bytes));
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>(len));
  }
}

TEST(Secret, InvalidBase64DecodesAsEmpty) {
  for (const char* bad : {"abc", "ab=c", "a b=", "@@@@", "abcde"}) EXPECT_EQ(decodeSecret(bad), "") << bad;
}

TEST(Secret, IgnoresUnusedBitsOfTheLastCharacter) {
  const std::string encoded = encodeSecret("가");  // 2 bytes -> "xxx=" with 2 spare bits
  ASSERT_EQ(encoded.back(), '=');
  std::string altered = encoded;
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::size_t index = alphabet.find(altered[2]);
  ASSERT_EQ(index % 4, 0u);  // the spare bits are written as zero
  altered[2] = alphabet[index + 3];
  EXPECT_EQ(decodeSecret(altered), "가");
}

// The cipher is Blowfish-CFB8 with the 20-byte SHA-1 key and the IV E(FF..FF).
// OpenSSL has no CFB8 mode for Blowfish, so the mode is spelled out here over
// OpenSSL's Blowfish-ECB from the legacy provider, independently of our code.
TEST(Secret, MatchesBlowfishCfb8OverOpenSsl) {
  OSSL_PROVIDER* legacy = OSSL_PROVIDER_load(nullptr, "legacy");
  OSSL_PROVIDER* deflt = OSSL_PROVIDER_load(nullptr, "default");
  if (!legacy) GTEST_SKIP() << "OpenSSL legacy provider not available";
  unsigned char key[20];
  unsigned int keyLen = 0;
  EVP_Digest("qopzu", 5, key, &keyLen, EVP_sha1(), nullptr);
  EVP_CIPHER* ecb = EVP_CIPHER_fetch(nullptr, "BF-ECB", nullptr);
  ASSERT_TRUE(ecb);
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  EVP_EncryptInit_ex(ctx, ecb, nullptr, nullptr, nullptr);
  EVP_CIPHER_CTX_set_key_length(ctx, 20);
  EVP_CIPHER_CTX_set_padding(ctx, 0);
  EVP_EncryptInit_ex(ctx, nullptr, nullptr, key, nullptr);
  auto block = [&](const unsigned char* in, unsigned char* out) {
    int n = 0;
    EVP_EncryptUpdate(ctx, out, &n, in, 8);
  };
  unsigned char reg[8], out[8];
  std::memset(reg, 0xFF, 8);
  block(reg, out);
  std::memcpy(reg, out, 8);
  const std::string plain = utf8ToCp949("비밀번호 secret 123");
  std::string expected;
  for (char p : plain) {
    block(reg, out);
    const char c = static_cast<char>(p ^ static_cast<char>(out[0]));
    std::memmove(reg, reg + 1, 7);
    reg[7] = static_cast<unsigned char>(c);
    expected.push_back(c);
  }
  std::string b64(4 * ((expected.size() + 2) / 3) + 1, '\0');
  b64.resize(static_cast<std::size_t>(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(b64.data()),
                                                      reinterpret_cast<const unsigned char*>(expected.data()),
                                                      static_cast<int>(expected.size()))));
  EXPECT_EQ(encodeSecretBytes(plain), b64);
  EVP_CIPHER_CTX_free(ctx);
  EVP_CIPHER_free(ecb);
  OSSL_PROVIDER_unload(legacy);
  if (deflt) OSSL_PROVIDER_unload(deflt);
}
