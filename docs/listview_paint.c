/* The smallest test that shows where Wine 10.0 (Debian 10.0~repack-6)
 * paints a list view otherwise than Wine 8.0 (Debian 8.0~repack-4): the
 * start and step 52 maximize button, from the state before it, of 54 steps,
 * without Text1, Label1 and Label2. It checks the list view's paints at
 * that step.
 *
 * Written by paint_transcript --export-test from transcript-wine-all.csv
 * --against transcript-wine10.0-all.csv.
 * Expected: as recorded on Wine 8.0 (Debian 8.0~repack-4), not Windows: a
 * regression test between the two, not a test of what Windows does;
 *   display scale: 96 dpi (100 %)
 *   visual styles: off
 *   comctl32: 5.81 build 2919 (side by side 6.0.2600.2982)
 *   font: MS Sans Serif 8 pt (13 px)
 * Run before it was kept (scripts/smallest-test.sh, 2 tries, 29 s):
 *   Wine 8.0 (Debian 8.0~repack-4): passes (3 checks)
 *   Wine 10.0 (Debian 10.0~repack-6): fails at step 52 alone (2 of 3 checks)
 *
 * Build it as the tests beside it in Wine's dlls/comctl32/tests or ReactOS's
 *   modules/rostests/apitests/comctl32, or alone with a testlist.c naming
 *   func_listview_paint (#define STANDALONE, #include "wine/test.h"):
 *   i686-w64-mingw32-gcc -I INCLUDE listview_paint.c testlist.c -lcomctl32 -lgdi32
 */

#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <commctrl.h>

#include "wine/test.h"

enum control { LISTVIEW1, CONTROLS };
#define MAX_PAINTS 16
static HWND form, controls[CONTROLS];
static WNDPROC list_view_proc;
static char got[MAX_PAINTS][512];
static SIZE got_size[MAX_PAINTS];
static int got_count;

/* Takes each WM_PAINT's update region ("l,t,r,b l,t,r,b"), then paints it
 * in a BeginPaint of its own before the list view's, as the program did. */
static LRESULT CALLBACK probe_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    char buffer[sizeof(RGNDATAHEADER) + 64 * sizeof(RECT)];
    RGNDATA *data = (RGNDATA *)buffer;
    int n = got_count % MAX_PAINTS, used = 0;
    PAINTSTRUCT paint;
    HRGN region;
    DWORD i;

    if (message != WM_PAINT) return CallWindowProcA(list_view_proc, hwnd, message, wparam, lparam);
    got_count++;
    GetClientRect(hwnd, &paint.rcPaint);
    got_size[n].cx = paint.rcPaint.right;
    got_size[n].cy = paint.rcPaint.bottom;
    region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hwnd, region, FALSE);
    got[n][0] = 0;
    if (!GetRegionData(region, sizeof(buffer), data)) strcpy(got[n], "(over 64 rectangles)");
    for (i = 0; got[n][0] != '(' && i < data->rdh.nCount && used < (int)sizeof(got[n]); i++)
    {
        const RECT *r = (const RECT *)data->Buffer + i;
        used += snprintf(got[n] + used, sizeof(got[n]) - used, "%s%ld,%ld,%ld,%ld", i ? " " : "",
                         (long)r->left, (long)r->top, (long)r->right, (long)r->bottom);
    }
    DeleteObject(region);
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return CallWindowProcA(list_view_proc, hwnd, message, wparam, lparam);
}

/* Lays Form1 out on WM_SIZE as the program did. */
static LRESULT CALLBACK form_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    int width = LOWORD(lparam), height = HIWORD(lparam);

    if (message == WM_SIZE && controls[CONTROLS - 1])
    {
        SetWindowPos(controls[LISTVIEW1], NULL, 0, 0, width - 150, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

/* Dispatches until a while passes quiet and nothing is left to paint. */
static void flush_events(void)
{
    DWORD quiet = GetTickCount();
    MSG msg;

    while (GetTickCount() - quiet < 150 || GetUpdateRect(controls[0], NULL, FALSE))
    {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 30, QS_ALLINPUT);
        for (; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); quiet = GetTickCount())
            DispatchMessageA(&msg);
    }
}

