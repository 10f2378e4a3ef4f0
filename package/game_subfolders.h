// game_subfolders.h: the folders below the game folder that an update writes into ("data",
// "pictures") must be the game's own. One that is a link (or a junction) leads outside the folder
// the player gave, and renaming a game file there would change files elsewhere; the game folder
// itself is taken as the player named it, link or not. A subfolder that is missing is no fault
// here (its entries fail, or "pics.cfg" is passed over, as the wizard decides).
// The wizard asks at its step-0 checks, before the first game file is touched; the recovery of a
// dead run asks before it puts anything back.
#pragma once

#include <cstddef>

// Writes into `folder` the path of the first subfolder the update writes into that exists but is
// no plain folder (a link, a junction, a file) and returns true; false when there is none (also
// when a path does not fit, which the update itself then refuses).
bool FindForeignSubfolder(const char* gameFolder, char* folder, size_t size);
