/*
 * Checks for the control tests: line-reporting ok(), call counters and
 * recorded sequences, in the manner of Wine's conformance tests.
 */
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

extern int ax_checks, ax_failures;
extern const char *ax_file;
extern int ax_line;

void ax_ok(bool cond, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
#define ok (ax_file = __FILE__, ax_line = __LINE__), ax_ok
/* Exit code of a test program: 0 when every check passed. */
int ax_summary(const char *name);

/* Calls made by the container's sites and sinks, by name. */
extern std::map<std::string, int> ax_called;
void ax_count(const std::string &name);
#define SET_EXPECT(f) (ax_called[#f] = 0)
#define CHECK_CALLED(f)                                                     \
    do {                                                                    \
        ok(ax_called[#f] > 0, "expected %s\n", #f);                         \
        ax_called[#f] = 0;                                                  \
    } while (0)
#define CHECK_NOT_CALLED(f) ok(ax_called[#f] == 0, "unexpected %s (%d)\n", #f, ax_called[#f])
#define CHECK_CALLED_N(f, n)                                                \
    do {                                                                    \
        ok(ax_called[#f] == (n), "expected %s %d times, got %d\n", #f, (n), \
           ax_called[#f]);                                                  \
        ax_called[#f] = 0;                                                  \
    } while (0)

/* A recorded sequence (events, notifications, messages). */
extern std::vector<std::string> ax_seq;
void ax_seq_add(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void ax_seq_clear();
/* Compares the recorded sequence with `expected` and reports the first
 * difference at the caller's line. */
#define ok_sequence (ax_file = __FILE__, ax_line = __LINE__), ax_ok_sequence
bool ax_ok_sequence(const std::vector<std::string> &expected, const char *context);
std::string ax_seq_text();

/* Reference count of an interface (AddRef then Release). */
ULONG ax_refcount(IUnknown *unk);
#define EXPECT_REF(obj, n)                                                     \
    do {                                                                       \
        ULONG r_ = ax_refcount((IUnknown *)(obj));                             \
        ok(r_ == (ULONG)(n), "expected refcount %d, got %lu\n", (int)(n), r_); \
    } while (0)

std::string ax_narrow(const std::wstring &w);

/* The interface riid of unk (referenced), or null. */
template <class T> T *ax_query(IUnknown *unk, REFIID riid)
{
    T *p = nullptr;
    unk->QueryInterface(riid, (void **)&p);
    return p;
}

/* A stream on memory holding `bytes`, at its start; and the bytes written
 * to such a stream. */
IStream *ax_stream_of(const std::vector<BYTE> &bytes);
std::vector<BYTE> ax_stream_bytes(IStream *stm);

/* The keys under HKEY_CLASSES_ROOT, CLSID, Interface and TypeLib, so a test
 * can see that unregistering leaves nothing behind. */
std::set<std::wstring> ax_registry_snapshot();
/* Every key and value below the given keys of HKEY_CLASSES_ROOT, one line
 * each ("path", "path [name] = value"; the default value has an empty name). */
std::set<std::wstring> ax_registry_tree(const std::vector<std::wstring> &paths);
/* A string value under HKEY_CLASSES_ROOT, or "<missing>". */
std::wstring ax_reg_string(const std::wstring &path, const WCHAR *value = nullptr);

/* Checks that the thread's error information is the control's "Invalid
 * Property Value" from `source`. */
void ax_check_error_info(const char *what, const WCHAR *source);

/* Faults (access violations and other error-severity exceptions) raised on
 * this thread since the first call.  A fault inside a window procedure is
 * swallowed by the system's callback dispatcher, so the test would carry on
 * as if nothing had happened; counting them lets a test see it. */
LONG ax_faults();