/* Form1's client size, with this system's frame; left, top: that edge moves. */
static void set_client_size(int width, int height, BOOL left, BOOL top)
{
    RECT outer, client;
    int w, h;

    GetWindowRect(form, &outer);
    GetClientRect(form, &client);
    w = width + (outer.right - outer.left) - client.right;
    h = height + (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(form, NULL, left ? outer.right - w : outer.left,
                 top ? outer.bottom - h : outer.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

/* Paint i: its update region and the list view's client size (0, 0: not recorded). */
static void check_paint(int i, const char *region, int width, int height)
{
    if (i >= got_count || i >= MAX_PAINTS) return;
    ok(!strcmp(got[i], region), "paint %d: expected %s, got %s\n", i + 1,
       region[0] ? region : "nothing", got[i][0] ? got[i] : "nothing");
    ok((!width && !height) || (got_size[i].cx == width && got_size[i].cy == height),
       "paint %d: the list view's client area: expected %dx%d, got %ldx%ld\n", i + 1, width,
       height, (long)got_size[i].cx, (long)got_size[i].cy);
}

START_TEST(listview_paint)
{
    static const struct { int width; const char *text; } columns[] =
        {{100, "Test1"}, {100, "Test2"}, {100, "Test3"}, {100, "Test4"}, {1440, "Test5"}};
    WNDCLASSA class = {0x00000000, form_proc, 0, 0, NULL, NULL, NULL,
                       (HBRUSH)(COLOR_BTNFACE + 1), NULL, "listview_paint_form"};
    HDC screen = GetDC(NULL);
    int i, dpi = GetDeviceCaps(screen, LOGPIXELSY);
    int width, height;
    RECT work;
    char region[512];
    HFONT font;

    ReleaseDC(NULL, screen);
    if (dpi != 96)
    {
        skip("recorded at 96 dpi, this display is at %d dpi\n", dpi);
        return;
    }
    InitCommonControls();
    class.hInstance = GetModuleHandleA(NULL);
    RegisterClassA(&class);
    form = CreateWindowExA(0x00040100, class.lpszClassName, "Form1", 0x14cf0000 & ~WS_VISIBLE,
                           0, 0, 432, 386, NULL, NULL, class.hInstance, NULL);
    set_client_size(424, 359, FALSE, FALSE);
    controls[LISTVIEW1] = CreateWindowExA(0x00000200, "SysListView32", "", 0x50110001,
                                          0, 0, 274, 359, form, (HMENU)101, class.hInstance, NULL);
    font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                       "MS Sans Serif");
    for (i = 0; i < CONTROLS; i++) SendMessageA(controls[i], WM_SETFONT, (WPARAM)font, FALSE);
    SendMessageA(controls[0], LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0x00000000);
    for (i = 0; i < (int)(sizeof(columns) / sizeof(columns[0])); i++)
    {
        LVCOLUMNA column = {.mask = LVCF_WIDTH | LVCF_TEXT, .cx = columns[i].width,
                            .pszText = (char *)columns[i].text};
        SendMessageA(controls[0], LVM_INSERTCOLUMNA, i, (LPARAM)&column);
    }
    list_view_proc = (WNDPROC)SetWindowLongPtrA(controls[0], GWLP_WNDPROC, (LONG_PTR)probe_proc);

    /* step 0 start: the windows shown */
    ShowWindow(form, SW_SHOWNORMAL);
    UpdateWindow(form);
    flush_events();

    /* the state before step 52, as the steps before left it */
    set_client_size(424, 759, FALSE, FALSE);
    flush_events();

    /* step 52 maximize button: the step that differs */
    got_count = 0;
    ShowWindow(form, SW_MAXIMIZE);
    flush_events();
    winetest_push_context("step 52 maximize button");
    /* Maximized, Form1 fills the work area (1280x1024 recorded): the list view follows it. */
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    width = work.right - work.left - 154; /* 1126 */
    height = work.bottom - work.top - 40; /* 984 */
    ok(got_count == 1, "expected 1 paint, got %d\n", got_count);
    sprintf(region, "270,0,%d,738 0,738,%d,%d", width, width, height);
    check_paint(0, region, width, height);
    winetest_pop_context();

    DestroyWindow(form);
    DeleteObject(font);
}
