// make_sample_update: writes a sample update - the 46 loose files that pack mode reads and the
// seven language readmes - into a folder, for the tests, the demo and the benchmarks.
//
//   make_sample_update <folder> [--old] [--scale-mib N]
//
// Every file has distinct, checkable contents: a first line naming the file, its size and the
// edition ("new", or "old" with --old, for a game folder to update), then bytes from a generator
// seeded by the file's name. Sizes exercise the copy chunking: two empty files, files around
// 64 KiB, one over 1 MiB. --scale-mib N adds N MiB spread over a few large files (benchmarks).
// Nothing here comes from the real game. Built for the build machine only; standard C++ only.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The loose files of an update, in package order, with the sizes of the sample (readme.txt,
// which is not packed, is left out).
struct SampleFile {
    const char* name;
    long size;
};

const SampleFile SampleFiles[] = {
    {"tlf.exe", 300000},          {"euro.cfg", 1200},          {"events_eng.cfg", 65535},
    {"events_fra.cfg", 65536},    {"events_ita.cfg", 65537},   {"events_por.cfg", 131072},
    {"events_nor.cfg", 40000},    {"events_spa.cfg", 41000},   {"events_swe.cfg", 42000},
    {"pics.cfg", 800},            {"player_setup.cfg", 0},     {"weather.cfg", 77},
    {"city.dat", 20000},          {"club.dat", 1600000},       {"club_comp.dat", 9000},
    {"club_comp_history.dat", 5}, {"colour.dat", 256},         {"common_names.dat", 70000},
    {"continent.dat", 123},       {"first_names.dat", 90000},  {"index.dat", 4096},
    {"nat_club.dat", 3000},       {"nation.dat", 12000},       {"nation_comp.dat", 7000},
    {"nation_comp_history.dat", 1}, {"officials.dat", 15000},  {"second_names.dat", 99999},
    {"stadium.dat", 11000},       {"staff.dat", 250000},       {"staff_comp.dat", 8000},
    {"staff_comp_history.dat", 6000}, {"staff_history.dat", 0}, {"eng.lng", 30000},
    {"esp.lng", 31000},           {"fra.lng", 32000},          {"ita.lng", 33000},
    {"nor.lng", 34000},           {"por.lng", 35000},          {"swe.lng", 36000},
    {"language.ldb", 64000},      {"442_push.pct", 500},       {"4312_v1.pct", 501},
    {"defensive_counter.pct", 502}, {"424_v1.pct", 503},       {"changes.txt", 2000},
    {"fancluburls.txt", 900},
};

const char* const ReadmeNames[7] = {"readme_eng.txt", "readme_esp.txt", "readme_fra.txt", "readme_ita.txt",
                                    "readme_nor.txt", "readme_por.txt", "readme_sve.txt"};
const char* const ReadmeLanguages[7] = {"English", "Spanish", "French", "Italian",
                                        "Norwegian", "Portuguese", "Swedish"};

uint64_t SeedOf(const std::string& text) {
    uint64_t seed = 1469598103934665603ull;
    for (unsigned char c : text) seed = (seed ^ c) * 1099511628211ull;
    return seed | 1;
}

bool WriteSampleFile(const std::string& path, const std::string& seedText, const std::string& firstLine, long size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    uint64_t state = SeedOf(seedText);
    static unsigned char buffer[1 << 16];
    long written = 0;
    bool ok = true;
    while (ok && written < size) {
        long chunk = size - written < static_cast<long>(sizeof buffer) ? size - written : static_cast<long>(sizeof buffer);
        for (long i = 0; i < chunk; ++i) {
            long at = written + i;
            if (at < static_cast<long>(firstLine.size())) {
                buffer[i] = static_cast<unsigned char>(firstLine[at]);
            } else {
                state ^= state << 13;
                state ^= state >> 7;
                state ^= state << 17;
                buffer[i] = static_cast<unsigned char>(state >> 24);
            }
        }
        ok = std::fwrite(buffer, static_cast<size_t>(chunk), 1, file) == 1;
        written += chunk;
    }
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder> [--old] [--scale-mib N]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    bool old = false;
    long scaleMib = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--old") == 0) old = true;
        else if (std::strcmp(argv[i], "--scale-mib") == 0 && i + 1 < argc) scaleMib = std::atol(argv[++i]);
        else {
            std::fprintf(stderr, "%s: unknown option %s\n", argv[0], argv[i]);
            return 2;
        }
    }
    const char* edition = old ? "old" : "new";
    // The large extra bytes go to four files so that entries of several hundred MiB occur.
    const char* const bigFiles[4] = {"club.dat", "staff.dat", "common_names.dat", "tlf.exe"};
    long total = 0;
    for (const SampleFile& sample : SampleFiles) {
        long size = old ? sample.size / 2 + 10 : sample.size;
        if (!old && scaleMib > 0) {
            for (const char* big : bigFiles)
                if (std::strcmp(big, sample.name) == 0) size += scaleMib * 1024 * 1024 / 4;
        }
        std::string firstLine = "TLF sample " + std::string(edition) + " " + sample.name + " " + std::to_string(size) + "\n";
        if (!WriteSampleFile(folder + "/" + sample.name, std::string(edition) + sample.name, firstLine, size)) {
            std::fprintf(stderr, "%s: cannot write %s/%s\n", argv[0], folder.c_str(), sample.name);
            return 1;
        }
        total += size;
    }
    if (!old) {
        for (int language = 0; language < 7; ++language) {
            std::string text = std::string("Tallyfield update 3.04e\r\n\r\nThis is the ") + ReadmeLanguages[language] +
                               " readme of the sample update.\r\n";
            if (!WriteSampleFile(folder + "/" + ReadmeNames[language], "readme", text, static_cast<long>(text.size()))) {
                std::fprintf(stderr, "%s: cannot write the readmes\n", argv[0]);
                return 1;
            }
        }
    }
    std::printf("%s: %zu %s files, %ld bytes, in %s\n", argv[0], sizeof SampleFiles / sizeof SampleFiles[0], edition,
                total, folder.c_str());
    return 0;
}
