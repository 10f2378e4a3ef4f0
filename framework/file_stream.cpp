// file_stream.cpp: FileStream (see file_stream.h), over the standard buffered files opened with
// PlatformOpenFile.
#include "framework/file_stream.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/folder_path.h"
#include "platform/platform_system.h"

struct FileStreamState {
    FILE* handle;      // null while closed
    int32_t mode;      // the FileMode of the open file; 0 while closed
    uint8_t runValue;  // the byte of the pending run
    uint8_t runCount;  // bytes of the run still to write (writing) or to deliver (reading)
    uint8_t byteOrder;
    // BinaryAppend only: whether the last access read or wrote. The C library needs a
    // positioning call between a read and a following write (and back); Windows enforces it.
    uint8_t lastAccess;
};

namespace {

enum : uint8_t { ByteOrderSwapped = 2, MaxRunLength = 63, RunMarker = 0xC0 };

const char* const kModeStrings[] = {"r", "w", "rb", "wb", "a+b"};

uint16_t Swap16(uint16_t value) { return static_cast<uint16_t>((value >> 8) | (value << 8)); }

uint32_t Swap32(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

enum : uint8_t { AccessNone = 0, AccessRead = 1, AccessWrite = 2 };

// Whether the stream may read or write now; in BinaryAppend it also makes the switch between
// reading and writing legal.
bool Prepare(FileStreamState* state, int32_t onlyMode, uint8_t access) {
    if (!state || !state->handle || (state->mode != onlyMode && state->mode != BinaryAppend)) return false;
    if (state->mode == BinaryAppend && state->lastAccess != access) {
        if (state->lastAccess != AccessNone) std::fseek(state->handle, 0, SEEK_CUR);
        state->lastAccess = access;
    }
    return true;
}

bool CanRead(FileStreamState* state) { return Prepare(state, BinaryRead, AccessRead); }

bool CanWrite(FileStreamState* state) { return Prepare(state, BinaryWrite, AccessWrite); }

bool Swaps(const FileStreamState* state) { return state->byteOrder == ByteOrderSwapped; }

}  // namespace

FileStream::FileStream() : state_(static_cast<FileStreamState*>(std::calloc(1, sizeof(FileStreamState)))) {}

FileStream::~FileStream() {
    Close();
    std::free(state_);
}

namespace {

// The common part of both opens: the file is open and its mode stored, or nothing is open.
FILE* OpenJoined(FolderPath* folder, const char* fileName, FileMode mode) {
    if (!folder || !fileName || mode < TextRead || mode > BinaryAppend) return nullptr;
    char path[FolderPathCapacity];
    // A folder without a state block has an empty path and opens nothing.
    if (!folder->GetPath()[0]) return nullptr;
    if (!JoinGamePath(path, sizeof(path), folder->GetPath(), fileName)) return nullptr;
    return PlatformOpenFile(path, kModeStrings[mode]);
}

}  // namespace

bool FileStream::Open(FolderPath* folder, const char* fileName, uint8_t byteOrder, FileMode mode) {
    if (!state_) return false;
    FILE* handle = OpenJoined(folder, fileName, mode);
    if (!handle) return false;
    state_->handle = handle;
    state_->byteOrder = byteOrder;
    if (state_->byteOrder != 0 && mode == BinaryAppend) {
        std::fclose(handle);
        state_->handle = nullptr;
        return false;
    }
    state_->mode = mode;
    return true;
}

bool FileStream::OpenWithHeader(FolderPath* folder, const char* fileName, FileMode mode) {
    if (!state_) return false;
    FILE* handle = OpenJoined(folder, fileName, mode);
    if (!handle) return false;
    state_->handle = handle;
    if (mode == BinaryRead || mode == BinaryAppend) {
        std::fseek(handle, 0, SEEK_SET);
        uint8_t header;
        if (std::fread(&header, 1, 1, handle) == 1) state_->byteOrder = header;
        if (mode == BinaryAppend) std::fseek(handle, 0, SEEK_END);
    } else if (mode == BinaryWrite) {
        state_->byteOrder = 0;
        std::fwrite(&state_->byteOrder, 1, 1, handle);
    }
    if (state_->byteOrder != 0 && mode == BinaryAppend) {
        std::fclose(handle);
        state_->handle = nullptr;
        return false;
    }
    state_->mode = mode;
    return true;
}

void FileStream::Close() {
    if (!state_) return;
    FlushPacked();
    if (state_->handle) std::fclose(state_->handle);
    std::memset(state_, 0, sizeof(*state_));
}

bool FileStream::AtEnd() { return !state_ || !state_->handle || std::feof(state_->handle); }

void FileStream::Seek(int32_t offset, bool fromEnd) {
    if (!state_ || !state_->handle) return;
    std::fseek(state_->handle, offset, fromEnd ? SEEK_END : SEEK_SET);
    state_->lastAccess = AccessNone;
}

int32_t FileStream::Tell() {
    if (!state_ || !state_->handle) return -1;
    return static_cast<int32_t>(std::ftell(state_->handle));
}

int FileStream::GetChar() {
    if (!state_ || !state_->handle || state_->mode != TextRead) return -1;
    return std::fgetc(state_->handle);
}

void FileStream::Print(const char* format, ...) {
    if (!state_ || !state_->handle || state_->mode != TextWrite || !format) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(state_->handle, format, arguments);
    va_end(arguments);
}

bool FileStream::Read8(uint8_t* value) { return value && CanRead(state_) && std::fread(value, 1, 1, state_->handle) == 1; }
bool FileStream::Read8(int8_t* value) { return Read8(reinterpret_cast<uint8_t*>(value)); }

bool FileStream::Read16(uint16_t* value) {
    if (!value || !CanRead(state_)) return false;
    bool read = std::fread(value, 2, 1, state_->handle) == 1;
    if (Swaps(state_)) *value = Swap16(*value);
    return read;
}
bool FileStream::Read16(int16_t* value) { return Read16(reinterpret_cast<uint16_t*>(value)); }

bool FileStream::Read32(uint32_t* value) {
    if (!value || !CanRead(state_)) return false;
    bool read = std::fread(value, 4, 1, state_->handle) == 1;
    if (Swaps(state_)) *value = Swap32(*value);
    return read;
}
bool FileStream::Read32(int32_t* value) { return Read32(reinterpret_cast<uint32_t*>(value)); }

bool FileStream::Write8(uint8_t value) { return CanWrite(state_) && std::fwrite(&value, 1, 1, state_->handle) == 1; }
bool FileStream::Write8(int8_t value) { return Write8(static_cast<uint8_t>(value)); }

bool FileStream::Write16(uint16_t value) {
    if (!CanWrite(state_)) return false;
    if (Swaps(state_)) value = Swap16(value);
    return std::fwrite(&value, 2, 1, state_->handle) == 1;
}
bool FileStream::Write16(int16_t value) { return Write16(static_cast<uint16_t>(value)); }

bool FileStream::Write32(uint32_t value) {
    if (!CanWrite(state_)) return false;
    if (Swaps(state_)) value = Swap32(value);
    return std::fwrite(&value, 4, 1, state_->handle) == 1;
}
bool FileStream::Write32(int32_t value) { return Write32(static_cast<uint32_t>(value)); }

bool FileStream::ReadBytes(void* buffer, uint32_t count) {
    if (!buffer || !CanRead(state_)) return false;
    return std::fread(buffer, 1, count, state_->handle) == count;
}

bool FileStream::WriteBytes(const void* buffer, uint32_t count) {
    if (!buffer || !CanWrite(state_)) return false;
    return std::fwrite(buffer, 1, count, state_->handle) == count;
}

bool FileStream::Read16Array(uint16_t* values, uint32_t count) {
    if (!values || !CanRead(state_)) return false;
    bool read = std::fread(values, 2, count, state_->handle) == count;
    if (Swaps(state_))
        for (uint32_t i = 0; i < count; ++i) values[i] = Swap16(values[i]);
    return read;
}
bool FileStream::Read16Array(int16_t* values, uint32_t count) {
    return Read16Array(reinterpret_cast<uint16_t*>(values), count);
}

bool FileStream::Write16Array(uint16_t* values, uint32_t count) {
    if (!values || !CanWrite(state_)) return false;
    bool swap = Swaps(state_);
    if (swap)
        for (uint32_t i = 0; i < count; ++i) values[i] = Swap16(values[i]);
    bool written = std::fwrite(values, 2, count, state_->handle) == count;
    if (swap)
        for (uint32_t i = 0; i < count; ++i) values[i] = Swap16(values[i]);
    return written;
}
bool FileStream::Write16Array(int16_t* values, uint32_t count) {
    return Write16Array(reinterpret_cast<uint16_t*>(values), count);
}

bool FileStream::ReadString(char* buffer, uint32_t capacity) {
    if (!buffer || capacity == 0 || !CanRead(state_)) return false;
    uint32_t length = 0;
    for (;;) {
        int c = std::fgetc(state_->handle);
        if (c == EOF) {
            buffer[length] = 0;
            return length > 0;
        }
        if (c == 0) {
            buffer[length] = 0;
            return true;
        }
        if (length + 1 >= capacity) {
            // No room for this character and the zero: keep what fits, leave the rest unread.
            std::ungetc(c, state_->handle);
            buffer[length] = 0;
            return false;
        }
        buffer[length++] = static_cast<char>(c);
    }
}

bool FileStream::WriteString(const char* text) {
    if (!text || !CanWrite(state_)) return false;
    return std::fwrite(text, 1, std::strlen(text) + 1, state_->handle) >= 1;
}

bool FileStream::ReadPacked(uint8_t* value) {
    if (!value || !state_ || !state_->handle || state_->mode != BinaryRead) return false;
    if (state_->runCount > 0) {
        --state_->runCount;
        *value = state_->runValue;
        return true;
    }
    uint8_t byte;
    if (std::fread(&byte, 1, 1, state_->handle) != 1) return false;
    if (byte < RunMarker) {
        *value = byte;
        return true;
    }
    if (byte == RunMarker) return false;
    uint8_t runValue;
    if (std::fread(&runValue, 1, 1, state_->handle) != 1) return false;
    state_->runValue = runValue;
    state_->runCount = static_cast<uint8_t>(byte - RunMarker - 1);
    *value = runValue;
    return true;
}

bool FileStream::WritePacked(uint8_t value) {
    if (!state_ || !state_->handle || state_->mode != BinaryWrite) return false;
    if (state_->runCount == 0) {
        state_->runValue = value;
        state_->runCount = 1;
    } else if (value == state_->runValue && state_->runCount < MaxRunLength) {
        ++state_->runCount;
    } else {
        FlushPacked();
        state_->runValue = value;
        state_->runCount = 1;
    }
    return true;
}

void FileStream::FlushPacked() {
    if (!state_ || !state_->handle || state_->mode != BinaryWrite || state_->runCount == 0) return;
    if (state_->runCount > 1 || state_->runValue >= RunMarker) {
        uint8_t pair[2] = {static_cast<uint8_t>(RunMarker + state_->runCount), state_->runValue};
        std::fwrite(pair, 1, 2, state_->handle);
    } else {
        std::fwrite(&state_->runValue, 1, 1, state_->handle);
    }
    state_->runCount = 0;
}
