// damaged_package_test.cpp: "update.dat" cut short at every length around each entry boundary
// and at a sample of other lengths, and headers with negative or huge slots. Each is refused at
// the wizard's source check, before any game file is touched. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/faults/fault_matrix.h"

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> ReadPackage(const WizardSession& s) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(ReadFileBytes(JoinNative(s.updateFolder, "update.dat"), &bytes));
    return bytes;
}

void WritePackage(const WizardSession& s, const std::vector<unsigned char>& bytes) {
    ASSERT_TRUE(WriteFileBytes(JoinNative(s.updateFolder, "update.dat"), bytes));
}

// Runs the wizard up to the source check and expects the refusal with nothing touched.
void ExpectRefusedAtTheSourceCheck(WizardSession& s, const std::string& label) {
    ASSERT_TRUE(s.Start()) << label;
    ASSERT_TRUE(s.ChooseLanguage()) << label;
    ASSERT_TRUE(s.RunUpdate()) << label;
    EXPECT_EQ(s.App().fileCounter, 0) << label << ": refused only after installing";
    CheckAfterRun(s, RunOutcome{StateSourceMissing, 0}, s.State(), label);
}

// The lengths the package is cut to: one byte either side of, and at, every place an entry
// starts or ends (the header's end included), 0, 1, and a fixed random sample in between.
std::set<size_t> TruncatedLengths(size_t fullLength) {
    std::set<size_t> lengths = {0, 1, 4, UpdatePackageHeaderSize / 2};
    size_t boundary = UpdatePackageHeaderSize;
    for (int i = 0; i <= UpdateFileCount; ++i) {
        for (size_t length : {boundary - 1, boundary, boundary + 1}) lengths.insert(length);
        if (i < UpdateFileCount && !IsReadmeEntry(i)) boundary += NewContents(i).size();
    }
    std::mt19937 random(47);
    std::uniform_int_distribution<size_t> anywhere(0, fullLength - 1);
    for (int i = 0; i < 12; ++i) lengths.insert(anywhere(random));
    lengths.erase(fullLength);
    lengths.erase(fullLength + 1);
    return lengths;
}

TEST(DamagedPackage, CutShortAnywhereIsRefusedBeforeAnythingIsTouched) {
    // A refused package touches nothing, so one installation serves every length in turn.
    WizardSession s;
    const std::vector<unsigned char> full = ReadPackage(s);
    const std::set<size_t> lengths = TruncatedLengths(full.size());
    ASSERT_GE(lengths.size(), 140u);
    for (size_t length : lengths) {
        WritePackage(s, std::vector<unsigned char>(full.begin(), full.begin() + static_cast<long>(length)));
        ExpectRefusedAtTheSourceCheck(s, "package cut to " + std::to_string(length) + " of " + std::to_string(full.size()));
        s.Shutdown();
        ResetFrameworkAndBackend();
    }
}

void SetSlot(std::vector<unsigned char>& package, int slot, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int b = 0; b < 4; ++b) package[4 * slot + b] = static_cast<unsigned char>(bits >> (8 * b));
}

TEST(DamagedPackage, NegativeOrHugeSlotsAreRefusedBeforeAnythingIsTouched) {
    const int32_t values[] = {-1, INT32_MIN, INT32_MAX, 0x40000000};
    WizardSession s;
    const std::vector<unsigned char> whole = ReadPackage(s);
    for (int slot : {0, 9, 23, 43, 45, 46}) {
        for (int32_t value : values) {
            std::vector<unsigned char> package = whole;
            SetSlot(package, slot, value);
            WritePackage(s, package);
            ExpectRefusedAtTheSourceCheck(s, "slot " + std::to_string(slot) + " = " + std::to_string(value));
            s.Shutdown();
            ResetFrameworkAndBackend();
        }
    }
}

TEST(DamagedPackage, WhateverTheReadmeSlotHoldsIsIgnored) {
    for (int32_t value : {-1, INT32_MIN, INT32_MAX}) {
        WizardSession s;
        std::vector<unsigned char> package = ReadPackage(s);
        SetSlot(package, UpdatePackageReadmeSlot, value);
        WritePackage(s, package);
        s.InstallToCompletion();
        CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), "readme slot " + std::to_string(value));
    }
}

TEST(DamagedPackage, APackageLongerThanItsEntriesStillInstalls) {
    WizardSession s;
    std::vector<unsigned char> package = ReadPackage(s);
    package.insert(package.end(), 1000, 0xEE);
    WritePackage(s, package);
    s.InstallToCompletion();
    CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), "trailing bytes");
}

}  // namespace
