// publisher_keys.h: the publisher's public keys built into the program. Their table is made at
// configure time from the PEM files of the CMake variable TLF_PUBLISHER_KEYS
// (cmake/publisher_keys.cmake writes <build>/generated/publisher_keys_data.cpp); without it the
// table is empty and the program installs updates as before, signed or not. With keys, the wizard
// installs only an update whose "SHA256SUMS" carries a signature by one of them (list_signature.h).
// Read by list_signature.cpp, the usage text and the log (app/command_line.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

struct PublisherKey {
    const uint8_t* der;       // SubjectPublicKeyInfo of a P-256 key, uncompressed point (91 bytes)
    size_t length;
    const char* fingerprint;  // SHA-256 of the DER in 64 lower-case hex digits, as
                              // `openssl pkey -pubin -outform DER | sha256sum` prints it
};

extern const PublisherKey PublisherKeys[];  // PublisherKeyCount entries (a placeholder when 0)
extern const int PublisherKeyCount;
