// Backtracking interpreter for the pattern language. It reads the pattern
// text in place on every call: no compile step, no allocation. The letter
// arguments, the 26 recursion guards and the lock are process-wide; every
// other piece of state lives on the stack.
#include "qfpattern.h"

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#ifndef _WIN32
#include <mutex>
#endif

extern "C" const char* const QfPatternSyntax[5] = {
    "([-*+!]|\\<-($d:)$d\\>)!([|,)]|!?)|![-<>*+!]",
    "\\\\?|\\'$e\\'|\\($c\\)|\\{$c\\}|\\[(^?|!^?)*(!\\]?)\\]|[^][(){}\\|,]",
    "*(*($a$b)-[|,])",
    "-(<0-4>#\\-)-(<0-4:>(*#[1-9]*#))",
    "*(\\\\?|[^'])",
};

namespace {

const int kRepeatCap = 10000;
const int kLetters = 26;

// Guards against patterns from outside: nesting deeper than any real pattern
// would overflow the stack, and nested repetitions can take exponential time.
// Either ends the call with "no match".
const int kMaxDepth = 400;
const long kMaxSteps = 1L << 24;

// Process-wide engine state, owned by whoever holds the lock.
void* const* g_args = nullptr;
const char* g_guard[kLetters];

// The engine lock. Callers wait asleep, not spinning: windows on several
// threads parse specifications at once, and a long match would otherwise
// burn a processor in every waiting thread. On Windows the kernel's slim
// lock needs no set-up and no clean-up, so it also works while a library
// loads and unloads.
class EngineMutex {
public:
    void Lock();
    void Unlock();

private:
#ifdef _WIN32
    void* slim_ = nullptr;  // laid out as the kernel's SRWLOCK
#else
    std::mutex mutex_;
#endif
};

#ifdef _WIN32
extern "C" __declspec(dllimport) void __stdcall AcquireSRWLockExclusive(void** lock);
extern "C" __declspec(dllimport) void __stdcall ReleaseSRWLockExclusive(void** lock);
void EngineMutex::Lock()
{
    AcquireSRWLockExclusive(&slim_);
}
void EngineMutex::Unlock()
{
    ReleaseSRWLockExclusive(&slim_);
}
#else
void EngineMutex::Lock()
{
    mutex_.lock();
}
void EngineMutex::Unlock()
{
    mutex_.unlock();
}
#endif

EngineMutex g_lock;

// Lengths of groups, literals and classes are asked for again and again
// while backtracking; a small direct-mapped memo on the caller's stack saves
// rescanning them.
struct LengthMemo {
    static const int kSlots = 64;
    const char* key[kSlots] = {};
    int length[kSlots];
    static int Slot(const char* p) { return static_cast<int>((reinterpret_cast<uintptr_t>(p) >> 1) & (kSlots - 1)); }
};

struct Budget {
    int depth = 0;
    long steps = 0;
    bool exhausted = false;
    LengthMemo memo;
};
Budget* g_budget = nullptr;

struct Prefix {
    int countMin = 1;
    int countMax = 1;
    int lenMin = 0;
    long lenMax = -1;  // -1: the characters left in the text
};

// Counts one unit of work and one level of nesting; false when a limit is hit.
struct Step {
    bool ok;
    Step()
    {
        Budget& b = *g_budget;
        ok = !b.exhausted && b.depth < kMaxDepth && ++b.steps < kMaxSteps;
        if (!ok)
            b.exhausted = true;
        else
            ++b.depth;
    }
    ~Step()
    {
        if (ok)
            --g_budget->depth;
    }
};

bool IsTerminator(char c)
{
    return c == '\0' || c == ')' || c == '}' || c == '|' || c == ',';
}

bool IsLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsReference(const char* p)
{
    return p[0] == '$' && g_args && IsLetter(p[1]);
}

bool IsCapture(const char* p)
{
    return p[0] == '{' && g_args && IsLetter(p[1]);
}

int ElementLength(const char* p);

// A group or capture reaches to the ')' or '}' that closes it.
int GroupLength(const char* p)
{
    const char* q = p + 1;
    while (*q && *q != ')' && *q != '}') {
        if (*q == '|' || *q == ',')
            ++q;
        else
            q += ElementLength(q);
    }
    if (*q)
        ++q;
    return static_cast<int>(q - p);
}

int ScanElementLength(const char* p);

// How far one element reaches in the pattern; 0 at a sequence terminator.
int ElementLength(const char* p)
{
    switch (*p) {
    case '\'': case '(': case '{': case '[': {
        LengthMemo& memo = g_budget->memo;
        int slot = LengthMemo::Slot(p);
        if (memo.key[slot] != p) {
            memo.length[slot] = ScanElementLength(p);
            memo.key[slot] = p;
        }
        return memo.length[slot];
    }
    case '\0': case ')': case '}': case '|': case ',':
        return 0;
    case '\\':
        return p[1] ? 2 : 1;
    case '$':
        return IsReference(p) ? 2 : 1;
    default:
        return 1;
    }
}

int ScanElementLength(const char* p)
{
    switch (*p) {
    case '\0': case ')': case '}': case '|': case ',':
        return 0;
    case '\\':
        return p[1] ? 2 : 1;
    case '\'': {
        const char* q = p + 1;
        while (*q && *q != '\'')
            q += (q[0] == '\\' && q[1]) ? 2 : 1;
        return static_cast<int>(q - p) + (*q ? 1 : 0);
    }
    case '(': case '{':
        return GroupLength(p);
    case '[': {
        const char* q = p + 1;
        if (*q == '^')
            ++q;
        if (*q)
            ++q;  // the first member, even ']'
        while (*q && *q != ']')
            ++q;
        return static_cast<int>(q - p) + (*q ? 1 : 0);
    }
    case '$':
        return IsReference(p) ? 2 : 1;
    default:
        return 1;
    }
}

// Class members run from the first character after '[' or '[^' to the next
// ']'; members compare as signed 8-bit values, ranges in either order.
bool ClassContains(const char* p, char ch)
{
    signed char c = static_cast<signed char>(ch);
    ++p;
    bool invert = false;
    if (*p == '^') {
        invert = true;
        ++p;
    }
    bool found = false;
    for (bool first = true; *p && (first || *p != ']'); first = false) {
        signed char lo = static_cast<signed char>(p[0]);
        if (p[1] == '-' && p[2] && p[2] != ']') {
            signed char hi = static_cast<signed char>(p[2]);
            if (lo > hi) {
                signed char t = lo;
                lo = hi;
                hi = t;
            }
            found = found || (c >= lo && c <= hi);
            p += 3;
        } else {
            found = found || c == lo;
            ++p;
        }
    }
    return found != invert;
}

int MatchAlternatives(const char* s, const char* p, const char* end);

int MatchLiteral(const char* s, const char* p, const char* end)
{
    const char* t = s;
    for (++p; *p && *p != '\''; ++p) {
        if (p[0] == '\\' && p[1])
            ++p;
        if (t >= end || *t != *p)
            return -1;
        ++t;
    }
    return static_cast<int>(t - s);
}

int MatchReference(const char* s, const char* p, const char* end)
{
    int letter = p[1] - 'a';
    const char* bound = static_cast<const char*>(g_args[letter]);
    if (!bound || g_guard[letter] == s)
        return -1;  // left recursion at this position, or no argument
    const char* saved = g_guard[letter];
    g_guard[letter] = s;
    int r = MatchAlternatives(s, bound, end);
    g_guard[letter] = saved;
    return r;
}

int MatchCapture(const char* s, const char* p, const char* end)
{
    int r = MatchAlternatives(s, p + 2, end);
    char* buffer = static_cast<char*>(g_args[p[1] - 'a']);
    if (r >= 0 && buffer) {
        std::memcpy(buffer, s, static_cast<size_t>(r));
        buffer[r] = '\0';
    }
    return r;
}

// Matches one element once: the number of characters it took, or -1.
int MatchElement(const char* s, const char* p, const char* end)
{
    Step step;
    if (!step.ok || IsTerminator(*p))
        return -1;
    if (IsReference(p))
        return MatchReference(s, p, end);
    if (IsCapture(p))
        return MatchCapture(s, p, end);
    switch (*p) {
    case '\'':
        return MatchLiteral(s, p, end);
    case '(': case '{':
        return MatchAlternatives(s, p + 1, end);
    default:
        break;
    }
    if (s >= end)
        return -1;
    switch (*p) {
    case '#':
        return (*s >= '0' && *s <= '9') ? 1 : -1;
    case '?':
        return 1;
    case '[':
        return ClassContains(p, *s) ? 1 : -1;
    case '\\':
        return (p[1] && *s == p[1]) ? 1 : -1;
    default:
        return *s == *p ? 1 : -1;
    }
}

// Reads '<...>' left to right. A number sets the upper bound (and the lower
// one when it is the first token of its part); '-' opens the upper bound;
// ':' turns what was read into the length range and starts the count again.
const char* ParsePrefix(const char* p, Prefix& pre)
{
    int lo = 1, hi = 1;
    bool firstToken = true;
    for (++p; *p && *p != '>'; ++p) {
        if (*p >= '0' && *p <= '9') {
            int n = 0;
            for (; *p >= '0' && *p <= '9'; ++p)
                n = n < 100000 ? n * 10 + (*p - '0') : n;
            --p;
            hi = n;
            if (firstToken)
                lo = n;
            firstToken = false;
        } else if (*p == '-') {
            hi = kRepeatCap;
            if (firstToken)
                lo = 0;
            firstToken = false;
        } else if (*p == ':') {
            pre.lenMin = lo;
            pre.lenMax = hi;
            lo = hi = 1;
            firstToken = true;
        }
    }
    pre.countMin = lo;
    pre.countMax = hi;
    return *p ? p + 1 : p;
}

// Reads the prefix of a term and returns where its element starts.
const char* ReadPrefix(const char* p, Prefix& pre)
{
    switch (*p) {
    case '*': pre.countMin = 0; pre.countMax = kRepeatCap; return p + 1;
    case '+': pre.countMin = 1; pre.countMax = kRepeatCap; return p + 1;
    case '-': pre.countMin = 0; pre.countMax = 1; return p + 1;
    case '<': return ParsePrefix(p, pre);
    default: return p;
    }
}

int MatchSequence(const char* s, const char* p, const char* end);

// True when a sequence surely fails at s because its first term is a single
// plain character test without prefix that does not match there. Saves the
// lookahead a full call at most positions; the outcome is the same.
bool SurelyFails(const char* s, const char* p, const char* end)
{
    switch (*p) {
    case '\0': case ')': case '}': case '|': case ',':
    case '*': case '+': case '-': case '<': case '!':
    case '(': case '{': case '\'':
        return false;
    case '$':
        if (IsReference(p))
            return false;
        break;
    default:
        break;
    }
    if (s >= end)
        return true;
    switch (*p) {
    case '#': return !(*s >= '0' && *s <= '9');
    case '?': return false;
    case '[': return !ClassContains(p, *s);
    case '\\': return !(p[1] && *s == p[1]);
    default: return *s != *p;
    }
}

// A zero-width test: succeeds when the element does not match the text up to
// its NUL; each extra '!' inverts it again.
int MatchNegation(const char* s, const char* p, const char* end)
{
    int bangs = 0;
    for (; *p == '!'; ++p)
        ++bangs;
    bool matched = MatchElement(s, p, s + std::strlen(s)) >= 0;
    bool pass = (bangs % 2 == 1) ? !matched : matched;
    return pass ? MatchSequence(s, p + ElementLength(p), end) : -1;
}

// One term with its repetitions, then the rest of the sequence. The lookahead
// finds the furthest place where the rest can match and the greedy run stays
// within it; on failure the run gives characters back by lowering that limit.
int MatchTerm(const char* s, const char* elem, const char* rest, const char* end, const Prefix& pre)
{
    long left = static_cast<long>(end - s);
    const char* limit = s + ((pre.lenMax >= 0 && pre.lenMax < left) ? pre.lenMax : left);
    bool compound = *elem == '(' || *elem == '{' || IsReference(elem);
    bool lookahead = pre.countMin != pre.countMax || compound;

    for (;;) {
        int restLen = -1;
        if (lookahead) {
            const char* q = limit;
            while (SurelyFails(q, rest, end) || (restLen = MatchSequence(q, rest, end)) < 0) {
                if (q == s)
                    return -1;
                --q;
            }
            limit = q;
        }

        int count = 0;
        long taken = 0;
        while (count < pre.countMax) {
            int m = MatchElement(s + taken, elem, limit);
            if (m < 0 || m < pre.lenMin)
                break;
            if (m == 0) {
                count = pre.countMax;
                break;
            }
            taken += m;
            if (count < kRepeatCap)
                ++count;
        }
        if (count < pre.countMin)
            return -1;

        const char* pos = s + taken;
        if (lookahead && pos == limit)
            return static_cast<int>(taken + restLen);
        int r = MatchSequence(pos, rest, end);
        if (r >= 0)
            return static_cast<int>(taken + r);
        if (count <= pre.countMin)
            return -1;
        limit = pos;  // give back and try again below the failed end
    }
}

int MatchSequence(const char* s, const char* p, const char* end)
{
    if (IsTerminator(*p))
        return 0;
    Step step;
    if (!step.ok)
        return -1;
    if (*p == '!')
        return MatchNegation(s, p, end);
    Prefix pre;
    const char* elem = ReadPrefix(p, pre);
    return MatchTerm(s, elem, elem + ElementLength(elem), end, pre);
}

// Alternatives separated by '|' are an ordered choice (the first that takes
// at least one character wins); ',' asks for the longest.
int MatchAlternatives(const char* s, const char* p, const char* end)
{
    Step step;
    if (!step.ok)
        return -1;
    int best = -1;
    for (;;) {
        int r = MatchSequence(s, p, end);
        if (r > best)
            best = r;
        while (!IsTerminator(*p))
            p += ElementLength(p);
        if (*p != '|' && *p != ',')
            return best;
        if (r > 0 && *p == '|')
            return best;
        ++p;
    }
}

// The highest letter a pattern uses as a reference or a capture, or -1;
// the letters it uses as references are added to *references (bit a = 0).
int HighestLetter(const char* p, uint32_t* references)
{
    int highest = -1;
    while (*p) {
        if ((p[0] == '$' || p[0] == '{') && IsLetter(p[1])) {
            int letter = p[1] - 'a';
            if (letter > highest)
                highest = letter;
            if (p[0] == '$')
                *references |= 1u << letter;
            p += 2;
        } else if (*p == '(' || *p == '{' || IsTerminator(*p)) {
            ++p;
        } else {
            p += ElementLength(p);
        }
    }
    return highest;
}

class EngineLock {
public:
    explicit EngineLock(void* const* args)
    {
        g_lock.Lock();
        savedArgs_ = g_args;
        savedBudget_ = g_budget;
        g_args = args;
        g_budget = &budget_;
    }
    ~EngineLock()
    {
        g_args = savedArgs_;
        g_budget = savedBudget_;
        g_lock.Unlock();
    }

private:
    void* const* savedArgs_;
    Budget* savedBudget_;
    Budget budget_;
};

int MatchTopLevel(const char* text, const char* end, const char* pattern, void* const* args)
{
    if (!text || !pattern)
        return -1;
    EngineLock lock(args);
    int r = MatchAlternatives(text, pattern, end);
    return g_budget->exhausted ? -1 : r;
}

}  // namespace

