// write_failure_text.h: the words of the write-failure page, put together from the wizard's
// record of the failure. Pure functions; the page (wizard_pages.cpp) wraps what they give.
#pragma once

#include <cstddef>
#include <cstdint>

struct WriteFailureRecord;

// Bytes as whole megabytes (1,048,576 bytes) with the unit, "120 MB"; rounded up when roundUp
// (an amount needed never looks smaller than it is), down otherwise (free space never larger).
void FormatMegabytes(int64_t bytes, bool roundUp, char* text, size_t size);

// The file as the page names it: below the game folder when it lies there ("data\club.dat"),
// else the whole path. `name` holds at least as many bytes as `file`.
void FileNameInGame(const char* file, const char* gameFolder, char* name, size_t size);

// The reason paragraph of the page: the reason's text, or for the space check the amounts
// needed and free put into NotEnoughSpaceText.
void WriteFailureReasonLine(const WriteFailureRecord& failure, int32_t language, char* text, size_t size);
