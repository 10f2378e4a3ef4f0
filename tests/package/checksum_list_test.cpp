// checksum_list_test.cpp: "SHA256SUMS" in every form it comes in: as pack mode writes it, as
// `sha256sum -c` also reads it, as Windows' certutil prints it; another product's list beside
// the update, ignored; a list of this update that misses a file the installer reads; and the
// malformed lists, refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "package/checksum_list.h"
#include "package/update_file_table.h"

namespace {

// Each file the installer reads, with digest bytes 0x0i repeated ("0a0a..." for i = 10).
std::vector<std::string> Names() {
    std::vector<std::string> names = {"update.dat", "readme_eng.txt"};
    for (int i = 0; i < UpdateFileCount; ++i)
        if (!IsReadmeEntry(i)) names.push_back(UpdateFileName(i));
    return names;
}

std::string Digest(int i, const char* pairFormat = "%02x") {
    std::string digits;
    char pair[4];
    for (int b = 0; b < ChecksumDigestSize; ++b) digits += (std::snprintf(pair, sizeof pair, pairFormat, i), pair);
    return digits;
}

// The list of every name but `skip`, each line written by `line(i, name)`.
template <typename Line>
std::string List(Line line, const std::string& skip = "") {
    std::string text;
    const std::vector<std::string> names = Names();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] != skip) text += line(static_cast<int>(i), names[i]);
    return text;
}

std::string Plain(int i, const std::string& name) { return Digest(i) + "  " + name + "\n"; }
std::string Certutil(int i, const std::string& name) {
    return "SHA256 hash of " + name + ":\r\n" + Digest(i) + "\r\nCertUtil: -hashfile command completed successfully.\r\n";
}

std::string WithoutLastNewline(std::string text) { return text.substr(0, text.size() - 1); }

struct Case {
    const char* label;
    std::string text;
    ChecksumListState state;
    bool covers;  // when valid: names every file the installer reads
};

const std::string kDistribution = Digest(1) + " *distro-12.iso\n" + Digest(2) + "  distro-12-netinst.iso\n";

const Case kCases[] = {
    {"as pack mode writes it", List(Plain), ChecksumListValid, true},
    {"byte-order mark, CRLF, blank lines, comments",
     "\xEF\xBB\xBF# made by hand\r\n\r\n" + List([](int i, const std::string& n) { return Digest(i) + "  " + n + "\r\n\n"; }),
     ChecksumListValid, true},
    {"./names, *names, upper-case digits, no last newline",
     WithoutLastNewline(List([](int i, const std::string& n) { return Digest(i, "%02X") + (i % 2 ? " *" : "  ./") + n + "\n"; })),
     ChecksumListValid, true},
    {"certutil blocks", List(Certutil), ChecksumListValid, true},
    {"certutil blocks, digit pairs apart, no completion line",
     List([](int i, const std::string& n) { return "SHA256 hash of " + n + ":\n" + Digest(i, " %02x").substr(1) + "\n"; }),
     ChecksumListValid, true},
    {"a distribution's list", kDistribution, ChecksumListForeign, false},
    {"a distribution's list with folders and a signature",
     "-----BEGIN PGP SIGNED MESSAGE-----\n" + kDistribution + Digest(3) + "  pool/main/x.deb\n", ChecksumListForeign, false},
    {"empty", "", ChecksumListForeign, false},
    {"without the readme", List(Plain, "readme_eng.txt"), ChecksumListValid, false},
    {"without club.dat", List(Plain, "club.dat"), ChecksumListValid, false},
    {"line malformed", "not a digest  tlf.exe\n" + List(Plain), ChecksumListMalformed, false},
    {"update.dat's line malformed", List(Plain).erase(0, 1), ChecksumListMalformed, false},
    {"a folder part", List(Plain) + Digest(3) + "  data/club.dat\n", ChecksumListMalformed, false},
    {"./ twice", List(Plain) + Digest(3) + "  ././pics.cfg\n", ChecksumListMalformed, false},
    {"a name twice", List(Plain) + Digest(3) + "  ./CLUB.DAT\n", ChecksumListMalformed, false},
    {"a line of spaces", List(Plain) + "  \n", ChecksumListMalformed, false},
    {"more lines than fit", List(Plain) + List([](int i, const std::string& n) { return Plain(i, "x" + n); }),
     ChecksumListMalformed, false},
    {"certutil mixed with lines", List(Certutil) + Plain(3, "extra.txt"), ChecksumListMalformed, false},
    {"certutil digest not on the next line", "SHA256 hash of update.dat:\n\n" + Digest(0) + "\n", ChecksumListMalformed, false},
    {"certutil in another language", "SHA256-Hash von update.dat:\n" + Digest(0) + "\n", ChecksumListMalformed, false},
};

TEST(ChecksumList, EveryFormIsReadAndOnlyThisUpdatesListCounts) {
    static ChecksumList list;
    for (const Case& c : kCases) {
        EXPECT_EQ(ParseChecksumList(c.text.data(), c.text.size(), &list), c.state) << c.label;
        EXPECT_EQ(list.state, c.state) << c.label;
        EXPECT_EQ(list.count > 0, c.state == ChecksumListValid) << c.label;
        if (c.state != ChecksumListValid) continue;
        EXPECT_EQ(FirstUnlistedFile(list, "readme_eng.txt") == nullptr, c.covers) << c.label;
        const uint8_t* digest = FindChecksum(list, Names()[10].c_str());  // "0a0a...", "0A0A...", "0a 0a ..."
        ASSERT_NE(digest, nullptr) << c.label;
        EXPECT_EQ(std::vector<uint8_t>(digest, digest + ChecksumDigestSize), std::vector<uint8_t>(ChecksumDigestSize, 10)) << c.label;
    }
}

}  // namespace
