// A throw-away CA and a server certificate for the loopback host, so tests
// can talk HTTPS with verification on.
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

#include "standin.h"

namespace standin {
namespace {

struct Free {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
  void operator()(X509* cert) const { X509_free(cert); }
  void operator()(FILE* file) const { std::fclose(file); }
};
using Key = std::unique_ptr<EVP_PKEY, Free>;
using Cert = std::unique_ptr<X509, Free>;

void check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

Key newKey() {
  Key key(EVP_EC_gen("P-256"));
  check(key != nullptr, "key generation failed");
  return key;
}

void addExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  check(extension != nullptr, "bad extension");
  X509_add_ext(cert, extension, -1);
  X509_EXTENSION_free(extension);
}

Cert newCert(EVP_PKEY* key, const char* commonName, long serial) {
  Cert cert(X509_new());
  check(cert != nullptr, "X509_new failed");
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 30);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Daybook test"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  return cert;
}

template <typename Write>
void writePem(const std::string& path, Write write) {
  std::unique_ptr<FILE, Free> file(std::fopen(path.c_str(), "wb"));
  check(file != nullptr, "cannot write a file");
  check(write(file.get()) == 1, "cannot write PEM");
}

}  // namespace

TestCertificates makeTestCertificates(const std::string& dir) {
  std::filesystem::create_directories(dir);
  // A random serial keeps certificates of different runs apart.
  const long serial = static_cast<long>(std::random_device{}() & 0x7fffffff);

  Key caKey = newKey();
  Cert ca = newCert(caKey.get(), "Daybook test CA", serial);
  X509_set_issuer_name(ca.get(), X509_get_subject_name(ca.get()));
  addExtension(ca.get(), ca.get(), NID_basic_constraints, "critical,CA:TRUE");
  addExtension(ca.get(), ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
  addExtension(ca.get(), ca.get(), NID_subject_key_identifier, "hash");
  check(X509_sign(ca.get(), caKey.get(), EVP_sha256()) > 0, "cannot sign the CA");

  Key serverKey = newKey();
  Cert server = newCert(serverKey.get(), "127.0.0.1", serial + 1);
  X509_set_issuer_name(server.get(), X509_get_subject_name(ca.get()));
  addExtension(server.get(), ca.get(), NID_basic_constraints, "critical,CA:FALSE");
  addExtension(server.get(), ca.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment");
  addExtension(server.get(), ca.get(), NID_ext_key_usage, "serverAuth");
  addExtension(server.get(), ca.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
  addExtension(server.get(), ca.get(), NID_authority_key_identifier, "keyid");
  check(X509_sign(server.get(), caKey.get(), EVP_sha256()) > 0, "cannot sign the server certificate");

  const std::filesystem::path folder(dir);
  TestCertificates files{(folder / "ca.pem").string(), (folder / "server.pem").string(),
                         (folder / "server.key").string()};
  writePem(files.caFile, [&](FILE* f) { return PEM_write_X509(f, ca.get()); });
  writePem(files.certFile, [&](FILE* f) { return PEM_write_X509(f, server.get()); });
  writePem(files.keyFile, [&](FILE* f) {
    return PEM_write_PrivateKey(f, serverKey.get(), nullptr, nullptr, 0, nullptr, nullptr);
  });
  std::filesystem::permissions(files.keyFile, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  return files;
}

}  // namespace standin
