// game_sets.cpp: GameDiffersFrom and CountTemporaryFiles (wizard_session.h).
#include <filesystem>
#include <set>

#include "app/texts.h"
#include "package/update_file_table.h"
#include "tests/e2e/wizard_session.h"

namespace {

bool HadOldFile(int i) { return i == 0 || i == 9 || i == 12 || i == 44 || i == 45; }

}  // namespace

std::string GameDiffersFrom(const WizardSession& s, bool updated, int language) {
    std::set<std::string> expected;
    for (int i = 0; i < UpdateFileCount; ++i) {
        std::string contents;
        const bool present = s.ReadGameFile(EntryPath(i), &contents);
        if (updated || HadOldFile(i)) expected.insert(EntryPath(i));
        if (!updated && !HadOldFile(i) && present) return EntryPath(i) + " of the update is there";
        if (!updated && HadOldFile(i) && contents != OldContents(i)) return EntryPath(i) + " is not the old file";
        const std::string wanted = IsReadmeEntry(i) ? ReadmeContents(language) : NewContents(i);
        if (updated && contents != wanted) return EntryPath(i) + " is not the new file";
    }
    if (!updated) expected.insert("tlf.icd");
    if (s.GameFileExists("tlf.icd") == updated) return updated ? "tlf.icd is still there" : "tlf.icd is gone";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(s.gameFolder)) {
        const std::string relative = std::filesystem::relative(entry.path(), s.gameFolder).generic_string();
        if (relative.find("~tlf") != std::string::npos) return "left behind: " + relative;
        if (entry.is_regular_file() && relative.rfind("qstart/", 0) != 0 && !expected.count(relative)) return "stray file: " + relative;
    }
    const std::string version = s.RecordVersion();
    if (version != (updated ? NewVersionText : "Release")) return "the record says " + version;
    return "";
}

int CountTemporaryFiles(const std::string& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        count += entry.path().filename().string().find("~tlf") != std::string::npos;
    return count;
}
