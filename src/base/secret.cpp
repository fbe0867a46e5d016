#define OPENSSL_SUPPRESS_DEPRECATED  // the Blowfish block function is the primitive we need
#include "base/secret.h"

#include <openssl/blowfish.h>
#include <openssl/evp.h>

#include <array>
#include <cstring>

#include "base/text.h"

namespace base {
namespace {

constexpr std::string_view kPassphrase = "qopzu";

struct Cipher {
  BF_KEY key;
  std::array<unsigned char, 8> iv;
};

const Cipher& cipher() {
  static const Cipher c = [] {
    Cipher out;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(kPassphrase.data(), kPassphrase.size(), digest, &length, EVP_sha1(), nullptr);
    BF_set_key(&out.key, static_cast<int>(length), digest);
    unsigned char ones[8];
    std::memset(ones, 0xFF, sizeof ones);
    BF_ecb_encrypt(ones, out.iv.data(), &out.key, BF_ENCRYPT);
    return out;
  }();
  return c;
}

// 8-bit CFB: each byte is XORed with the first byte of the encrypted shift
// register, and the cipher byte is shifted into the register.
std::string cfb8(std::string_view input, bool encrypt) {
  const Cipher& c = cipher();
  std::array<unsigned char, 8> reg = c.iv;
  std::string out(input.size(), '\0');
  unsigned char block[8];
  for (std::size_t i = 0; i < input.size(); ++i) {
    BF_ecb_encrypt(reg.data(), block, &c.key, BF_ENCRYPT);
    const unsigned char in = static_cast<unsigned char>(input[i]);
    const unsigned char res = in ^ block[0];
    const unsigned char cipherByte = encrypt ? res : in;
    std::memmove(reg.data(), reg.data() + 1, 7);
    reg[7] = cipherByte;
    out[i] = static_cast<char>(res);
  }
  return out;
}

std::string base64Encode(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

bool base64Decode(std::string_view text, std::string& bytes) {
  if (text.size() % 4 != 0) return false;
  if (text.empty()) {
    bytes.clear();
    return true;
  }
  for (char ch : text)
    if (static_cast<unsigned char>(ch) <= ' ') return false;  // the decoder would skip blanks
  std::string out(text.size() / 4 * 3, '\0');
  const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
  if (n < 0) return false;
  std::size_t padding = 0;
  if (text.back() == '=') ++padding;
  if (text.size() >= 2 && text[text.size() - 2] == '=') ++padding;
  // "=" is only allowed as padding at the very end.
  if (text.substr(0, text.size() - padding).find('=') != std::string_view::npos) return false;
  out.resize(static_cast<std::size_t>(n) - padding);
  bytes = std::move(out);
  return true;
}

}  // namespace

std::string encodeSecretBytes(std::string_view bytes) { return base64Encode(cfb8(bytes, true)); }

bool decodeSecretBytes(std::string_view encoded, std::string& bytes) {
  std::string raw;
  if (!base64Decode(encoded, raw)) return false;
  bytes = cfb8(raw, false);
  return true;
}

std::string encodeSecret(std::string_view utf8) { return encodeSecretBytes(utf8ToCp949(utf8)); }

std::string decodeSecret(std::string_view encoded) {
  std::string bytes;
  if (!decodeSecretBytes(encoded, bytes)) return {};
  return cp949ToUtf8(bytes);
}

}  // namespace base
