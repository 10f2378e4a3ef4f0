// update_file_table.cpp: the table itself. See update_file_table.h.
#include "package/update_file_table.h"

#include <cctype>
#include <cstdio>

namespace {

struct UpdateFileEntry {
    const char* name;
    const char* subfolder;
};

// The seven event files are in their own order (English, French, Italian, Portuguese, Norwegian,
// Spanish, Swedish), which differs from the ".lng" files: existing packages depend on it.
constexpr UpdateFileEntry UpdateFileTable[UpdateFileCount] = {
    {"tlf.exe", "\\"},
    {"euro.cfg", "\\data\\"},
    {"events_eng.cfg", "\\data\\"},
    {"events_fra.cfg", "\\data\\"},
    {"events_ita.cfg", "\\data\\"},
    {"events_por.cfg", "\\data\\"},
    {"events_nor.cfg", "\\data\\"},
    {"events_spa.cfg", "\\data\\"},
    {"events_swe.cfg", "\\data\\"},
    {"pics.cfg", "\\pictures\\"},
    {"player_setup.cfg", "\\data\\"},
    {"weather.cfg", "\\data\\"},
    {"city.dat", "\\data\\"},
    {"club.dat", "\\data\\"},
    {"club_comp.dat", "\\data\\"},
    {"club_comp_history.dat", "\\data\\"},
    {"colour.dat", "\\data\\"},
    {"common_names.dat", "\\data\\"},
    {"continent.dat", "\\data\\"},
    {"first_names.dat", "\\data\\"},
    {"index.dat", "\\data\\"},
    {"nat_club.dat", "\\data\\"},
    {"nation.dat", "\\data\\"},
    {"nation_comp.dat", "\\data\\"},
    {"nation_comp_history.dat", "\\data\\"},
    {"officials.dat", "\\data\\"},
    {"second_names.dat", "\\data\\"},
    {"stadium.dat", "\\data\\"},
    {"staff.dat", "\\data\\"},
    {"staff_comp.dat", "\\data\\"},
    {"staff_comp_history.dat", "\\data\\"},
    {"staff_history.dat", "\\data\\"},
    {"eng.lng", "\\data\\"},
    {"esp.lng", "\\data\\"},
    {"fra.lng", "\\data\\"},
    {"ita.lng", "\\data\\"},
    {"nor.lng", "\\data\\"},
    {"por.lng", "\\data\\"},
    {"swe.lng", "\\data\\"},
    {"language.ldb", "\\data\\"},
    {"442_push.pct", "\\data\\"},
    {"4312_v1.pct", "\\data\\"},
    {"defensive_counter.pct", "\\data\\"},
    {"424_v1.pct", "\\data\\"},
    {"readme.txt", "\\"},
    {"changes.txt", "\\"},
    {"fancluburls.txt", "\\data\\"},
};

}  // namespace

const char* UpdateFileName(int index) { return UpdateFileTable[index].name; }

const char* UpdateFileSubfolder(int index) { return UpdateFileTable[index].subfolder; }

bool UpdateFileTarget(const char* gameFolder, int index, char* path, size_t size) {
    const int written = std::snprintf(path, size, "%s%s%s", gameFolder, UpdateFileSubfolder(index), UpdateFileName(index));
    return written > 0 && static_cast<size_t>(written) < size;
}

bool NamesEqual(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

bool IsReadmeEntry(int index) { return NamesEqual(UpdateFileName(index), "readme.txt"); }

bool IsPicturesConfigEntry(int index) { return NamesEqual(UpdateFileName(index), "pics.cfg"); }
