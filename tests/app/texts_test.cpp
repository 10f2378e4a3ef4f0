// texts_test.cpp: the localised tables hold exactly the delivered Windows-1252 bytes.
//
// The fingerprints below were taken from the translators' tables (each table's seven texts with
// their zero bytes, FNV-1a 32); a changed, lost or re-encoded letter in any language changes one.
// The other tests pin down a few cases a player would notice on screen.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "app/texts.h"

namespace {

uint32_t Fingerprint(const LocalisedText& table) {
    uint32_t hash = 0x811c9dc5u;
    for (int i = 0; i < LanguageCount; ++i) {
        const char* text = table[i];
        for (size_t k = 0; k <= std::strlen(text); ++k) {  // the zero byte counts too
            hash ^= static_cast<uint8_t>(text[k]);
            hash *= 0x01000193u;
        }
    }
    return hash;
}

struct NamedTable {
    const char* name;
    const LocalisedText& table;
    uint32_t fingerprint;
};

const NamedTable kTables[] = {
    {"ReadmeFileName", ReadmeFileName, 0xb1a8c8e9u},
    {"LanguageButtonText", LanguageButtonText, 0xa4b6d4a4u},  // Swedish without its stray "0"
    {"BackLabel", BackLabel, 0x3e34b313u},
    {"NextLabel", NextLabel, 0xa917b74du},
    {"FinishLabel", FinishLabel, 0xa53edd47u},
    {"ExitLabel", ExitLabel, 0x6bb35812u},
    {"YesLabel", YesLabel, 0xb754dbf3u},
    {"NoLabel", NoLabel, 0x4dee9868u},
    {"SourceMissingText", SourceMissingText, 0x6b399c57u},
    {"ClickNextToContinueText", ClickNextToContinueText, 0x0196cb0fu},
    {"WindowTitle", WindowTitle, 0x50e636cfu},
    {"NotInstalledText", NotInstalledText, 0x98c58aa7u},
    {"ReinstallText", ReinstallText, 0x7c31283fu},
    {"InstalledVersionCaption", InstalledVersionCaption, 0x97015960u},
    {"NewVersionCaption", NewVersionCaption, 0x14d396c3u},
    {"ClickNextToUpdateText", ClickNextToUpdateText, 0x844aef46u},
    {"NotCompatibleText", NotCompatibleText, 0x0b6725b7u},
    {"UpdatingText", UpdatingText, 0x3be2f0abu},
    {"CompletedText", CompletedText, 0x9dfef42eu},
    {"InstallCorruptText", InstallCorruptText, 0x559061f8u},
    {"PackageCorruptText", PackageCorruptText, 0x10a02ffcu},
    {"QuickStartOutdatedText", QuickStartOutdatedText, 0x8b3edbf9u},
    {"DeleteQuickStartQuestion", DeleteQuickStartQuestion, 0xb0f80f06u},
};

TEST(LocalisedTexts, EveryTableHoldsTheDeliveredBytes) {
    for (const NamedTable& t : kTables) {
        EXPECT_EQ(Fingerprint(t.table), t.fingerprint) << t.name;
    }
}

TEST(LocalisedTexts, LanguageButtonsReadAsDelivered) {
    EXPECT_STREQ(LanguageButtonText[LanguageEnglish], "Install in English");
    EXPECT_STREQ(LanguageButtonText[LanguageSpanish], "Instalar en Espa\xf1ol");
    EXPECT_STREQ(LanguageButtonText[LanguageSwedish], "Installera p\xe5 svenska");  // no stray leading "0"
    for (int i = 0; i < LanguageCount; ++i) EXPECT_EQ(LanguageEnabled[i], 1) << i;
}

TEST(LocalisedTexts, ReadmesAndEmptyMessages) {
    EXPECT_STREQ(ReadmeFileName[LanguageEnglish], "readme_eng.txt");
    EXPECT_STREQ(NewVersionText, "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)");
    EXPECT_STREQ(ReleaseVersionName, "Release");
    EXPECT_STREQ(ReleaseVersionText, "Version 3.02 (ENG)");
}

TEST(LocalisedTexts, SourceStaysPlainAscii) {
    std::ifstream in(std::string(TLF_SOURCE_DIR) + "/app/texts.cpp", std::ios::binary);
    if (!in) GTEST_SKIP() << "source folder not reachable from this build";
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(source.empty());
    for (size_t i = 0; i < source.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(source[i]), 0x80u) << "byte " << i;
    }
}

}  // namespace
