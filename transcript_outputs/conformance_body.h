// The part of an exported test that is the same in every one: building the
// window tree, playing a step, catching each paint's region and checking it.
// It reads the tables the export writes above it.
#pragma once

namespace transcript {

inline constexpr const char kTestBody[] = R"C(
static HWND form, controls[ARRAY_SIZE(control_designs)];
static WNDPROC list_view_proc;

/* The regions of the paints of the step being played. */
#define MAX_PAINTS 16
static char got[MAX_PAINTS][512];
static SIZE got_size[MAX_PAINTS];
static int got_count;

/* The list view's messages of the step being played, those watched for. */
#define MAX_MESSAGES 1024
static struct
{
    UINT message;
    int posted;
    UINT flags;
} seen[MAX_MESSAGES];
static int seen_count, in_probe;
static const MSG *dispatching; /* the posted message being dispatched */

static BOOL watched(UINT message)
{
    unsigned int i;
    for (i = 0; i < ARRAY_SIZE(message_names); i++)
        if (message_names[i].message == message) return CHECK_MESSAGES;
    return FALSE;
}

/* A message the list view took, or posted, as watched for. */
static void note_message(HWND hwnd, UINT message, LPARAM lparam)
{
    if (!watched(message) || seen_count >= MAX_MESSAGES) return;
    seen[seen_count].message = message;
    seen[seen_count].posted = !in_probe && dispatching && dispatching->hwnd == hwnd &&
                              dispatching->message == message;
    seen[seen_count].flags = message == WM_WINDOWPOSCHANGING || message == WM_WINDOWPOSCHANGED
                                 ? ((const WINDOWPOS *)lparam)->flags
                                 : ~0u;
    seen_count++;
}

/* "l,t,r,b l,t,r,b": the update region, rectangle by rectangle, as
 * GetRegionData gives it. */
static void region_text(HRGN region, char *out, size_t size)
{
    char buffer[sizeof(RGNDATAHEADER) + 64 * sizeof(RECT)];
    RGNDATA *data = (RGNDATA *)buffer;
    DWORD i, used = 0;

    out[0] = 0;
    if (!GetRegionData(region, sizeof(buffer), data))
    {
        snprintf(out, size, "(more than 64 rectangles)");
        return;
    }
    for (i = 0; i < data->rdh.nCount && used < size; i++)
    {
        const RECT *r = (const RECT *)data->Buffer + i;
        used += snprintf(out + used, size - used, "%s%ld,%ld,%ld,%ld", i ? " " : "",
                         (long)r->left, (long)r->top, (long)r->right, (long)r->bottom);
    }
}

/* Takes each WM_PAINT's update region, then paints as the program recorded
 * did: between a BeginPaint and an EndPaint of its own, before handing the
 * message on, so that the list view's own paint finds nothing left to do
 * (and sends what it sends then). */
static LRESULT CALLBACK probe_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    PAINTSTRUCT paint;
    LRESULT result;

    note_message(hwnd, message, lparam);
    if (message == WM_PAINT)
    {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT client;
        GetClientRect(hwnd, &client);
        got_size[got_count % MAX_PAINTS].cx = client.right;
        got_size[got_count % MAX_PAINTS].cy = client.bottom;
        if (GetUpdateRgn(hwnd, region, FALSE) == ERROR) got[got_count % MAX_PAINTS][0] = 0;
        else region_text(region, got[got_count % MAX_PAINTS], sizeof(got[0]));
        DeleteObject(region);
        got_count++;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
    }
    in_probe++;
    result = CallWindowProcA(list_view_proc, hwnd, message, wparam, lparam);
    in_probe--;
    return result;
}

static int field_value(const struct field *f, int width, int height)
{
    return f->base + (f->follows == WIDTH ? width : f->follows == HEIGHT ? height : 0);
}

/* Lays Form1 out as the program did at that client size. */
static void lay_out(int width, int height)
{
    unsigned int i, k;

    for (i = 0; i < ARRAY_SIZE(rules); i++)
    {
        const struct rule *r = &rules[i];
        int x = field_value(&r->x, width, height), y = field_value(&r->y, width, height);
        int w = field_value(&r->width, width, height), h = field_value(&r->height, width, height);
        for (k = 0; k < ARRAY_SIZE(exceptions); k++)
            if (exceptions[k].control == r->control && exceptions[k].client_width == width &&
                exceptions[k].client_height == height)
            {
                x = exceptions[k].x;
                y = exceptions[k].y;
                w = exceptions[k].width;
                h = exceptions[k].height;
            }
        SetWindowPos(controls[r->control], NULL, x, y, w, h, r->flags);
    }
}

