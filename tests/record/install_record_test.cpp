// install_record_test.cpp: ReadRegistryValue and WriteRegistryString against the real record of
// the system the test runs on: the registry under Wine or Windows (set and checked with reg.exe,
// as the game's 32-bit setup would), the record file on Linux (set and checked as text).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "package/install_record.h"
#include "tests/support/test_files.h"

namespace {

// A product subkey of its own under Software\Quillbrook Ltd, removed afterwards.
class TestRecord {
public:
    TestRecord() {
        std::mt19937 random(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        subkey = "TallyfieldTest" + std::to_string(random() % 100000000);
#ifndef _WIN32
        file = temp.Join("registry.reg");
        setenv("TLF_REGISTRY", file.c_str(), 1);
#endif
    }
    ~TestRecord() {
#ifdef _WIN32
        RunReg("delete \"" + KeyName() + "\" /f /reg:32 >NUL 2>&1");
#else
        unsetenv("TLF_REGISTRY");
#endif
    }

    // Stores a text value (REG_SZ) or raw bytes (REG_BINARY, given as hex digits) the way the
    // game's setup would.
    void SetText(const std::string& name, const std::string& text) {
#ifdef _WIN32
        ASSERT_EQ(RunReg("add \"" + KeyName() + "\" /v " + name + " /t REG_SZ /d \"" + text + "\" /f /reg:32 >NUL"), 0);
#else
        std::string escaped;
        for (char c : text) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
        lines[name] = "\"" + name + "\"=\"" + escaped + "\"";
        WriteRecordFile();
#endif
    }
    void SetBinary(const std::string& name, const std::string& hexDigits) {
#ifdef _WIN32
        ASSERT_EQ(RunReg("add \"" + KeyName() + "\" /v " + name + " /t REG_BINARY /d " + hexDigits + " /f /reg:32 >NUL"), 0);
#else
        std::string data;
        for (size_t i = 0; i < hexDigits.size(); i += 2) data += (i ? "," : "") + hexDigits.substr(i, 2);
        lines[name] = "\"" + name + "\"=hex:" + data;
        WriteRecordFile();
#endif
    }

    bool KeyExists() {
#ifdef _WIN32
        return RunReg("query \"" + KeyName() + "\" /reg:32 >NUL 2>&1") == 0;
#else
        return FileText().find("[" + KeyName() + "]") != std::string::npos;
#endif
    }

    // The text of a value as the system's own tools see it, or "<missing>".
    std::string Query(const std::string& name) {
#ifdef _WIN32
        std::string output = temp.Join("query.txt");
        if (RunReg("query \"" + KeyName() + "\" /v " + name + " /reg:32 > \"" + output + "\" 2>NUL") != 0) return "<missing>";
        std::ifstream in(output);
        std::string line;
        while (std::getline(in, line)) {
            size_t type = line.find("REG_SZ");
            if (type == std::string::npos) continue;
            size_t start = line.find_first_not_of(" \t", type + 6);
            std::string value = start == std::string::npos ? "" : line.substr(start);
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) value.pop_back();
            return value;
        }
        return "<missing>";
#else
        std::string text = FileText();
        std::string opening = "\"" + name + "\"=\"";
        size_t start = text.find(opening);
        if (start == std::string::npos) return "<missing>";
        start += opening.size();
        std::string escaped = text.substr(start, text.find("\"\n", start) - start), value;
        for (size_t i = 0; i < escaped.size(); ++i) value += escaped[i] == '\\' ? escaped[++i] : escaped[i];
        return value;
#endif
    }

#ifdef _WIN32
    // Whether the 64-bit view holds the key: it must not, the record lives in the 32-bit view.
    bool KeyExistsIn64BitView() { return RunReg("query \"" + KeyName() + "\" /reg:64 >NUL 2>&1") == 0; }
#endif

    std::string subkey;

private:
    std::string KeyName() const { return "HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\" + subkey; }
    TempFolder temp;
#ifdef _WIN32
    static int RunReg(const std::string& arguments) { return std::system(("reg " + arguments).c_str()); }
#else
    std::string file;
    std::map<std::string, std::string> lines;
    void WriteRecordFile() {
        std::string text = "REGEDIT4\n\n[" + KeyName() + "]\n";
        for (const auto& line : lines) text += line.second + "\n";
        ASSERT_TRUE(WriteFileText(file, text));
    }
    std::string FileText() {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
#endif
};

std::string Read(const TestRecord& record, const char* name, uint32_t size = 200) {
    char buffer[512];
    return ReadRegistryValue(record.subkey.c_str(), name, buffer, size) ? buffer : "<false>";
}

}  // namespace

TEST(InstallRecord, ReadsWhatTheSetupWrote) {
    TestRecord record;
    record.SetText("Location", "C:\\Games\\Tallyfield");
    record.SetText("Version", "Release");
    EXPECT_EQ(Read(record, "Location"), "C:\\Games\\Tallyfield");
    EXPECT_EQ(Read(record, "Version"), "Release");
    EXPECT_EQ(Read(record, "VERSION"), "Release") << "value names compare without case";
}

TEST(InstallRecord, MissingKeyOrValueReadsFalseAndCreatesNothing) {
    TestRecord record;
    EXPECT_EQ(Read(record, "Version"), "<false>");
    EXPECT_FALSE(record.KeyExists());
    record.SetText("Location", "C:\\Games");
    EXPECT_EQ(Read(record, "Version"), "<false>");
}

TEST(InstallRecord, WrittenVersionIsSeenByTheSystem) {
    TestRecord record;
    const char* version = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)";
    EXPECT_TRUE(WriteRegistryString(record.subkey.c_str(), "Version", version));
    EXPECT_TRUE(record.KeyExists()) << "a missing key is created";
    EXPECT_EQ(record.Query("Version"), version);
    EXPECT_EQ(record.Query("Location"), "<missing>");
    EXPECT_EQ(Read(record, "Version"), version);

    record.SetText("Location", "C:\\Games");
    EXPECT_TRUE(WriteRegistryString(record.subkey.c_str(), "Version", "again"));
    EXPECT_EQ(record.Query("Version"), "again");
    EXPECT_EQ(record.Query("Location"), "C:\\Games");
#ifdef _WIN32
    EXPECT_FALSE(record.KeyExistsIn64BitView());
#endif
}

TEST(InstallRecord, ValueMustFitWithItsZeroByte) {
    TestRecord record;
    record.SetText("Fits", std::string(199, 'f'));
    record.SetText("TooLong", std::string(200, 't'));
    EXPECT_EQ(Read(record, "Fits"), std::string(199, 'f'));
    EXPECT_EQ(Read(record, "TooLong"), "<false>");
    EXPECT_EQ(Read(record, "TooLong", 201), std::string(200, 't'));
}

TEST(InstallRecord, StoredValueWithoutZeroByteMustLeaveRoomForOne) {
    TestRecord record;
    record.SetBinary("Raw", "414243");
    EXPECT_EQ(Read(record, "Raw", 3), "<false>");
    EXPECT_EQ(Read(record, "Raw", 4), "ABC");
}
