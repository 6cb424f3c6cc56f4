// Nanoseconds per match of patterns the libraries really use, beside an
// equivalent std::regex parse of the same text in the same run.
#include "qfpattern.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Subject {
    const char* name;
    const char* pattern;
    std::vector<const char*> bound;  // patterns for $a.. references
    const char* regex;
    const char* text;
};

const std::vector<Subject>& Subjects()
{
    static const std::vector<Subject> subjects = {
        {"font_face", "* {a<0-31>[^:][^ :]}* (:|!?)", {}, "^ *([^:]{0,31}[^ :]) *(:|$)", "Times New Roman : 12 bold"},
        {"font_keyword", "{a--}[Bb]-([Oo]-([Ll]-([Dd])))(+ |!?)", {},
         "^(-?)[Bb](?:[Oo](?:[Ll](?:[Dd])?)?)?(?: +|$)", "-bold italic"},
        {"colour_prefix", "{a[Rr][Gg][Bb]|[Hh][Ll][Ss]}\\(", {}, "^([Rr][Gg][Bb]|[Hh][Ll][Ss])\\(", "rgb(255,128,0)"},
        {"creation_text", "* {a+[a-zA-Z0-9]}* =* {b+[^ =]}(+ |!?)", {},
         "^ *([a-zA-Z0-9]+) *= *([^ =]+)(?: +|$)", "MaxRows=8192 MaxCols=7"},
        {"size_template", "<0-127:>(($a|$b|$c)-(:($a|$b|$c)))!?",
         {"\\[(#-#-#[rR]|#-#-#-(.-#-#-#)%|.#-#-#%|[Bb])\\]",
          "\\[(-+<1-5>#-(-(.#-#)[pP]))-(\\+<1-5>#-(-(.#-#)[pP]))\\]",
          "+(+(\\\\?|[^():\\])|\\(-###\\*+(\\\\?|[^][():\\])\\))"},
         "^(?=.{0,127}$)(\\[(?:\\d{1,3}[rR]|\\d{1,3}(?:\\.\\d{0,3})?%|\\.\\d{1,3}%|[Bb])\\]"
         "|\\[\\+?\\d{1,5}(?:(?:\\.\\d{1,2})?[pP])?(?:\\+\\d{1,5}(?:(?:\\.\\d{1,2})?[pP])?)?\\]"
         "|(?:(?:\\\\.|[^():\\\\])+|\\(\\d{2,3}\\*(?:\\\\.|[^\\]\\[():\\\\])+\\))+)"
         "(?::(\\[(?:\\d{1,3}[rR]|\\d{1,3}(?:\\.\\d{0,3})?%|\\.\\d{1,3}%|[Bb])\\]"
         "|\\[\\+?\\d{1,5}(?:(?:\\.\\d{1,2})?[pP])?(?:\\+\\d{1,5}(?:(?:\\.\\d{1,2})?[pP])?)?\\]"
         "|(?:(?:\\\\.|[^():\\\\])+|\\(\\d{2,3}\\*(?:\\\\.|[^\\]\\[():\\\\])+\\))+))?$",
         "[20]:[12.5%]"},
    };
    return subjects;
}

int MatchQf(const Subject& s, char (*buffers)[256])
{
    void* table[26];
    for (int i = 0; i < 26; ++i)
        table[i] = buffers[i];
    for (size_t i = 0; i < s.bound.size(); ++i)
        table[i] = const_cast<char*>(s.bound[i]);
    return QfMatchPatternTable(s.text, s.pattern, table);
}

void BM_Qf(benchmark::State& state, const Subject* s)
{
    static char buffers[26][256];
    for (auto _ : state)
        benchmark::DoNotOptimize(MatchQf(*s, buffers));
}

void BM_Regex(benchmark::State& state, const Subject* s)
{
    const std::regex re(s->regex);  // compiled once, as a fair baseline
    std::cmatch m;
    for (auto _ : state)
        benchmark::DoNotOptimize(std::regex_search(s->text, m, re, std::regex_constants::match_continuous));
}

// Collects per-iteration times so the ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ns;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            ns[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    for (const Subject& s : Subjects()) {
        static char buffers[26][256];
        std::cmatch m;
        bool qf = MatchQf(s, buffers) >= 0;
        bool re = std::regex_search(s.text, m, std::regex(s.regex), std::regex_constants::match_continuous);
        if (qf != re) {
            std::fprintf(stderr, "%s: pattern and regex disagree on '%s'\n", s.name, s.text);
            return 1;
        }
        benchmark::RegisterBenchmark((std::string("qf/") + s.name).c_str(), BM_Qf, &s);
        benchmark::RegisterBenchmark((std::string("regex/") + s.name).c_str(), BM_Regex, &s);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-16s %12s %12s %10s\n", "pattern", "qf ns", "regex ns", "regex/qf");
    for (const Subject& s : Subjects()) {
        double q = reporter.ns[std::string("qf/") + s.name];
        double r = reporter.ns[std::string("regex/") + s.name];
        if (q > 0)
            std::printf("%-16s %12.1f %12.1f %10.2f\n", s.name, q, r, r / q);
    }
    return 0;
}
