// posix_record_encoding.h: the two encodings of the record file on POSIX, between the file's bytes
// and the text posix_record_text.h parses and edits. Called by posix_record_file.cpp on every read
// and write, so that a record exported by the registry editor on either system works as it is.
//
// - 8-bit ("REGEDIT4", and what the program writes when it makes a new file): the bytes are the
//   text, unchanged.
// - UTF-16 little-endian behind the mark FF FE, header "Windows Registry Editor Version 5.00",
//   CR LF line ends: what the registry editor exports by default. Decoded to UTF-8, the
//   encoding of the program's paths; written back encoded the same way, and since the decoding is
//   strict, every line an edit leaves alone gets its bytes back. An odd byte count or an unpaired
//   surrogate makes the file damaged: it is no record, and it is not rewritten (a guess could turn
//   the game's folder into another one). Zero characters pass as zero bytes, as in 8-bit files.
// - 8-bit behind the UTF-8 mark EF BB BF: what a text editor may leave when a user edits a
//   REGEDIT4 file. Read as 8-bit after the mark (its bytes are UTF-8 already, the paths' own
//   encoding, so nothing is converted) and the mark is kept on rewriting, because the file is the
//   user's and every byte a write does not have to change stays.
// A file in any other encoding (UTF-16 without its mark, big-endian) reads as 8-bit and holds no
// record the parser can find.
#pragma once

#include <string>

#include "platform/posix/posix_record_text.h"

enum class RecordEncoding { Bytes, Utf8Marked, Utf16 };

// Finds the encoding of the file's bytes and decodes them into `text`. False for a damaged UTF-16
// file.
bool DecodeRecordFile(const std::string& bytes, RecordEncoding* encoding, std::string* text);

// The bytes of `text` in the encoding, its mark first. False when the text cannot be encoded
// (malformed UTF-8 for a UTF-16 file).
bool EncodeRecordFile(RecordEncoding encoding, const std::string& text, std::string* bytes);

// How a write adds lines to a file of the encoding: a UTF-16 file gets CR LF and the 5.00 header,
// as the registry editor writes it; the 8-bit ones their own line end and "REGEDIT4".
RecordLineStyle RecordLineStyleOf(RecordEncoding encoding);
