#include "tspropvalues.h"

#include "tsstringlist.h"
#include "tsvalue.h"
#include "tsvalueparse.h"

void TsValueSource::Keep(TsValue* v)
{
    if (!first_)
        first_ = v;
    else
        more_.push_back(v);
}

TsValueSource::TsValueSource(uint32_t part, uintptr_t d1)
{
    auto keep = [this](TsValue* v) {
        Keep(TsValueRef(v));
        return true;
    };
    switch (part) {
    case TS_PART_STRING:
        TsParseValues(reinterpret_cast<const char*>(d1), [this](TsValue* v) {
            Keep(v);
            return true;
        });
        repeat_ = Count() == 1;
        break;
    case TS_PART_LIST:
        if (Vlist* list = reinterpret_cast<Vlist*>(d1)) {
            for (int32_t i = 0; i < list->Size(); ++i)
                keep(*list->At(i));
        }
        break;
    case TS_PART_RANGE:
        TsWalkRange(reinterpret_cast<const VlistRange*>(d1), [&keep](int32_t, TsValue** e) { return keep(*e); });
        break;
    case TS_PART_NUMBER:
        Keep(TsMakeNumber(static_cast<int32_t>(d1)));
        repeat_ = true;
        break;
    case TS_PART_ADD:
        add_ = true;
        addend_ = static_cast<int32_t>(d1);
        Keep(TsMakeNumber(addend_));
        repeat_ = true;
        break;
    case TS_PART_VALUE:
        if (d1) {
            TsValue* held = *reinterpret_cast<TsValue**>(d1);
            Keep(held ? TsValueRef(held) : TsEmpty());
            repeat_ = true;
        }
        break;
    default:
        break;
    }
}

TsValueSource::~TsValueSource()
{
    TsValueRelease(first_);
    for (TsValue* v : more_)
        TsValueRelease(v);
}

TsValue* TsValueSource::Next()
{
    if (repeat_)
        return first_;
    return next_ < Count() ? At(next_++) : nullptr;
}

bool TsValueSource::NextNumber(int32_t* out)
{
    TsValue* v = Next();
    if (!v)
        return false;
    *out = TsValueNumber(v);
    return true;
}

bool TsValueSource::ApplyTo(TsValue** target)
{
    TsValue* v = Next();
    if (!v)
        return false;
    int type = TsValueType(v);
    if (type == TS_VALUE_NOOP)
        return true;
    if (type >= TS_VALUE_MARKER) {
        TsHolderSet(target, nullptr);
        return true;
    }
    if (add_) {
        TsHolderTake(target, TsMakeNumber(TsValueNumber(TsHeld(target)) + addend_));
        return true;
    }
    TsHolderSet(target, v);
    return true;
}

TsValueSink::TsValueSink(uint32_t part, uintptr_t d1) : part_(part), d1_(d1)
{
    if (!d1 || (part != TS_PART_NUMBER && part != TS_PART_VALUE && part != TS_PART_LIST && part != TS_PART_RANGE))
        full_ = true;
    if (part == TS_PART_LIST && d1)
        reinterpret_cast<Vlist*>(d1)->Clear();  // the list becomes exactly what is read
    if (part == TS_PART_RANGE && d1) {
        TsWalkRange(reinterpret_cast<const VlistRange*>(d1), [this](int32_t, TsValue** e) {
            slots_.push_back(e);
            return true;
        });
    }
}

bool TsValueSink::Put(TsValue* v)
{
    if (full_)
        return false;
    switch (part_) {
    case TS_PART_NUMBER:
        *reinterpret_cast<int32_t*>(d1_) = TsValueNumber(v ? v : TsHeld(nullptr));
        full_ = true;
        break;
    case TS_PART_VALUE:
        TsHolderSet(reinterpret_cast<TsValue**>(d1_), v);
        full_ = true;
        break;
    case TS_PART_LIST:
        if (!reinterpret_cast<Vlist*>(d1_)->Append(v)) {
            full_ = true;
            return false;
        }
        break;
    case TS_PART_RANGE:
        if (static_cast<size_t>(written_) >= slots_.size()) {
            full_ = true;
            return false;
        }
        TsHolderSet(slots_[static_cast<size_t>(written_)], v);
        break;
    default:
        return false;
    }
    ++written_;
    return !full_;
}

bool TsValueSink::PutNumber(int32_t n)
{
    if (full_)
        return false;
    TsValue* v = TsMakeNumber(n);
    bool more = Put(v);
    TsValueRelease(v);
    return more;
}
