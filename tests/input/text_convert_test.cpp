// Conversions between Windows-1252 and UTF-16 / UTF-8 used by the window backends for titles,
// message boxes and typed characters.
#include <gtest/gtest.h>

#include "platform/text_convert.h"

namespace {

// The localised window titles and texts are Windows-1252; these hold one character of each
// interesting kind: ASCII, Latin-1 letters, and the 0x80-0x9F range that differs from Latin-1.
struct Sample {
    uint8_t byte;
    uint16_t unicode;
    const char* utf8;
};
const Sample kSamples[] = {
    {'A', 0x0041, "A"},
    {0xE1, 0x00E1, "\xC3\xA1"},          // a acute (Spanish title)
    {0xFF, 0x00FF, "\xC3\xBF"},          // y diaeresis, the last byte
    {0x80, 0x20AC, "\xE2\x82\xAC"},      // euro sign
    {0x8A, 0x0160, "\xC5\xA0"},          // S caron
    {0x9F, 0x0178, "\xC5\xB8"},          // Y diaeresis
    {0x99, 0x2122, "\xE2\x84\xA2"},      // trade mark
};

TEST(TextConvert, EachSampleByteMapsToItsCharacterBothWays) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(static_cast<int>(sample.byte));
        const char text[2] = {static_cast<char>(sample.byte), 0};
        EXPECT_EQ(sample.unicode, Windows1252ToUnicode(sample.byte));
        EXPECT_EQ(std::u16string(1, static_cast<char16_t>(sample.unicode)), Windows1252ToUtf16(text));
        EXPECT_EQ(sample.byte, Utf16UnitToWindows1252(sample.unicode));
        EXPECT_EQ(std::string(sample.utf8), Windows1252ToUtf8(text));
        EXPECT_EQ(std::string(text), Utf8ToWindows1252(sample.utf8));
    }
}

TEST(TextConvert, EveryByteSurvivesTheRoundTripThroughBothEncodings) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    const std::u16string utf16 = Windows1252ToUtf16(all.c_str());
    ASSERT_EQ(255u, utf16.size());
    std::string back;
    for (char16_t unit : utf16) back += static_cast<char>(Utf16UnitToWindows1252(unit));
    EXPECT_EQ(all, back);
    EXPECT_EQ(all, Utf8ToWindows1252(Windows1252ToUtf8(all.c_str()).c_str()));
}

TEST(TextConvert, UndefinedBytesAreTheFiveGapsAndMapToTheirC1Controls) {
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (!IsDefinedInWindows1252(static_cast<uint8_t>(byte))) {
            ++undefined;
            EXPECT_EQ(byte, Windows1252ToUnicode(static_cast<uint8_t>(byte)));
        }
    }
    EXPECT_EQ(5, undefined);
    EXPECT_FALSE(IsDefinedInWindows1252(0x81));
}

TEST(TextConvert, WindowTitlesConvertWhole) {
    // "Actualización Tallyfield" and "Mise à jour de Tallyfield" as the program holds them.
    EXPECT_EQ(u"Actualizaci\u00F3n Tallyfield", Windows1252ToUtf16("Actualizaci\xF3n Tallyfield"));
    EXPECT_EQ("Mise \xC3\xA0 jour de Tallyfield", Windows1252ToUtf8("Mise \xE0 jour de Tallyfield"));
    EXPECT_EQ(u"", Windows1252ToUtf16(nullptr));
    EXPECT_EQ("", Utf8ToWindows1252(nullptr));
}

TEST(TextConvert, TypedCharactersWithoutAWindows1252ByteGiveZero) {
    // A macron, Cyrillic A, the neighbour of the euro sign, a surrogate half.
    for (char16_t unit : {0x0100, 0x0410, 0x20AD, 0xD83D}) EXPECT_EQ(0, Utf16UnitToWindows1252(unit)) << unit;
    // Control characters of the keyboard pass unchanged: Backspace, Tab, Enter, Escape.
    for (char16_t unit : {8, 9, 13, 27}) EXPECT_EQ(unit, Utf16UnitToWindows1252(unit));
}

TEST(TextConvert, TextInputDropsWhatWindows1252CannotHoldAndMalformedBytes) {
    // Greek alpha, a CJK character and an emoji between kept letters.
    EXPECT_EQ("a\xE9z", Utf8ToWindows1252("a\xCE\xB1\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z"));
    // A stray continuation byte, a lead byte without its continuation, an overlong '/',
    // an encoded surrogate half and a truncated sequence at the end.
    EXPECT_EQ("ab", Utf8ToWindows1252("a\x80" "b"));
    EXPECT_EQ("xy", Utf8ToWindows1252("x\xC3y"));
    EXPECT_EQ("", Utf8ToWindows1252("\xC0\xAF"));
    EXPECT_EQ("", Utf8ToWindows1252("\xED\xA0\x80"));
    EXPECT_EQ("q", Utf8ToWindows1252("q\xE2\x82"));
}

}  // namespace
