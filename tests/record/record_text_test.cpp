// record_text_test.cpp: reading and editing registry export text, as the POSIX record file uses it.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/posix_record_text.h"

namespace {

const char kKey[] = "Software\\Quillbrook Ltd\\Tallyfield";

// A file as an export (and a user's editing) may leave it: another key first, comments, blank
// lines, escapes, a value of another type and a damaged line.
const char kSample[] =
    "REGEDIT4\r\n"
    "\r\n"
    "; exported for the game\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Other]\r\n"
    "\"Version\"=\"Other 1.0\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillbrook Ltd\\Tallyfield]\r\n"
    "\"Location\"=\"C:\\\\Games\\\\TLF \\\"Gold\\\"\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Binary\"=hex:41,42,\\\r\n"
    "  43\r\n"
    "this line is damaged\r\n"
    "@=\"default\"\r\n"
    "\r\n";

std::string Value(const std::string& text, const std::string& name, const std::string& key = kKey) {
    std::string bytes;
    if (!FindRecordValue(text, key, name, &bytes)) return "<missing>";
    return bytes;
}

std::string Set(const std::string& text, const std::string& name, const std::string& value) {
    std::string edited;
    EXPECT_TRUE(SetRecordText(text, kKey, name, value, &edited));
    return edited;
}

}  // namespace

TEST(RecordText, ReadsTextsWithEscapesAndOtherTypesAsBytes) {
    EXPECT_EQ(Value(kSample, "Location"), std::string("C:\\Games\\TLF \"Gold\"\0", 20));
    EXPECT_EQ(Value(kSample, "location"), Value(kSample, "Location")) << "names compare without case";
    EXPECT_EQ(Value(kSample, "Count"), std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(Value(kSample, "Binary"), "ABC");
    EXPECT_EQ(Value(kSample, "Version"), "<missing>") << "Other's Version belongs to another key";
    EXPECT_EQ(Value(kSample, "Version", "Software\\Quillbrook Ltd\\Other"), std::string("Other 1.0\0", 10));
    EXPECT_EQ(Value(kSample, "Location", "Software\\Quillbrook Ltd"), "<missing>");
    EXPECT_EQ(Value("", "Location"), "<missing>");
}

TEST(RecordText, LastValueCountsAndDamageIsIgnored) {
    const std::string text =
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Version\"=\"one\"\n"
        "\"Version\"=\"unterminated\n\"Version\"=dword:xyz\n[HKEY_CURRENT_USER\\Software\\Quillbrook Ltd\\Tallyfield]\n"
        "\"Version\"=\"user\"\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Version\"=\"two\"\n"
        "[broken\n\"Version\"=\"three\"";
    EXPECT_EQ(Value(text, "Version"), std::string("three\0", 6)) << "a damaged section line does not end the key";
    EXPECT_EQ(Value("\x01\x02[\xff]\"=\n\n", "Version"), "<missing>");
}

TEST(RecordText, SettingReplacesOnlyTheValueLine) {
    std::string edited = Set(kSample, "location", "D:\\TLF");
    std::string expected = kSample;
    expected.replace(expected.find("\"Location\""), std::string("\"Location\"=\"C:\\\\Games\\\\TLF \\\"Gold\\\"\"").size(),
                     "\"location\"=\"D:\\\\TLF\"");
    EXPECT_EQ(edited, expected);
    EXPECT_EQ(Value(edited, "Location"), std::string("D:\\TLF\0", 7));
}

TEST(RecordText, SettingAddsValuesAndSectionsAndKeepsTheRest) {
    std::string edited = Set(kSample, "Version", "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)");
    // Added after the last non-empty line of the key's section, in the file's CR LF style.
    std::string expected = kSample;
    expected.insert(expected.find("\r\n\r\n", expected.find("@=")) + 2,
                    "\"Version\"=\"Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)\"\r\n");
    EXPECT_EQ(edited, expected);
    EXPECT_EQ(Value(edited, "Count"), std::string("\x2a\0\0\0", 4));

    std::string fresh;
    ASSERT_TRUE(SetRecordText("", kKey, "Version", "Release", &fresh));
    EXPECT_EQ(fresh, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Version\"=\"Release\"\n");

    std::string other;
    ASSERT_TRUE(SetRecordText("REGEDIT4\n; note", "Software\\Quillbrook Ltd\\New", "A", "b", &other));
    EXPECT_EQ(other, "REGEDIT4\n; note\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\New]\n\"A\"=\"b\"\n");
}

TEST(RecordText, WindowsTextBytesPassUnchangedAndLineBreaksAreRefused) {
    const std::string text = "Vers\xE3o 3.04e \xC5ngstr\xF6m";
    EXPECT_EQ(Value(Set("", "Version", text), "Version"), text + std::string(1, '\0'));
    std::string edited = "unchanged";
    EXPECT_FALSE(SetRecordText(kSample, kKey, "Version", "two\nlines", &edited));
    EXPECT_FALSE(SetRecordText(kSample, kKey, "Bad\rName", "x", &edited));
    EXPECT_EQ(edited, "unchanged");
}

#endif  // _WIN32
