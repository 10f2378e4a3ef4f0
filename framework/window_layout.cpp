// window_layout.cpp: the main window's size arithmetic (see window_layout.h).
#include "framework/window_layout.h"

namespace {

// One axis of WM_GETMINMAXINFO.
struct AxisTrack {
    int maxSize;
    int maxPosition;
    int minTrack;
    int maxTrack;
};

AxisTrack ComputeAxisTrack(int minLimit, int maxLimit, int screenSize, int workAreaExtent, int borderTotal) {
    AxisTrack axis;
    if (maxLimit != -1) {
        axis.maxSize = maxLimit + borderTotal < workAreaExtent ? maxLimit + borderTotal : workAreaExtent;
        axis.minTrack = minLimit + borderTotal;
    } else {
        axis.maxSize = screenSize + borderTotal;
        axis.minTrack = axis.maxSize;
    }
    axis.maxTrack = axis.maxSize;
    axis.maxPosition = (workAreaExtent - axis.maxSize) / 2;
    return axis;
}

}  // namespace

WindowLimits NormaliseWindowLimits(int width, int height, WindowLimits limits) {
    if (limits.minWidth == -1 || limits.maxWidth == -1) limits.minWidth = limits.maxWidth = -1;
    if (limits.minHeight == -1 || limits.maxHeight == -1) limits.minHeight = limits.maxHeight = -1;
    if (limits.maxWidth == -1 && limits.maxHeight == -1) limits.maximise = 0;
    if (limits.minWidth != -1 && limits.minWidth > width) limits.minWidth = static_cast<int16_t>(width);
    if (limits.minHeight != -1 && limits.minHeight > height) limits.minHeight = static_cast<int16_t>(height);
    if (limits.maxWidth != -1 && limits.maxWidth < width) limits.maxWidth = static_cast<int16_t>(width);
    if (limits.maxHeight != -1 && limits.maxHeight < height) limits.maxHeight = static_cast<int16_t>(height);
    return limits;
}

uint32_t ChooseWindowStyle(const WindowLimits& limits) {
    return (limits.maxWidth != -1 || limits.maxHeight != -1) ? WindowStyleResizable : WindowStyleFixed;
}

int WorkAreaExtent(int nearEdge, int farEdge) { return farEdge - nearEdge + 1; }

PixelSize FitClientSize(PixelSize requested, PixelSize workArea, const WindowBorders& borders) {
    const int widthRoom = workArea.width - 2 * borders.frameX;
    const int heightRoom = workArea.height - borders.frameY - borders.topBorder;
    return PixelSize{requested.width < widthRoom ? requested.width : widthRoom,
                     requested.height < heightRoom ? requested.height : heightRoom};
}

PixelSize OuterWindowSize(PixelSize client, const WindowBorders& borders) {
    return PixelSize{client.width + 2 * borders.frameX, client.height + borders.frameY + borders.topBorder};
}

PixelPoint CentredWindowPosition(PixelSize outer, PixelSize workArea) {
    return PixelPoint{(workArea.width - outer.width) / 2, (workArea.height - outer.height) / 2};
}

void FillMinMaxInfo(MinMaxInfo* info, const WindowLimits& limits, PixelSize screen, PixelSize workArea,
                    const WindowBorders& borders) {
    const AxisTrack x = ComputeAxisTrack(limits.minWidth, limits.maxWidth, screen.width, workArea.width,
                                         2 * borders.frameX);
    const AxisTrack y = ComputeAxisTrack(limits.minHeight, limits.maxHeight, screen.height, workArea.height,
                                         borders.frameY + borders.topBorder);
    info->ptMaxSize = MinMaxPoint{x.maxSize, y.maxSize};
    info->ptMaxPosition = MinMaxPoint{x.maxPosition, y.maxPosition};
    info->ptMinTrackSize = MinMaxPoint{x.minTrack, y.minTrack};
    info->ptMaxTrackSize = MinMaxPoint{x.maxTrack, y.maxTrack};
}

int BottomUpSourceY(int bufferHeight, int y, int height) { return bufferHeight - y - height; }
