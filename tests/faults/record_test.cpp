// record_test.cpp: the installation record at its limits and damaged: values of 199, 200 and
// 201 bytes (the wizard's buffers hold 200, the zero byte included), a "Location" of 199
// characters whose longer joins no longer fit, and on Linux values without a terminator, of
// other types, and record files that are malformed, empty or not readable.
//
// The string cases run natively and under Wine (where the record is the registry); the file
// cases are the Linux record file's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "package/install_record.h"
#include "package/update_file_table.h"
#include "tests/faults/fault_matrix.h"

namespace fs = std::filesystem;

namespace {

// Chooses English and returns the page the record leads to.
int16_t PageAfterChoosingLanguage(WizardSession& s) {
    EXPECT_TRUE(s.Start());
    EXPECT_TRUE(s.ChooseLanguage());
    return s.State();
}

TEST(Record, AVersionOf199Or200BytesIsShownAnd201IsNot) {
    // Bytes with the terminating zero: 199 and 200 fit the 200-byte buffer, 201 do not.
    for (size_t bytes : {199u, 200u, 201u}) {
        WizardSession s;
        const std::string version(bytes - 1, 'v');
        s.SetRecord("Version", version);
        const int16_t page = PageAfterChoosingLanguage(s);
        const std::string label = "Version of " + std::to_string(bytes) + " bytes";
        CountFaultCase();
        if (bytes <= 200) {
            EXPECT_EQ(page, StateConfirmVersions) << label;
            EXPECT_EQ(std::string(s.App().installedVersion), version) << label;
        } else {
            EXPECT_EQ(page, StateNotInstalled) << label;
        }
        EXPECT_EQ(s.RecordVersion(), bytes <= 200 ? version : std::string()) << label << ": the record was changed";
    }
}

TEST(Record, ALocationOf201BytesIsNoInstallation) {
    WizardSession s;
    s.SetRecord("Location", s.gameFolder + std::string(201 - 1 - s.gameFolder.size(), 'x'));
    CountFaultCase();
    EXPECT_EQ(PageAfterChoosingLanguage(s), StateNotInstalled);
}

// A game folder whose path is exactly 199 characters: nested folders below the session's root.
std::string MakeFolderOf199Characters(const WizardSession& s) {
    std::string path = s.root.path;
    while (path.size() < 199) {
        const size_t room = 199 - path.size() - 1;  // one separator
        const size_t length = room > 60 ? 50 : room;
        if (length == 0) {
            ADD_FAILURE() << "cannot reach 199 characters";
            break;
        }
        path = JoinNative(path, std::string(length, 'g'));
        EXPECT_TRUE(MakeFolder(path));
    }
    return path;
}

TEST(Record, ALocationOf199CharactersInstallsAndItsQuickStartFilesAreLeftAlone) {
    WizardSession s;
    const std::string game = MakeFolderOf199Characters(s);
    ASSERT_EQ(game.size(), 199u);
    // Move the installed game there, quick-start files included.
    s.AddQuickStartFiles();
    fs::remove(game);
    fs::rename(s.gameFolder, game);
    s.gameFolder = game;
    s.SetRecord("Location", game);
    s.InstallToCompletion();
    // "<folder>\qstart\*.qst" does not fit the quick-start files' 200-character paths, so none
    // are found: no question, and they stay.
    CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), "Location of 199 characters");
    EXPECT_TRUE(s.GameFileExists("qstart/league.qst"));
}

#ifndef _WIN32

void WriteRecordFile(const WizardSession& s, const std::string& text) {
    ASSERT_TRUE(WriteFileText(s.registryFile, text));
}

std::string RecordFileText(const WizardSession& s) {
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(s.registryFile, &bytes)) return "<none>";
    return std::string(bytes.begin(), bytes.end());
}

const char kSection[] = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n";

// "hex(1):" data of a text, with or without its zero byte.
std::string HexData(const std::string& text, bool terminated) {
    std::string hex = "hex(1):";
    char byte[4];
    for (unsigned char c : text) {
        std::snprintf(byte, sizeof byte, "%02x,", c);
        hex += byte;
    }
    if (terminated) hex += "00,";
    hex.pop_back();
    return hex;
}

