// text_convert_test.cpp: Windows-1252 to and from UTF-16 and UTF-8, as the window backends convert
// titles, message boxes and typed characters.
#include <gtest/gtest.h>

#include <string>
#include <utility>

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

TEST(TextConvert, PathsConvertExactlyOrNotAtAll) {
    // Polish, Greek, Cyrillic, a character beyond the first plane: each round-trips exactly.
    const std::pair<const char*, std::u16string> exact[] = {
        {"C:\\Gry\\\xC5\x81ukasz \xC3\xB1", u"C:\\Gry\\\u0141ukasz \u00F1"},
        {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", u"\u0391\u03B8\u03AE\u03BD\u03B1"},
        {"\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0", u"\u0418\u0433\u0440\u0430"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"}, {"", u""}};
    for (const auto& sample : exact) {
        std::u16string wide;
        std::string back;
        ASSERT_TRUE(Utf8ToUtf16(sample.first, &wide)) << sample.first;
        EXPECT_EQ(wide, sample.second) << sample.first;
        ASSERT_TRUE(Utf16ToUtf8(wide.c_str(), &back));
        EXPECT_EQ(back, sample.first);
    }
    // A path that is not what it says is refused, never mapped to a neighbour.
    std::u16string wide = u"kept";
    for (const char* bad : {"J\xF6go", "\xC0\xAF", "\xED\xA0\x80", "a\xE2\x82", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad, &wide)) << bad;
        EXPECT_EQ(wide, u"kept");
    }
    std::string narrow = "kept";
    for (const char16_t* bad : {u"\xD800", u"a\xDC00", u"\xD83D" u"b"}) EXPECT_FALSE(Utf16ToUtf8(bad, &narrow));
    EXPECT_EQ(narrow, "kept");
    EXPECT_FALSE(Utf8ToUtf16(nullptr, &wide));
    // Shown with the Windows-1252 fonts: what the code page holds stays, the rest is "?".
    EXPECT_EQ(PathForDisplay("C:\\J\xC3\xB6go \xC5\x81\xCE\xB1\xE2\x82\xAC\xFF"), "C:\\J\xF6go ??\x80?");
    EXPECT_EQ(PathForDisplay(nullptr), "");
}
