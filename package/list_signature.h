// list_signature.h: whether the checksum list "SHA256SUMS" is the publisher's. The list proves
// that the files arrived as they left; its signature "SHA256SUMS.sig" (`openssl dgst -sha256
// -sign publisher.key -out SHA256SUMS.sig SHA256SUMS`) proves who made the list. A program with
// built-in keys (publisher_keys.h) installs only when the signature verifies over the exact bytes
// of the list against one of them and the signed list names every file the installer reads; the
// entries are then checked against their listed digests while copied, as without keys.
//
// Called by the wizard's source check (app/wizard_flow.cpp) with the bytes that
// ReadChecksumList read, so that what is verified is what is parsed.
#pragma once

#include <cstddef>

#include "package/checksum_list.h"

extern const char SignatureFileName[];  // "SHA256SUMS.sig", beside "SHA256SUMS"

enum SignedListFault {
    SignedListFine,          // verified and complete, or the program has no key
    SignedListNoList,        // no "SHA256SUMS" to verify
    SignedListNoSignature,   // no "SHA256SUMS.sig", or it cannot be read as a file
    SignedListBadSignature,  // not an ECDSA signature, or by no built-in key over these bytes
    SignedListUnlisted,      // verified, but the list does not name `file`
};

struct SignedListCheck {
    SignedListFault fault;
    const char* file;  // the file the "update file is corrupt" page names; null when fine
    int key;           // the index of the key that verified, -1 when none did
};

// Checks the list read as `bytes` (state and parsed lines in `list`) against the built-in keys.
// A program without keys returns fine without reading "SHA256SUMS.sig". A malformed list is left
// to the caller's list check (the publisher signed a damaged list).
SignedListCheck CheckSignedList(const char* bytes, size_t length, const ChecksumList& list, const char* readme);
