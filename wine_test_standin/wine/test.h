/* A stand-in for Wine's include/wine/test.h, for building a conformance
 * test without Wine's source tree: the same calls (START_TEST, ok, broken,
 * skip, win_skip, trace, todo_wine, todo_wine_if, winetest_push_context,
 * winetest_pop_context) with the same output and exit status, written from
 * how they are documented to behave. Single-threaded tests only.
 *
 * One file of the program defines STANDALONE before including it, and a
 * table of the tests in it:
 *     #include <windows.h>
 *     #define STANDALONE
 *     #include "wine/test.h"
 *     extern void func_name(void);
 *     const struct test winetest_testlist[] = {{"name", func_name}, {0, 0}};
 *
 * WINETEST_PLATFORM=wine in the environment makes it behave as under Wine's
 * own test runs: broken() accepts nothing, todo_wine is in force. Unset, it
 * is "windows", as a test run alone has it. */
#ifndef WINE_TEST_STANDIN_H
#define WINE_TEST_STANDIN_H

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef __GNUC__
#define WINETEST_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define WINETEST_PRINTF(fmt, args)
#endif

struct test
{
    const char *name;
    void (*func)(void);
};
extern const struct test winetest_testlist[];

extern const char *winetest_platform;
extern int winetest_debug;
extern int winetest_interactive;

void winetest_set_location(const char *file, int line);
int winetest_ok(int condition, const char *msg, ...) WINETEST_PRINTF(2, 3);
void winetest_skip(const char *msg, ...) WINETEST_PRINTF(1, 2);
void winetest_win_skip(const char *msg, ...) WINETEST_PRINTF(1, 2);
void winetest_trace(const char *msg, ...) WINETEST_PRINTF(1, 2);
void winetest_push_context(const char *fmt, ...) WINETEST_PRINTF(1, 2);
void winetest_pop_context(void);
void winetest_start_todo(int is_todo);
int winetest_loop_todo(void);
void winetest_end_todo(void);
int winetest_platform_is_wine(void);

#define START_TEST(name) void func_##name(void)

#define ok (winetest_set_location(__FILE__, __LINE__), winetest_ok)
#define skip (winetest_set_location(__FILE__, __LINE__), winetest_skip)
#define win_skip (winetest_set_location(__FILE__, __LINE__), winetest_win_skip)
#define trace (winetest_set_location(__FILE__, __LINE__), winetest_trace)

/* Accepted only where the platform is Windows: an old or odd Windows. */
#define broken(condition) (!winetest_platform_is_wine() && (condition))

#define todo_if(is_todo) \
    for (winetest_start_todo(is_todo); winetest_loop_todo(); winetest_end_todo())
#define todo_wine todo_if(winetest_platform_is_wine())
#define todo_wine_if(is_todo) todo_if((is_todo) && winetest_platform_is_wine())

#ifdef STANDALONE

const char *winetest_platform = "windows";
int winetest_debug = 1;
int winetest_interactive = 0;

static const char *winetest_file = "";
static int winetest_line;
static int winetest_successes, winetest_failures, winetest_todo_successes,
    winetest_todo_failures, winetest_skipped;
static int winetest_todo_level, winetest_todo_loop;
static char winetest_context[8][256];
static int winetest_contexts;

void winetest_set_location(const char *file, int line)
{
    const char *slash = strrchr(file, '/'), *backslash = strrchr(file, '\\');
    if (backslash > slash) slash = backslash;
    winetest_file = slash ? slash + 1 : file;
    winetest_line = line;
}

int winetest_platform_is_wine(void)
{
    return !strcmp(winetest_platform, "wine");
}

/* "file:line: " and the contexts pushed, "a: b: ". */
static void winetest_print_head(const char *what)
{
    int i;
    printf("%s:%d: %s", winetest_file, winetest_line, what);
    for (i = 0; i < winetest_contexts && i < 8; i++) printf("%s: ", winetest_context[i]);
}

int winetest_ok(int condition, const char *msg, ...)
{
    va_list args;
    va_start(args, msg);
    if (winetest_todo_level)
    {
        if (condition)
        {
            winetest_print_head("Test succeeded inside todo block: ");
            vprintf(msg, args);
            winetest_todo_successes++;
        }
        else
            winetest_todo_failures++;
    }
    else if (!condition)
    {
        winetest_print_head("Test failed: ");
        vprintf(msg, args);
        winetest_failures++;
    }
    else
        winetest_successes++;
    va_end(args);
    fflush(stdout);
    return condition;
}

void winetest_skip(const char *msg, ...)
{
    va_list args;
    va_start(args, msg);
    winetest_print_head("Tests skipped: ");
    vprintf(msg, args);
    va_end(args);
    winetest_skipped++;
}

void winetest_win_skip(const char *msg, ...)
{
    va_list args;
    va_start(args, msg);
    if (winetest_platform_is_wine())
    {
        winetest_print_head("Test failed: ");
        winetest_failures++;
    }
    else
    {
        winetest_print_head("Tests skipped: ");
        winetest_skipped++;
    }
    vprintf(msg, args);
    va_end(args);
}

void winetest_trace(const char *msg, ...)
{
    va_list args;
    if (winetest_debug <= 0) return;
    va_start(args, msg);
    winetest_print_head("");
    vprintf(msg, args);
    va_end(args);
}

void winetest_push_context(const char *fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    if (winetest_contexts < 8)
        vsnprintf(winetest_context[winetest_contexts], sizeof(winetest_context[0]), fmt, args);
    winetest_contexts++;
    va_end(args);
}

void winetest_pop_context(void)
{
    if (winetest_contexts) winetest_contexts--;
}

/* Blocks nest (todo_wine_if(a) todo_ros_if(b) ok(...)): a bit a level, the
 * check a todo where any level is. */
void winetest_start_todo(int is_todo)
{
    winetest_todo_level = (winetest_todo_level << 1) | (is_todo != 0);
    winetest_todo_loop = 1;
}

int winetest_loop_todo(void)
{
    int loop = winetest_todo_loop;
    winetest_todo_loop = 0;
    return loop;
}

void winetest_end_todo(void)
{
    winetest_todo_level >>= 1;
}

int main(int argc, char **argv)
{
    const struct test *test = winetest_testlist;
    const char *platform = getenv("WINETEST_PLATFORM"), *debug = getenv("WINETEST_DEBUG");
    int failed;

    if (platform) winetest_platform = platform;
    if (debug) winetest_debug = atoi(debug);
    if (getenv("WINETEST_INTERACTIVE")) winetest_interactive = atoi(getenv("WINETEST_INTERACTIVE"));
    if (argc > 1)
        while (test->name && strcmp(test->name, argv[1])) test++;
    if (!test->name)
    {
        fprintf(stderr, "%s: no test named %s\n", argv[0], argc > 1 ? argv[1] : "(none)");
        return 1;
    }
    test->func();
    printf("%s: %d tests executed (%d marked as todo, %d %s), %d skipped.\n", test->name,
           winetest_successes + winetest_failures + winetest_todo_successes +
               winetest_todo_failures,
           winetest_todo_successes + winetest_todo_failures, winetest_failures,
           winetest_failures == 1 ? "failure" : "failures", winetest_skipped);
    failed = winetest_failures + winetest_todo_successes;
    return failed > 255 ? 255 : failed;
}

#endif /* STANDALONE */

#endif /* WINE_TEST_STANDIN_H */
