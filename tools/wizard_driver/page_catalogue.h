// page_catalogue.h: the wizard's pages as pictures, drawn by the real application through the
// headless backend on a fresh installation (tools/wizard_driver/wizard_session.h). Used by the
// tlf_render_pages program (docs/pages, the end-to-end scripts' reference pictures) and by the
// golden-page test, which compares every page with docs/pages.
#pragma once

#include <functional>
#include <string>

// Called once per page while the frame buffer holds it, with the picture's name (no ".png").
using SavePage = std::function<void(const std::string& name)>;

// Every state's page in every language, 77 pages: "state_NN_<state>" in English and
// "language_<code>_<state>" in the six others. The updating page shows a real update two fifths
// of the way; the folder page holds "c:\games\tlf"; the write-failure page tells of
// "data\club.dat" in use by another program. False when a page could not be reached.
bool RenderEveryPage(const SavePage& save);

// The English walk the end-to-end scripts drive the real programs through, with the record's
// "Version" `version`: choose_language, confirm_versions, quick_start_prompt, completed (a game
// with quick-start files, answered Yes), source_missing (no "update.dat"), write_failed (no
// "data" folder) and enter_folder (after "< Back" from there, `typedFolder` typed into the
// emptied field; left out when typedFolder is empty), and damaged_entry (one byte of "tlf.exe"
// damaged inside "update.dat", found by the checksum list).
bool RenderWalkPages(const std::string& version, const std::string& typedFolder, const SavePage& save);

// Writes the frame buffer as `folder`/`name`.png.
bool WriteFrameBufferPng(const std::string& folder, const std::string& name);
