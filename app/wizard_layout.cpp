// wizard_layout.cpp: the page arithmetic of the wizard (see wizard_layout.h).
#include "app/wizard_layout.h"

#include <cstring>
#include <string>

#include "platform/text_convert.h"

PageLayout ComputePageLayout(int16_t width, int16_t height, int16_t headerHeight) {
    PageLayout layout{};
    const int32_t w = width;
    const int32_t h = height;
    layout.headerHeight = headerHeight;
    layout.panelWidth = static_cast<int16_t>((2 * w) / 3);
    const int32_t panelHeightBeforeMargin = (2 * (h - headerHeight)) / 3;
    layout.panelX = static_cast<int16_t>((w - layout.panelWidth) / 2);
    layout.panelY = static_cast<int16_t>((h - panelHeightBeforeMargin) / 2);
    layout.panelHeight = static_cast<int16_t>(panelHeightBeforeMargin + 10);
    layout.textX = static_cast<int16_t>(layout.panelX + 17);
    layout.leftX = static_cast<int16_t>(layout.panelX + layout.panelWidth - 180);
    layout.rightX = static_cast<int16_t>(layout.panelX + layout.panelWidth - 90);
    layout.commandY = static_cast<int16_t>(layout.panelY + layout.panelHeight - 30);
    return layout;
}

uint16_t BackgroundRowColour(int16_t y, int16_t height) {
    if (height <= 0) return 31;
    return static_cast<uint16_t>(23 - (23 * static_cast<int32_t>(y)) / height + 8);
}

int16_t ProgressBarWidth(int16_t step, int16_t boxWidth) {
    return static_cast<int16_t>((static_cast<int32_t>(step) * (boxWidth - 20)) / 47);
}

LanguageButtonPlacement PlaceLanguageButtons(int16_t width, int16_t height, int16_t headerHeight,
                                             int16_t font2Height, int16_t widestCaption, int count) {
    LanguageButtonPlacement placement{};
    placement.width = static_cast<int16_t>(widestCaption + 20);
    placement.x = static_cast<int16_t>((static_cast<int32_t>(width) - placement.width) / 2);
    placement.firstY = static_cast<int16_t>(
        ((static_cast<int32_t>(height) - headerHeight) - count * static_cast<int32_t>(font2Height)) / 2 +
        headerHeight - 15);
    placement.height = static_cast<int16_t>(font2Height - 2);
    placement.pitch = font2Height;
    return placement;
}

void FolderFieldCaption(const char* folderPath, char* caption) {
    const size_t limit = 199;
    const std::string shown = PathForDisplay(folderPath);  // never longer than the path
    const char* folder = shown.c_str();
    size_t length = std::strlen(folder);
    // Keep the end: the last (limit - 1) characters of the folder, then the caret.
    const char* start = length + 1 > limit ? folder + (length + 1 - limit) : folder;
    size_t kept = std::strlen(start);
    std::memcpy(caption, start, kept);
    caption[kept] = '|';
    caption[kept + 1] = '\0';
}
