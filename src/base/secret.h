// The stored-secret encoding of every password, token and diary text:
// Blowfish in 8-bit cipher feedback over the CP949 bytes, keyed by the SHA-1
// digest of a fixed passphrase, then Base64.  Each value is encoded on its own.
#pragma once

#include <string>
#include <string_view>

namespace base {

// UTF-8 in; the Base64 text out (its CP949 form).
std::string encodeSecret(std::string_view utf8);
// Base64 text in, UTF-8 out.  Text that is not valid Base64 decodes as empty.
std::string decodeSecret(std::string_view encoded);

// The same over raw bytes (CP949 or anything else).
std::string encodeSecretBytes(std::string_view bytes);
bool decodeSecretBytes(std::string_view encoded, std::string& bytes);

}  // namespace base