static LRESULT CALLBACK form_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SIZE && controls[ARRAY_SIZE(controls) - 1])
        lay_out(LOWORD(lparam), HIWORD(lparam));
    return DefWindowProcA(hwnd, message, wparam, lparam);
}

/* Dispatches until nothing has come for a while and nothing is left to
 * paint: the list view's repaints of a change may come late. */
static void flush_events(void)
{
    DWORD quiet = GetTickCount();
    MSG msg;

    for (;;)
    {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            dispatching = &msg;
            DispatchMessageA(&msg);
            dispatching = NULL;
            quiet = GetTickCount();
        }
        if (GetTickCount() - quiet >= 150 && !GetUpdateRect(controls[0], NULL, FALSE)) break;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 30, QS_ALLINPUT);
    }
}

/* Sets Form1's client area to that size with this system's frame, the
 * edges named moving and the others staying. */
static void set_client_size(int width, int height, int edges)
{
    RECT outer, client;
    int w, h;

    GetWindowRect(form, &outer);
    GetClientRect(form, &client);
    w = width + (outer.right - outer.left) - client.right;
    h = height + (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(form, NULL, edges & LEFT_EDGE ? outer.right - w : outer.left,
                 edges & TOP_EDGE ? outer.bottom - h : outer.top, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

static void play(const struct change *c)
{
    RECT outer;

    switch (c->how)
    {
    case CLIENT:
        set_client_size(c->a, c->b, c->edges);
        break;
    case MOVE:
        GetWindowRect(form, &outer);
        SetWindowPos(form, NULL, outer.left + c->a, outer.top + c->b, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case SHOW:
        ShowWindow(form, c->a);
        break;
    }
}

static const char *shown(const char *region)
{
    return region[0] ? region : "an empty region";
}

/* The paints a table lists for a step, and whether it lists the step. */
static int paints_of(const struct paint *table, unsigned int count, int step,
                     const struct paint **paints, BOOL *listed)
{
    unsigned int i;
    int n = 0;

    *listed = FALSE;
    for (i = 0; i < count; i++)
    {
        if (table[i].step != step) continue;
        *listed = TRUE;
        if (table[i].region && n < MAX_PAINTS) paints[n++] = &table[i];
    }
    return n;
}

/* Whether the list view had the size it had when painted; 0 where the
 * recording did not say. */
static BOOL size_is(const struct paint *p, int i)
{
    return (!p->view_width && !p->view_height) ||
           (p->view_width == got_size[i].cx && p->view_height == got_size[i].cy);
}

/* ReactOS's wine/test.h has todo_ros_if; under Wine's, ReactOS is never
 * the platform. */
#ifndef todo_ros_if
#define todo_ros_if(is_todo) todo_if((is_todo) && !strcmp(winetest_platform, "reactos"))
#endif

/* Whether what this system painted at the step is what a system taken in
 * that role painted there. */
static BOOL accepted_as(enum role role, int step)
{
    const struct paint *paints[MAX_PAINTS];
    unsigned int k;
    BOOL listed;
    int i, n;

    for (k = 0; k < ARRAY_SIZE(accepted); k++)
    {
        if (!accepted[k].paints || accepted[k].role != role) continue;
        n = paints_of(accepted[k].paints, accepted[k].count, step, paints, &listed);
        if (!listed || n != got_count) continue;
        for (i = 0; i < n && !strcmp(paints[i]->region, got[i]) && size_is(paints[i], i); i++)
            ;
        if (i == n) return TRUE;
    }
    return FALSE;
}

/* Whether a system taken in that role fails a check of the step as it was
 * recorded there: the number of paints (paint < 0), a paint's region, or
 * (size) the list view's size at it. */
static BOOL fails_in(enum role role, int step, const struct paint **want, int expected, int paint,
                     BOOL size)
{
    const struct paint *theirs[MAX_PAINTS];
    unsigned int k;
    BOOL listed;
    int n;

    for (k = 0; k < ARRAY_SIZE(accepted); k++)
    {
        if (!accepted[k].paints || accepted[k].role != role) continue;
        n = paints_of(accepted[k].paints, accepted[k].count, step, theirs, &listed);
        if (!listed) continue;
        if (paint < 0)
        {
            if (n != expected) return TRUE;
        }
        else if (!size)
        {
            if (paint >= expected || paint >= n ||
                strcmp(want[paint]->region, theirs[paint]->region))
                return TRUE;
        }
        else if (paint < expected && paint < n &&
                 (theirs[paint]->view_width || theirs[paint]->view_height) &&
                 (want[paint]->view_width || want[paint]->view_height) &&
                 (theirs[paint]->view_width != want[paint]->view_width ||
                  theirs[paint]->view_height != want[paint]->view_height))
            return TRUE;
    }
    return FALSE;
}

/* Each check of a step: met, or met as another system accepted beside the
 * expected one, or a todo on the platform whose recording fails it. */
#define CHECK(paint, size, condition, ...)                                                   \
    todo_wine_if(fails_in(ROLE_TODO_WINE, s->number, want, expected, paint, size))           \
        todo_ros_if(fails_in(ROLE_TODO_ROS, s->number, want, expected, paint, size))         \
            ok((condition) || other || broken(odd), __VA_ARGS__)

/* A maximized Form1 fills the work area: where this one is not the
 * recording's, what it painted is taken back to the recording's, each edge
 * at the list view's right or bottom edge moved by the difference (as the
 * layout moves it). FALSE where the recording does not say its own. */
static BOOL to_recorded_work_area(const struct step *s)
{
    RECT work;
    int dw, dh, i, l, t, r, b, used;
    char moved[512], *out;
    const char *in;

    if (!IsZoomed(form) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return TRUE;
    dw = work.right - work.left - RECORDED_WORK_WIDTH;
    dh = work.bottom - work.top - RECORDED_WORK_HEIGHT;
    if (!dw && !dh) return TRUE;
    if (!RECORDED_WORK_WIDTH)
    {
        skip("step %d %s: maximized in a work area of %ldx%ld, and the recording does not say "
             "its own\n", s->number, s->words, (long)(work.right - work.left),
             (long)(work.bottom - work.top));
        return FALSE;
    }
    for (i = 0; i < got_count; i++)
    {
        out = moved;
        for (in = got[i]; sscanf(in, "%d,%d,%d,%d%n", &l, &t, &r, &b, &used) == 4; in += used)
        {
            if (r == got_size[i].cx) r -= dw;
            if (b == got_size[i].cy) b -= dh;
            if (l == got_size[i].cx) l -= dw;
            if (t == got_size[i].cy) t -= dh;
            out += sprintf(out, "%s%d,%d,%d,%d", out == moved ? "" : " ", l, t, r, b);
        }
        *out = 0;
        strcpy(got[i], moved);
        got_size[i].cx -= dw;
        got_size[i].cy -= dh;
    }
    trace("step %d %s: maximized in a work area %+d,%+d from the recording's: taken back to it\n",
          s->number, s->words, dw, dh);
    return TRUE;
}

static void check_step(const struct step *s)
{
    const struct paint *want[MAX_PAINTS];
    BOOL listed, odd, other;
    int i, expected = paints_of(expected_paints, ARRAY_SIZE(expected_paints), s->number, want,
                                &listed);

    if (!to_recorded_work_area(s)) return;
    odd = accepted_as(ROLE_BROKEN, s->number);
    other = accepted_as(ROLE_ALTERNATIVE, s->number);
    winetest_push_context("step %d %s", s->number, s->words);
    CHECK(-1, FALSE, got_count == expected, "expected %d paints, got %d\n", expected, got_count);
    winetest_pop_context();
    for (i = 0; i < expected || (i < got_count && i < MAX_PAINTS); i++)
    {
        winetest_push_context("step %d %s, paint %d", s->number, s->words, i + 1);
        CHECK(i, FALSE, i < expected && i < got_count && !strcmp(want[i]->region, got[i]),
              "expected %s, got %s\n", i < expected ? shown(want[i]->region) : "no paint",
              i < got_count ? shown(got[i]) : "no paint");
        if (i < expected && i < got_count)
            CHECK(i, TRUE, size_is(want[i], i),
                  "the list view's client area: expected %dx%d, got %ldx%ld\n",
                  want[i]->view_width, want[i]->view_height, (long)got_size[i].cx,
                  (long)got_size[i].cy);
        winetest_pop_context();
    }
}

/* "sent WM_SIZE", "posted WM_PAINT", "sent WM_WINDOWPOSCHANGED 0x1817". */
static const char *describe(UINT message, int posted, UINT flags, char *out, size_t size)
{
    const char *name = "a message";
    unsigned int i;

    for (i = 0; i < ARRAY_SIZE(message_names); i++)
        if (message_names[i].message == message) name = message_names[i].name;
    if (flags == ~0u) snprintf(out, size, "%s %s", posted ? "posted" : "sent", name);
    else snprintf(out, size, "%s %s 0x%04x", posted ? "posted" : "sent", name, flags);
    return out;
}

/* The step's messages against those expected: the first that differs named. */
static void check_messages(const struct step *s)
{
    const struct expected_message *want[MAX_MESSAGES];
    char expected[128] = "nothing more", got_text[128] = "nothing more";
    unsigned int i;
    int n = 0, k;

    if (!CHECK_MESSAGES || !s->check_messages) return;
    for (i = 0; i < ARRAY_SIZE(expected_messages); i++)
        if (expected_messages[i].step == s->number && n < MAX_MESSAGES)
            want[n++] = &expected_messages[i];
    for (k = 0; k < n && k < seen_count; k++)
        if (want[k]->message != seen[k].message || want[k]->posted != seen[k].posted ||
            want[k]->flags != seen[k].flags)
            break;
    if (k < n) describe(want[k]->message, want[k]->posted, want[k]->flags, expected, sizeof(expected));
    if (k < seen_count)
        describe(seen[k].message, seen[k].posted, seen[k].flags, got_text, sizeof(got_text));
    winetest_push_context("step %d %s, message %d", s->number, s->words, k + 1);
    ok(k == n && k == seen_count, "expected %s, got %s\n", expected, got_text);
    winetest_pop_context();
}

static HFONT create_font(void)
{
    LOGFONTA font;

    if (!font_face[0]) return NULL;
    memset(&font, 0, sizeof(font));
    font.lfHeight = font_height;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, font_face, sizeof(font.lfFaceName));
    return CreateFontIndirectA(&font);
}

/* The list view's extended styles and columns, as the recording found them. */
static void add_columns(void)
{
    unsigned int i;

    SendMessageA(controls[0], LVM_SETEXTENDEDLISTVIEWSTYLE, 0, list_view_extended);
    for (i = 0; i < ARRAY_SIZE(columns); i++)
    {
        LVCOLUMNA column;
        memset(&column, 0, sizeof(column));
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = columns[i].width;
        column.pszText = (char *)columns[i].text;
        SendMessageA(controls[0], LVM_INSERTCOLUMNA, i, (LPARAM)&column);
    }
}

static BOOL create_tree(HFONT font)
{
    WNDCLASSA class;
    unsigned int i;

    memset(&class, 0, sizeof(class));
    class.style = form_design.class_style;
    class.lpfnWndProc = form_proc;
    class.hInstance = GetModuleHandleA(NULL);
    class.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    class.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    class.lpszClassName = "listview_paint_form";
    if (!RegisterClassA(&class)) return FALSE;
    form = CreateWindowExA(form_design.ex_style, class.lpszClassName, form_design.name,
                           form_design.style & ~WS_VISIBLE, form_design.x, form_design.y,
                           form_design.width, form_design.height, NULL, NULL,
                           class.hInstance, NULL);
    if (!form) return FALSE;
    set_client_size(form_design.client_width, form_design.client_height, 0);
    for (i = 0; i < ARRAY_SIZE(control_designs); i++)
    {
        const struct window_design *d = &control_designs[i];
        controls[i] = CreateWindowExA(d->ex_style, d->class_name, "", d->style, d->x, d->y,
                                      d->width, d->height, form,
                                      (HMENU)(INT_PTR)d->id, class.hInstance, NULL);
        if (!controls[i]) return FALSE;
        if (font) SendMessageA(controls[i], WM_SETFONT, (WPARAM)font, FALSE);
    }
    add_columns();
    list_view_proc =
        (WNDPROC)SetWindowLongPtrA(controls[0], GWLP_WNDPROC, (LONG_PTR)probe_proc);
    return TRUE;
}

START_TEST(TEST_NAME)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    unsigned int i, c;
    HFONT font;
    HDC screen;
    int dpi;

    screen = GetDC(NULL);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    if (RECORDED_DPI && dpi != RECORDED_DPI)
    {
        skip("recorded at %d dpi, this display is at %d dpi\n", RECORDED_DPI, dpi);
        return;
    }
    InitCommonControlsEx(&classes);
    font = create_font();
    if (!create_tree(font))
    {
        skip("cannot create the windows (error %lu)\n", (unsigned long)GetLastError());
        return;
    }
    got_count = seen_count = 0;
    ShowWindow(form, SW_SHOWNORMAL);
    UpdateWindow(form);
    flush_events();
    for (i = 0; i < ARRAY_SIZE(steps); i++)
    {
        if (steps[i].number) /* step 0 is the start: the windows shown above */
        {
            got_count = seen_count = 0;
            for (c = 0; c < steps[i].count; c++) play(&steps[i].changes[c]);
            flush_events();
        }
        check_step(&steps[i]);
        check_messages(&steps[i]);
    }
    DestroyWindow(form);
    if (font) DeleteObject(font);
}
)C";

}  // namespace transcript
