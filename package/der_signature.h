// der_signature.h: the signature file "SHA256SUMS.sig" as `openssl dgst -sha256 -sign` writes it
// for an elliptic-curve key: DER, SEQUENCE { INTEGER r, INTEGER s }. Read here, in one place for
// both systems, into the raw form r||s that CNG verifies and the POSIX backend turns back into
// its own structure. Called by list_signature.cpp (and the fuzz target fuzz_der_signature).
#pragma once

#include <cstddef>
#include <cstdint>

enum : int {
    P256ScalarSize = 32,
    P256RawSignatureSize = 2 * P256ScalarSize,  // r then s, each big-endian, left-padded with zeros
    DerSignatureMaxSize = 2 + 2 * (2 + P256ScalarSize + 1),  // 72: both integers with a sign byte
};

// Reads the DER ECDSA-Sig-Value strictly: short-form lengths that match exactly, each INTEGER
// positive, nonzero, minimally encoded (a leading 0 only before a byte with the high bit set) and
// of at most 32 significant bytes, nothing after s or after the SEQUENCE. Anything else is not
// this file's form, so a second encoding of one signature is never accepted. Writes r||s into
// `raw` and returns true; false leaves `raw` undefined.
bool ReadDerSignature(const uint8_t* der, size_t length, uint8_t raw[P256RawSignatureSize]);