TEST(RecordFile, ValuesWithoutATerminatorReadWhenTheyFitTheBuffer) {
    for (size_t length : {198u, 199u, 200u}) {
        WizardSession s;
        const std::string version(length, 'w');
        WriteRecordFile(s, std::string(kSection) + "\"Location\"=" + HexData(s.gameFolder, false) + "\n\"Version\"=" +
                               HexData(version, false) + "\n");
        const int16_t page = PageAfterChoosingLanguage(s);
        const std::string label = "unterminated Version of " + std::to_string(length) + " characters";
        CountFaultCase();
        // The reader adds the zero byte when there is room for it inside the 200 bytes.
        EXPECT_EQ(page, length < 200 ? StateConfirmVersions : StateNotInstalled) << label;
        if (length < 200) {
            EXPECT_EQ(std::string(s.App().installedVersion), version) << label;
        }
    }
}

TEST(RecordFile, ValuesOfOtherTypesAreReadAsTheirBytes) {
    WizardSession s;
    // A dword "Version" reads as its four little-endian bytes: "*" and zeros.
    WriteRecordFile(s, std::string(kSection) + "\"Location\"=\"" + s.gameFolder + "\"\n\"Version\"=dword:0000002a\n");
    CountFaultCase();
    EXPECT_EQ(PageAfterChoosingLanguage(s), StateConfirmVersions);
    EXPECT_EQ(std::string(s.App().installedVersion), "*");
    ASSERT_TRUE(s.RunUpdate());
    CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), "dword Version");
}

TEST(RecordFile, ALocationOfAnotherTypeIsNoInstallation) {
    WizardSession s;
    WriteRecordFile(s, std::string(kSection) + "\"Location\"=dword:00000001\n\"Version\"=\"Release\"\n");
    CountFaultCase();
    EXPECT_EQ(PageAfterChoosingLanguage(s), StateNotInstalled);
}

TEST(RecordFile, MalformedEmptyOrUnreadableRecordsAreNoInstallationAndStayAsTheyWere) {
    const std::string damaged[] = {
        "",
        "REGEDIT4\n",
        "\xff\xfe garbage \x01\x02\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield\n\"Location\"=\"x\n",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Location\"=hex(1):4,zz\n"
        "\"Version\"=\"Release\n",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Location\"=\\\n\"Version\"=\\\n",
    };
    for (const std::string& text : damaged) {
        WizardSession s;
        WriteRecordFile(s, text);
        CountFaultCase();
        EXPECT_EQ(PageAfterChoosingLanguage(s), StateNotInstalled) << text;
        s.Shutdown();
        EXPECT_EQ(RecordFileText(s), text) << "the record file was changed";
    }
    // Not readable: a folder stands where the file should be (as root, permissions would not stop
    // a read).
    WizardSession s;
    fs::remove(s.registryFile);
    ASSERT_TRUE(MakeFolder(s.registryFile));
    CountFaultCase();
    EXPECT_EQ(PageAfterChoosingLanguage(s), StateNotInstalled);
    EXPECT_TRUE(fs::is_directory(s.registryFile));
}

TEST(RecordFile, AValueAddedAfterALastLineEndingInALoneCarriageReturnReadsBack) {
    // Found by the record fuzz target: the writer ended such a line with a second carriage
    // return, so the section header above the new value was no longer read as one and the value
    // fell into the section before it.
    WizardSession s;
    const std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\r\n\"Location\"=\"" +
                             s.gameFolder + "\"\r\n\"Version\"=\"Release\"\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n" +
                             "[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\r";
    WriteRecordFile(s, text);
    CountFaultCase();
    ASSERT_TRUE(WriteRegistryString(ProductSubkey, "Patch", "applied"));
    char value[WizardTextSize];
    ASSERT_TRUE(ReadRegistryValue(ProductSubkey, "Patch", value, sizeof value));
    EXPECT_STREQ(value, "applied");
    EXPECT_EQ(s.RecordVersion(), "Release");
}

TEST(RecordFile, AnUnwritableRecordStillLeavesEveryGameFileWhole) {
    // A folder stands where the record's lock file goes, so the version cannot be written. The
    // wizard does not look at that result; every game file is installed whole all the same, and
    // the record keeps the old version rather than a half-written file.
    WizardSession s;
    fs::remove(s.registryFile + ".lock");
    ASSERT_TRUE(MakeFolder(s.registryFile + ".lock"));
    s.InstallToCompletion();
    CountFaultCase();
    for (int i = 0; i < UpdateFileCount; ++i) EXPECT_EQ(s.GameFile(EntryPath(i)), NewEntryContents(i)) << EntryPath(i);
    EXPECT_EQ(s.RecordVersion(), "Release") << "a failed write left the old version";
    EXPECT_EQ(CountTemporaryFiles(s.root.path), 0);
}

#endif  // _WIN32

}  // namespace