extern "C" int QfMatchPatternTable(const char* text, const char* pattern, void* const* table)
{
    return MatchTopLevel(text, text ? text + std::strlen(text) : nullptr, pattern, table);
}

extern "C" int QfMatchPatternCounted(const char* text, int length, const char* pattern, void* const* table)
{
    if (length < 0)
        return -1;
    return MatchTopLevel(text, text ? text + length : nullptr, pattern, table);
}

extern "C" int QfMatchPattern(const char* text, const char* pattern, ...)
{
    void* args[kLetters] = {};
    int highest = -1, read = 0;
    uint32_t references = 0, scanned = 0;
    va_list ap;
    va_start(ap, pattern);
    {
        // ElementLength needs to know that letter arguments exist.
        void* const marker[1] = {nullptr};
        EngineLock lock(marker);
        highest = pattern ? HighestLetter(pattern, &references) : -1;
        // A bound pattern is matched with the same letters, so the letters
        // it uses count as used too: read arguments until no reference
        // reaches a letter beyond those read.
        for (bool again = true; again;) {
            for (; read <= highest; ++read)
                args[read] = va_arg(ap, void*);
            again = false;
            for (int i = 0; i < read; ++i) {
                uint32_t bit = 1u << i;
                if ((references & bit) && !(scanned & bit)) {
                    scanned |= bit;
                    again = true;
                    if (args[i]) {
                        int more = HighestLetter(static_cast<const char*>(args[i]), &references);
                        if (more > highest)
                            highest = more;
                    }
                }
            }
        }
    }
    va_end(ap);
    return QfMatchPatternTable(text, pattern, highest >= 0 ? args : nullptr);
}

extern "C" int QfCheckPattern(const char* pattern)
{
    return QfMatchPatternTable(pattern, "$c!?", const_cast<void* const*>(
                                                    reinterpret_cast<const void* const*>(QfPatternSyntax)));
}
