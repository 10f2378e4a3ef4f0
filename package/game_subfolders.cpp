// game_subfolders.cpp: see game_subfolders.h.
#include "package/game_subfolders.h"

#include <cstdio>
#include <cstring>

#include "package/update_file_table.h"
#include "platform/platform_system.h"

bool FindForeignSubfolder(const char* gameFolder, char* folder, size_t size) {
    const char* previous = "\\";
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        const char* subfolder = UpdateFileSubfolder(entry);  // "\", "\data\" or "\pictures\"
        if (std::strcmp(subfolder, previous) == 0) continue;  // the game folder itself, or just looked at
        previous = subfolder;
        const int written = std::snprintf(folder, size, "%s%s", gameFolder, subfolder);
        if (written <= 0 || static_cast<size_t>(written) >= size) continue;
        folder[written - 1] = '\0';  // the subfolder's trailing backslash
        if (PlatformPathKindOf(folder) != PlatformPathKind::Missing && !PlatformIsPlainFolder(folder)) return true;
    }
    return false;
}
