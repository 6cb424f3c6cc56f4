// The values of a property request in the form its part gives them:
// TsValueSource hands a setter one value per target, TsValueSink takes what
// a getter reads. Every layer that owns property items works through these.
#ifndef ZUB_GRID_TSPROPVALUES_H
#define ZUB_GRID_TSPROPVALUES_H

#include <stdint.h>

#include <vector>

#include "ts.h"

class TsValueSource {
public:
    // Part 0 a text (one value serves every target; several go in order),
    // 1 a list, 2 a range, 3 a number for every target, 4 a number to add
    // to every target, 5 one value for every target.
    TsValueSource(uint32_t part, uintptr_t d1);
    ~TsValueSource();
    TsValueSource(const TsValueSource&) = delete;
    TsValueSource& operator=(const TsValueSource&) = delete;

    // The value for the next target (no reference added; valid while the
    // source lives), or null when the values ran out.
    TsValue* Next();
    // Part 4: the number to add instead of a value to set.
    bool IsAdd() const { return add_; }
    int32_t Addend() const { return addend_; }
    // For setters of numbers: the next value's number, or false at the end.
    bool NextNumber(int32_t* out);
    // Applies the next value to a target value holder: a no-op marker
    // leaves it, another marker resets it to the empty value, part 4 adds
    // to its number. False when the values ran out.
    bool ApplyTo(TsValue** target);

private:
    void Keep(TsValue* v);  // takes over one reference
    size_t Count() const { return first_ ? 1 + more_.size() : 0; }
    TsValue* At(size_t i) const { return i == 0 ? first_ : more_[i - 1]; }

    // The first value inline: most requests carry one.
    TsValue* first_ = nullptr;
    std::vector<TsValue*> more_;
    size_t next_ = 0;
    bool repeat_ = false;
    bool add_ = false;
    int32_t addend_ = 0;
};

class TsValueSink {
public:
    // Part 3 the number into the int32_t at d1 and 5 the value into the
    // holder at d1 (the first target only); 1 into the list at d1, which
    // then holds exactly what was read; 2 into the entries of the range at d1.
    TsValueSink(uint32_t part, uintptr_t d1);
    // False once the sink takes no more (or cannot take anything).
    bool Put(TsValue* v);
    bool PutNumber(int32_t n);
    bool Full() const { return full_; }
    int32_t Written() const { return written_; }
    // What TSM_GETPROP returns: the number of list entries written for
    // parts 1 and 2, 1 when a single value was written.
    intptr_t Result() const { return written_; }

private:
    uint32_t part_;
    uintptr_t d1_;
    std::vector<TsValue**> slots_;  // part 2: the range's entries
    bool full_ = false;
    int32_t written_ = 0;
};

#endif
