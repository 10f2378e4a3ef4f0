// update_file_table.h: the 47 files one update replaces in the game's folder.
//
// The order of the table is the order of everything else: the size slots of the "update.dat"
// header, the file contents after it, the order pack mode reads the loose files, and the order
// the wizard installs them. Changing order, count or names makes existing packages unreadable.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int UpdateFileCount = 47;

// Bare file name of entry `index` (0..46), no folder part.
const char* UpdateFileName(int index);
// Folder below the game folder that receives entry `index`: "\", "\data\" or "\pictures\".
const char* UpdateFileSubfolder(int index);
// Where entry `index` goes: the game folder, its subfolder and its name, in `path` (`size` bytes).
// False when that does not fit. Used by the update steps, the space check and the run log.
bool UpdateFileTarget(const char* gameFolder, int index, char* path, size_t size);

// Entries recognised by name (compared without regard to case), never by index:
// "readme.txt" travels outside the package (the language readme is installed in its place), and a
// destination fault on "pics.cfg" is ignored by the wizard.
bool IsReadmeEntry(int index);
bool IsPicturesConfigEntry(int index);

// Compares two names as Windows does (ASCII letters without regard to case).
bool NamesEqual(const char* a, const char* b);
