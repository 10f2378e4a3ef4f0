// file_stream.h: FileStream, the framework's file class: one buffered file opened relative to a
// FolderPath, with typed 8-, 16- and 32-bit values in either byte order, zero-terminated strings
// and a run-length coding of bytes.
//
// The font loader reads the .fnt files with it (Open, BinaryRead, byte order 0, Read32,
// ReadBytes). Results: true means done; an operation the mode does not allow does nothing and
// fails. A stream without a state block (allocation failed) or without an open file fails
// every read and write, Tell and GetChar give -1, AtEnd gives true, Seek, Print and Close do
// nothing.
//
// Byte order: 0 stores values as they lie in memory (little-endian); 2 stores them byte-swapped
// (big-endian); any other value swaps nothing but counts as non-zero, and BinaryAppend refuses
// a non-zero byte order.
//
// Run-length coding (ReadPacked / WritePacked): a byte below 0xC0 stands for itself; a marker
// 0xC0 + n (n 1 to 63) is followed by a byte v and stands for n bytes v. So five bytes 0x20 are
// C5 20, one byte 0xC7 is C1 C7, one byte 0x41 is 41, and 100 bytes 0x00 are FF 00 E5 00.
#pragma once

#include <cstdint>

class FolderPath;

// The open mode: which standard mode the file is opened with and which operations it allows.
enum FileMode : int32_t {
    TextRead = 0,      // "r":   GetChar
    TextWrite = 1,     // "w":   Print
    BinaryRead = 2,    // "rb":  typed and block reads, ReadString, ReadPacked
    BinaryWrite = 3,   // "wb":  typed and block writes, WriteString, WritePacked
    BinaryAppend = 4,  // "a+b": typed and block reads and writes, strings; nothing packed
};

struct FileStreamState;

class FileStream {
public:
    FileStream();
    // Closes the file (writing out a pending run) and frees the state block.
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Opens folder path + "\" + fileName with the given byte order. Callers close an open
    // stream first.
    bool Open(FolderPath* folder, const char* fileName, uint8_t byteOrder, FileMode mode);
    // Opens and keeps the byte order in the file's first byte: BinaryRead and BinaryAppend read
    // it (BinaryAppend then moves to the end), BinaryWrite writes 0 as the first byte. The text
    // modes have no header byte.
    bool OpenWithHeader(FolderPath* folder, const char* fileName, FileMode mode);
    // Writes out a pending run (BinaryWrite), closes the file and zeroes the state.
    void Close();

    // True at the end of the file, or when there is nothing open.
    bool AtEnd();
    // Moves to `offset` from the start of the file, or from its end when fromEnd is set.
    void Seek(int32_t offset, bool fromEnd);
    // The position in the file, or -1.
    int32_t Tell();

    // TextRead: the next character as fgetc gives it (-1 at the end or when not allowed).
    int GetChar();
    // TextWrite: formatted text as vfprintf writes it.
    void Print(const char* format, ...);

    // BinaryRead, BinaryAppend. Signed and unsigned variants behave the same.
    bool Read8(uint8_t* value);
    bool Read8(int8_t* value);
    bool Read16(uint16_t* value);
    bool Read16(int16_t* value);
    bool Read32(uint32_t* value);
    bool Read32(int32_t* value);
    // BinaryWrite, BinaryAppend.
    bool Write8(uint8_t value);
    bool Write8(int8_t value);
    bool Write16(uint16_t value);
    bool Write16(int16_t value);
    bool Write32(uint32_t value);
    bool Write32(int32_t value);

    // Blocks of bytes: true when all `count` were read or written. A short read leaves what was
    // read in the buffer.
    bool ReadBytes(void* buffer, uint32_t count);
    bool WriteBytes(const void* buffer, uint32_t count);
    // Arrays of 16-bit values in the stream's byte order. Write16Array leaves the caller's
    // array as it was.
    bool Read16Array(uint16_t* values, uint32_t count);
    bool Read16Array(int16_t* values, uint32_t count);
    bool Write16Array(uint16_t* values, uint32_t count);
    bool Write16Array(int16_t* values, uint32_t count);

    // Reads characters up to and including a zero byte, or to the end of the file, and stores
    // them zero-terminated; never writes more than `capacity` bytes. True when a whole string
    // was read (a zero byte, or text up to the end of the file); false when nothing could be
    // read or the string did not fit (the buffer then holds its first capacity - 1 characters).
    bool ReadString(char* buffer, uint32_t capacity);
    // Writes the text and its zero byte.
    bool WriteString(const char* text);

    // BinaryRead: the next decoded byte. False when a byte it needs cannot be read, and for a
    // marker of exactly 0xC0 (a run of no bytes: a damaged file), which delivers nothing.
    bool ReadPacked(uint8_t* value);
    // BinaryWrite: adds one byte to the coded output (true in that mode whatever the writes do).
    bool WritePacked(uint8_t value);
    // BinaryWrite: writes out the pending run.
    void FlushPacked();

private:
    FileStreamState* state_;
};
