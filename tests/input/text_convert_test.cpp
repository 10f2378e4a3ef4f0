// text_convert_test.cpp: Windows-1252 to and from UTF-16 and UTF-8, as the window backends convert
// titles, message boxes and typed characters.
#include <gtest/gtest.h>

#include <string>

#include "platform/text_convert.h"

TEST(TextConvert, EveryByteRoundTripsAndTheSamplesMapToTheirCharacters) {
    const struct {
        uint8_t byte;
        char16_t unicode;
        const char* utf8;
    } samples[] = {{'A', 0x41, "A"}, {0xE1, 0xE1, "\xC3\xA1"}, {0xFF, 0xFF, "\xC3\xBF"}, {0x80, 0x20AC, "\xE2\x82\xAC"},
                   {0x8A, 0x160, "\xC5\xA0"}, {0x9F, 0x178, "\xC5\xB8"}, {0x99, 0x2122, "\xE2\x84\xA2"}, {0x81, 0x81, "\xC2\x81"}};
    for (const auto& s : samples) {
        const char text[2] = {static_cast<char>(s.byte), 0};
        EXPECT_EQ(Windows1252ToUtf16(text), std::u16string(1, s.unicode)) << int{s.byte};
        EXPECT_EQ(Utf16UnitToWindows1252(s.unicode), s.byte) << int{s.byte};
        EXPECT_EQ(Windows1252ToUtf8(text), s.utf8) << int{s.byte};
    }
    std::string all;
    int undefined = 0;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
        undefined += !IsDefinedInWindows1252(static_cast<uint8_t>(byte));
    }
    EXPECT_EQ(undefined, 5);
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all.c_str()).c_str()), all);
    EXPECT_EQ(Windows1252ToUtf16(nullptr), u"");
    // Typed characters Windows-1252 cannot hold give 0 (controls pass: the round trip above).
    for (char16_t unit : {0x0100, 0x0410, 0x20AD, 0xD83D}) EXPECT_EQ(Utf16UnitToWindows1252(unit), 0) << unit;
    // Text input drops what Windows-1252 cannot hold and malformed bytes.
    const std::pair<const char*, const char*> inputs[] = {
        {"a\xCE\xB1\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z", "a\xE9z"}, {"a\x80" "b", "ab"}, {"x\xC3y", "xy"},
        {"\xC0\xAF", ""}, {"\xED\xA0\x80", ""}, {"q\xE2\x82", "q"}};
    for (const auto& input : inputs) EXPECT_EQ(Utf8ToWindows1252(input.first), input.second) << input.first;
}
