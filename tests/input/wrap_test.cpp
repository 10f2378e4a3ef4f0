// AddWrappedText: paragraphs broken at spaces into text-line Buttons 17 pixels apart, never
// beyond the caller's slots, and always finishing, even on a word wider than the line.
//
// Widths in the fixture's test font: a run of n letters is 8n - 3 pixels, a space adds 7 between
// two words ("abc def" is 52, "abc def " 59, "abc def g" 67).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/button.h"
#include "gfx/font.h"
#include "tests/input/input_test_support.h"

namespace {

constexpr int kSlots = 10;

class WrapTest : public ScreenTest {
protected:
    void TearDown() override {
        for (Button*& slot : slots_) {
            DeleteButton(slot);
            slot = nullptr;
        }
        ScreenTest::TearDown();
    }

    // Wraps into slots starting at `count`; returns the labels stored.
    std::vector<std::string> Wrap(const char* text, int maxWidth, int slotCount = kSlots) {
        AddWrappedText(slots_, slotCount, count_, y_, 20, static_cast<int16_t>(maxWidth), text);
        std::vector<std::string> lines;
        for (int i = 0; i < kSlots; ++i) {
            if (slots_[i] != nullptr) lines.push_back(slots_[i]->label);
        }
        return lines;
    }

    Button* slots_[kSlots] = {};
    int16_t count_ = 0;
    int16_t y_ = 100;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(WrapTest, TheThreeWordExampleGivesTwoLines) {
    // "abc def" (52) and "abc def " (59) fit in 64; "abc def g" (67) does not.
    ASSERT_EQ(TextWidth(1, "abc def"), 52);
    ASSERT_EQ(TextWidth(1, "abc def g"), 67);
    EXPECT_EQ(Wrap("abc def ghi", 64), (Lines{"abc def", "ghi"}));
    EXPECT_EQ(count_, 2);
    EXPECT_EQ(y_, 134);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(slots_[i]->x, 20);
        EXPECT_EQ(slots_[i]->y, 100 + 17 * i);
        EXPECT_EQ(slots_[i]->width, 64);
        EXPECT_EQ(slots_[i]->action, ActionLabel);
    }
}

TEST_F(WrapTest, AWidthEqualToTheLimitIsFullAndLinesAppendAfterTheSlotsUsed) {
    // "abc def" is exactly 52: with a limit of 52 the second word goes down.
    count_ = 5;
    EXPECT_EQ(Wrap("abc def", 52), (Lines{"abc", "def"}));
    EXPECT_EQ(slots_[5]->y, 100);
    EXPECT_EQ(count_, 7);
    EXPECT_EQ(Wrap("", 200).size(), 2u);
    EXPECT_EQ(count_, 7);
    EXPECT_EQ(y_, 134);
}

TEST_F(WrapTest, RunsOfSpacesDoNotStartALine) {
    // The break comes at the last space; the next line starts at the next letter.
    EXPECT_EQ(Wrap("abc   def ghi jkl", 64), (Lines{"abc  ", "def ghi", "jkl"}));
    for (Button* line : slots_) {
        if (line != nullptr) {
            EXPECT_NE(line->label[0], ' ');
        }
    }
}

TEST_F(WrapTest, NeverStoresBeyondTheLastSlot) {
    // Six lines of text into the last three of eight slots: the rest is dropped.
    Button* guard = CreateButton(0, 0, 0, 0, "guard", 1, 0, 0);
    slots_[8] = guard;
    count_ = 5;
    Wrap("aaa bbb ccc ddd eee fff", 30, 8);
    EXPECT_EQ(count_, 8);
    EXPECT_EQ(y_, 100 + 3 * 17);
    EXPECT_STREQ(slots_[5]->label, "aaa");
    EXPECT_STREQ(slots_[7]->label, "ccc");
    EXPECT_EQ(slots_[8], guard);
    EXPECT_EQ(slots_[9], nullptr);

    // No free slot at all: nothing happens.
    Wrap("more", 30, 8);
    EXPECT_EQ(count_, 8);
    EXPECT_EQ(y_, 100 + 3 * 17);
}

TEST_F(WrapTest, AWordWiderThanTheLineIsBrokenAtTheLastLetterThatFits) {
    // 40 pixels hold five letters (37); the sixth would make 45.
    EXPECT_EQ(Wrap("abcdefghijkl mn", 40), (Lines{"abcde", "fghij", "kl mn"}));
    for (Button* line : slots_) {
        if (line != nullptr) {
            EXPECT_LT(TextWidth(1, line->label), 40);
        }
    }
}

TEST_F(WrapTest, ALetterWiderThanTheLineStillMakesProgressUntilTheSlotsAreFull) {
    // Not even one letter fits in 3 (or 0) pixels: one letter per line, and the wrapper ends.
    EXPECT_EQ(Wrap("abc", 3), (Lines{"a", "b", "c"}));
    const Lines lines = Wrap("a b c d e f g h i j k l m", 0);
    EXPECT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.back(), "g");
    EXPECT_EQ(count_, 10);
}

TEST_F(WrapTest, ALineNeverHoldsMoreThan199Characters) {
    const std::string word(300, 'w');
    EXPECT_EQ(Wrap(word.c_str(), 32767), (Lines{std::string(199, 'w'), std::string(101, 'w')}));

    // With spaces, the long line breaks at its last space within the limit.
    TearDown();
    SetUp();
    std::string words;
    for (int i = 0; i < 60; ++i) words += "ab ";  // 180 characters, then a long tail
    words += std::string(40, 'z');
    const Lines lines = Wrap(words.c_str(), 32767);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 179u);
    EXPECT_EQ(lines[1], std::string(40, 'z'));
}
