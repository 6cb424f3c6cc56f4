// Where the grid's portable layers write their lines. The Windows side sends
// Diagnostic lines to the framework's diagnostic channel and Trace lines to
// QfTraceOutput; tests collect both.
#ifndef ZUB_GRID_PROPS_TSDIAG_H
#define ZUB_GRID_PROPS_TSDIAG_H

class TsDiagnostics {
public:
    // A line such as "TS: (TsDataMgr) Font aliases exhausted; Font alias not defined.".
    virtual void Diagnostic(const char* line) = 0;
    // A trace line with its level letter and newline ("Ts:  E - ...\n").
    virtual void Trace(const char* line) = 0;

protected:
    ~TsDiagnostics() = default;
};

#endif
