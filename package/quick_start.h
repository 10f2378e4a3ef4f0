// quick_start.h: the game's quick-start files, "qstart\*.qst" in the game folder, which an update
// leaves out of date.
//
// The wizard calls ProcessQuickStartFiles(false) after the installation to learn whether any
// exist, and ProcessQuickStartFiles(true) when the user agrees to delete them.
#pragma once

// deleteFiles false: true when at least one entry matches (names compared without regard to
// case; "qstart" itself is not searched below); nothing changes.
// deleteFiles true: deletes every match (a link as itself), making it writable first only where
// a read-only file cannot be deleted otherwise; an entry that cannot be deleted
// (or whose path would not fit in 200 characters) is skipped. Always true.
bool ProcessQuickStartFiles(const char* gameFolder, bool deleteFiles);
