// background_digest.h: a SHA-256 computed on a worker thread while the caller goes on copying.
//
// Used by the copy loops of package/update_package.cpp (pack mode's package and entry digests,
// the checked extraction of an entry and of the readme). Hashing a chunk takes about as long as
// reading and writing it, so done in turn with the copy it would make a checked install a third
// slower; handed to a second thread it overlaps the next chunks' reads and writes. The worker
// reads the caller's bytes where they are (no copy): at most two chunks are in its hands, and
// Add first waits for the chunk handed over two Adds before. So a caller that copies through
// three buffers in turn may refill a buffer once the Add after the one that handed it over has
// returned. Settle waits for every chunk handed over; End also joins the thread.
// The hash itself is the platform's (PlatformSha256*, platform/platform_system.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform_system.h"

struct BackgroundDigest;

// Starts a digest and its worker; null when either cannot be had.
BackgroundDigest* BackgroundDigestBegin();
// Hands `count` bytes to the worker; they must stay unchanged until the next Add but one has
// returned, or Settle or End. Nothing for a null digest or no bytes.
void BackgroundDigestAdd(BackgroundDigest* digest, const void* bytes, size_t count);
// Waits until every chunk handed over is hashed, so that the caller may reuse its buffers.
void BackgroundDigestSettle(BackgroundDigest* digest);
// Waits for the worker, writes the digest and frees everything; false when the digest is null
// or hashing failed. Must be called once for every digest begun.
bool BackgroundDigestEnd(BackgroundDigest* digest, uint8_t result[Sha256DigestSize]);
