// system_p256.cpp: PlatformVerifyP256 of platform_system.h over the system's CNG (bcrypt.dll).
// CNG takes neither DER keys nor DER signatures: the key is the 65-byte uncompressed point at the
// end of the SubjectPublicKeyInfo, given as a BCRYPT_ECCPUBLIC_BLOB, and the signature is r||s,
// as the portable reader of "SHA256SUMS.sig" gives it (package/der_signature.h).
#include <windows.h>

#include <bcrypt.h>

#include <cstring>

#include "platform/platform_system.h"

namespace {

// The SubjectPublicKeyInfo of every P-256 key with an uncompressed point, up to the point's X:
// SEQUENCE, AlgorithmIdentifier (id-ecPublicKey, prime256v1), BIT STRING of 66 bytes, 0x04.
const uint8_t P256KeyInfoStart[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x02, 0x01, 0x06,
                                    0x08, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};
constexpr size_t CoordinateSize = 32;

}  // namespace

bool PlatformVerifyP256(const uint8_t* publicKeyDer, size_t derLength, const void* message, size_t messageLength,
                        const uint8_t rawSignature[64]) {
    if (derLength != sizeof P256KeyInfoStart + 2 * CoordinateSize ||
        std::memcmp(publicKeyDer, P256KeyInfoStart, sizeof P256KeyInfoStart) != 0) {
        return false;
    }
    uint8_t digest[Sha256DigestSize];
    PlatformSha256* sha = PlatformSha256Begin();
    PlatformSha256Add(sha, message, messageLength);
    if (!PlatformSha256End(sha, digest)) return false;

    uint8_t blob[sizeof(BCRYPT_ECCKEY_BLOB) + 2 * CoordinateSize];
    BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, static_cast<ULONG>(CoordinateSize)};
    std::memcpy(blob, &header, sizeof header);
    std::memcpy(blob + sizeof header, publicKeyDer + sizeof P256KeyInfoStart, 2 * CoordinateSize);

    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0) return false;
    BCRYPT_KEY_HANDLE key = nullptr;
    bool verified = false;
    if (BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob, sizeof blob, 0) == 0) {
        uint8_t signature[64];
        std::memcpy(signature, rawSignature, sizeof signature);
        verified = BCryptVerifySignature(key, nullptr, digest, sizeof digest, signature, sizeof signature, 0) == 0;
        BCryptDestroyKey(key);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return verified;
}
