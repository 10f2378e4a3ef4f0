/* cursor_probe.c: prints the cursor an X server shows now, for tests/scripts/wizard_test.sh.
 * A build-machine helper compiled by that script (with -lX11 -lXfixes), not part of any build.
 *
 * Output: "<width> <height> <hot x> <hot y>", then one line per row: '.' for a transparent pixel,
 * 'X' for a dark one and 'o' for a light one. Exit status 1 when there is no display or cursor. */
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) return 1;
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == NULL) return 1;
    printf("%d %d %d %d\n", image->width, image->height, image->xhot, image->yhot);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            unsigned long argb = image->pixels[y * image->width + x];
            unsigned alpha = (argb >> 24) & 0xff;
            unsigned luma = (((argb >> 16) & 0xff) * 3 + ((argb >> 8) & 0xff) * 6 + (argb & 0xff)) / 10;
            putchar(alpha < 128 ? '.' : (luma < 128 ? 'X' : 'o'));
        }
        putchar('\n');
    }
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
