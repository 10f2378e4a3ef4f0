// posix_p256.cpp: PlatformVerifyP256 of platform_system.h over OpenSSL's libcrypto. The raw r||s
// that the portable reader made of "SHA256SUMS.sig" is encoded again by libcrypto itself, so that
// the file is parsed in one place only; the key must be a P-256 key, whatever else the DER holds.
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/obj_mac.h>
#include <openssl/x509.h>

#include <memory>

#include "platform/platform_system.h"

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct SignatureFree {
    void operator()(ECDSA_SIG* signature) const { ECDSA_SIG_free(signature); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

bool IsP256(EVP_PKEY* key) {
    char curve[64];
    size_t length = 0;
    return EVP_PKEY_get_base_id(key) == EVP_PKEY_EC &&
           EVP_PKEY_get_utf8_string_param(key, "group", curve, sizeof curve, &length) == 1 &&
           OBJ_sn2nid(curve) == NID_X9_62_prime256v1;
}

}  // namespace

bool PlatformVerifyP256(const uint8_t* publicKeyDer, size_t derLength, const void* message, size_t messageLength,
                        const uint8_t rawSignature[64]) {
    const unsigned char* next = publicKeyDer;
    std::unique_ptr<EVP_PKEY, KeyFree> key(d2i_PUBKEY(nullptr, &next, static_cast<long>(derLength)));
    if (!key || next != publicKeyDer + derLength || !IsP256(key.get())) return false;

    std::unique_ptr<ECDSA_SIG, SignatureFree> signature(ECDSA_SIG_new());
    BIGNUM* r = BN_bin2bn(rawSignature, 32, nullptr);
    BIGNUM* s = BN_bin2bn(rawSignature + 32, 32, nullptr);
    if (!signature || r == nullptr || s == nullptr || ECDSA_SIG_set0(signature.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        return false;
    }
    unsigned char* der = nullptr;
    const int length = i2d_ECDSA_SIG(signature.get(), &der);
    if (length <= 0) return false;

    std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    const bool verified = context && EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
                          EVP_DigestVerify(context.get(), der, static_cast<size_t>(length),
                                           static_cast<const unsigned char*>(message), messageLength) == 1;
    OPENSSL_free(der);
    return verified;
}
