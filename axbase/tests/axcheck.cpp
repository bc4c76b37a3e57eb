/*
 * Checks for the control tests.
 */
#include "axcheck.h"

#include <cstdarg>
#include <cstdio>

int ax_checks, ax_failures;
const char *ax_file = "?";
int ax_line;
std::map<std::string, int> ax_called;
std::vector<std::string> ax_seq;

static const char *base_name(const char *path)
{
    const char *p = path, *q;
    for (q = path; *q; q++)
        if (*q == '/' || *q == '\\')
            p = q + 1;
    return p;
}

void ax_ok(bool cond, const char *fmt, ...)
{
    ax_checks++;
    if (cond)
        return;
    ax_failures++;
    printf("%s:%d: Test failed: ", base_name(ax_file), ax_line);
    va_list ap;
    va_start(ap, fmt);
    vprintf(fmt, ap);
    va_end(ap);
    fflush(stdout);
}

int ax_summary(const char *name)
{
    printf("%s: %d tests executed, %d failures\n", name, ax_checks, ax_failures);
    fflush(stdout);
    return ax_failures ? 1 : 0;
}

void ax_count(const std::string &name) { ax_called[name]++; }

void ax_seq_add(const char *fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof(buf), fmt, ap);
    va_end(ap);
    ax_seq.push_back(buf);
}

void ax_seq_clear() { ax_seq.clear(); }

std::string ax_seq_text()
{
    std::string s;
    for (auto &e : ax_seq)
        s += (s.empty() ? "" : ", ") + e;
    return s;
}

bool ax_ok_sequence(const std::vector<std::string> &expected, const char *context)
{
    size_t n = expected.size() > ax_seq.size() ? expected.size() : ax_seq.size();
    for (size_t i = 0; i < n; i++) {
        const char *want = i < expected.size() ? expected[i].c_str() : "(end)";
        const char *got = i < ax_seq.size() ? ax_seq[i].c_str() : "(end)";
        if (std::string(want) != got) {
            ax_ok(false, "%s: item %u: expected %s, got %s; sequence: %s\n", context, (unsigned)i,
                  want, got, ax_seq_text().c_str());
            ax_seq_clear();
            return false;
        }
    }
    ax_ok(true, "%s", "");
    ax_seq_clear();
    return true;
}

ULONG ax_refcount(IUnknown *unk)
{
    unk->AddRef();
    return unk->Release();
}

std::string ax_narrow(const std::wstring &w)
{
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? (char)c : '?';
    return s;
}
