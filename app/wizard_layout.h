// wizard_layout.h: the arithmetic of the wizard's pages, as pure functions.
//
// Redraw (wizard_pages.cpp) and RunFrame (wizard_flow.cpp) take every position from here, so the
// tests can pin the numbers down without a window. All values are signed 16-bit frame-buffer
// pixels computed with 32-bit intermediates and division truncating toward zero.
#pragma once

#include <cstdint>

// The centred panel of a page and the positions most pages use.
struct PageLayout {
    int16_t headerHeight;  // font 5 height + font 2 height: the heading and the version line
    int16_t panelX, panelY, panelWidth, panelHeight;
    int16_t textX;         // first text column inside the panel
    int16_t leftX, rightX; // left and right command Buttons
    int16_t commandY;      // top of both command Buttons
};
// W x H frame buffer; the panel is two thirds of the width and of the height under the header,
// centred on the height before it grows by 10.
PageLayout ComputePageLayout(int16_t width, int16_t height, int16_t headerHeight);

// Colour of background row y of a frame buffer `height` rows high: a pure blue from 31 on the
// top row down to 9 on the last row of 350.
uint16_t BackgroundRowColour(int16_t y, int16_t height);

// Filled length of the progress bar after update step `step` (0 to 47) in a trough of
// boxWidth - 20 pixels: empty after step 0, full after step 47.
int16_t ProgressBarWidth(int16_t step, int16_t boxWidth);

// The language Buttons: `count` of them, `widestCaption` pixels wide at most in font 2, stacked
// on a pitch of font 2's height and centred in the area under the header.
struct LanguageButtonPlacement {
    int16_t x, firstY, width, height, pitch;
};
LanguageButtonPlacement PlaceLanguageButtons(int16_t width, int16_t height, int16_t headerHeight,
                                             int16_t font2Height, int16_t widestCaption, int count);

// The caption of the folder field: the folder (a UTF-8 path, drawn with the Windows-1252 fonts:
// PathForDisplay) followed by the caret "|". A Button caption holds
// 199 characters; a longer caption keeps its last 199, so the caret and the end of the folder
// stay visible. `caption` must hold 200 bytes.
void FolderFieldCaption(const char* folder, char* caption);
