#include "songstate.h"

#include <cstring>

#include "streamrecords.h"

namespace {

constexpr uint8_t kBankMsb = 0;
constexpr uint8_t kBankLsb = 32;
constexpr uint8_t kDataMsb = 6;
constexpr uint8_t kDataLsb = 38;
constexpr uint8_t kDataIncrement = 96;
constexpr uint8_t kNrpnLsb = 98;
constexpr uint8_t kNrpnMsb = 99;
constexpr uint8_t kRpnLsb = 100;
constexpr uint8_t kRpnMsb = 101;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kFirstModeMessage = 120;
constexpr uint16_t kBendCentre = 0x2000;
constexpr uint16_t kNoBend = 0xFFFF;

// Controllers that a reset of all controllers puts back: modulation,
// expression and the pedals.
constexpr uint8_t kResetByResetAll[] = {1, 11, 64, 65, 66, 67, 68, 69};

// Controllers sent in the ascending run; the others go with the bank and
// program or with the parameters, or are actions rather than settings.
bool IsPlainController(uint8_t controller)
{
    return controller != kBankMsb && controller != kBankLsb && controller != kDataMsb && controller != kDataLsb &&
           (controller < kDataIncrement || controller > kRpnMsb) && controller < kFirstModeMessage;
}

uint32_t Control(uint8_t channel, uint8_t controller, uint8_t value)
{
    return ShortEventWord(static_cast<uint8_t>(0xB0 | channel), controller, value);
}

}  // namespace

uint8_t ControllerDefault(uint8_t controller)
{
    switch (controller) {
    case 7: return 100;   // volume
    case 8:               // balance
    case 10: return 64;   // pan
    case 11: return 127;  // expression
    case 91: return 40;   // reverb depth
    default: break;
    }
    if (controller >= 71 && controller <= 79)
        return 64;  // sound controllers sit in the middle
    return 0;
}

void SongState::Reset(uint32_t tick)
{
    tick_ = tick;
    tempo_ = kDefaultTempo;
    exclusives_ = 0;
    for (Channel& c : channels_) {
        std::memset(c.controllers, kNone, sizeof c.controllers);
        std::memset(c.touched, 0, sizeof c.touched);
        c.program = kNone;
        c.programTouched = false;
        c.bend = kNoBend;
        c.bendTouched = false;
        c.pressure = kNone;
        c.pressureTouched = false;
        std::memset(c.select, kNone, sizeof c.select);
        c.selectKind = kNone;
        c.selectTouched = false;
        c.parameterCount = 0;
    }
}

void SongState::ResetControllers(Channel& c)
{
    for (uint8_t controller : kResetByResetAll) {
        c.controllers[controller] = kNone;
        c.touched[controller] = true;
    }
    c.bend = kNoBend;
    c.bendTouched = true;
    c.pressure = kNone;
    c.pressureTouched = true;
    std::memset(c.select, 127, sizeof c.select);  // the null parameter
}

// Data entry goes to the parameter selected last, if any (not the null one).
void SongState::DataEntry(Channel& c, bool msb, uint8_t value)
{
    if (c.selectKind == kNone)
        return;
    const uint8_t* sel = c.select[c.selectKind];
    if (sel[0] == kNone || sel[1] == kNone || (sel[0] == 127 && sel[1] == 127))
        return;
    Parameter* p = nullptr;
    for (int i = 0; i < c.parameterCount; ++i) {
        Parameter& q = c.parameters[i];
        if (q.kind == c.selectKind && q.msb == sel[0] && q.lsb == sel[1])
            p = &q;
    }
    if (!p) {
        if (c.parameterCount == kParameters) {
            std::memmove(c.parameters, c.parameters + 1, sizeof(Parameter) * (kParameters - 1));
            --c.parameterCount;
        }
        p = &c.parameters[c.parameterCount++];
        *p = {c.selectKind, sel[0], sel[1], kNone, kNone};
    }
    (msb ? p->dataMsb : p->dataLsb) = value;
}

void SongState::ApplyController(Channel& c, uint8_t controller, uint8_t value)
{
    switch (controller) {
    case kDataMsb: return DataEntry(c, true, value);
    case kDataLsb: return DataEntry(c, false, value);
    case kRpnMsb:
    case kRpnLsb:
        c.select[kRegistered][controller == kRpnMsb ? 0 : 1] = value;
        c.selectKind = kRegistered;
        return;
    case kNrpnMsb:
    case kNrpnLsb:
        c.select[kNonRegistered][controller == kNrpnMsb ? 0 : 1] = value;
        c.selectKind = kNonRegistered;
        return;
    case kResetAllControllers: return ResetControllers(c);
    default: break;
    }
    if (controller == kBankMsb || controller == kBankLsb || IsPlainController(controller))
        c.controllers[controller] = value;
}

void SongState::Apply(const SmfEvent& event)
{
    if (event.status == 0xF0) {
        ++exclusives_;
        return;
    }
    if (event.status == 0xFF) {
        if (event.data1 == 0x51 && event.length == 3)
            tempo_ = static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2];
        return;
    }
    if (event.status < 0x80 || event.status >= 0xF0)
        return;
    Channel& c = channels_[event.status & 0x0F];
    switch (event.status & 0xF0) {
    case 0xB0: ApplyController(c, event.data1 & 0x7F, event.data2 & 0x7F); break;
    case 0xC0: c.program = event.data1 & 0x7F; break;
    case 0xD0: c.pressure = event.data1 & 0x7F; break;
    case 0xE0: c.bend = static_cast<uint16_t>((event.data1 & 0x7F) | (event.data2 & 0x7F) << 7); break;
    default: break;
    }
}

void SongState::Touch(const SmfEvent& event)
{
    if (event.status < 0x80 || event.status >= 0xF0)
        return;
    Channel& c = channels_[event.status & 0x0F];
    switch (event.status & 0xF0) {
    case 0xB0: {
        const uint8_t controller = event.data1 & 0x7F;
        if (controller == kResetAllControllers) {
            for (uint8_t reset : kResetByResetAll)
                c.touched[reset] = true;
            c.bendTouched = c.pressureTouched = c.selectTouched = true;
        } else if (controller >= kNrpnLsb && controller <= kRpnMsb) {
            c.selectTouched = true;
        } else if (controller == kBankMsb || controller == kBankLsb || IsPlainController(controller)) {
            c.touched[controller] = true;
        }
        break;
    }
    case 0xC0: c.programTouched = true; break;
    case 0xD0: c.pressureTouched = true; break;
    case 0xE0: c.bendTouched = true; break;
    default: break;
    }
}

void SongState::ChannelEvents(uint8_t channel, const Channel& c, std::vector<uint32_t>* out)
{
    auto controller = [&](uint8_t number) {
        if (c.controllers[number] != kNone)
            out->push_back(Control(channel, number, c.controllers[number]));
        else if (c.touched[number])
            out->push_back(Control(channel, number, ControllerDefault(number)));
    };
    // The bank goes ahead of the program it selects.
    controller(kBankMsb);
    controller(kBankLsb);
    if (c.program != kNone || c.programTouched)
        out->push_back(ShortEventWord(static_cast<uint8_t>(0xC0 | channel), c.program != kNone ? c.program : 0, 0));
    for (uint8_t number = 1; number < kFirstModeMessage; ++number) {
        if (IsPlainController(number))
            controller(number);
    }

    static const uint8_t kSelectControllers[2][2] = {{kRpnMsb, kRpnLsb}, {kNrpnMsb, kNrpnLsb}};
    for (int i = 0; i < c.parameterCount; ++i) {
        const Parameter& p = c.parameters[i];
        out->push_back(Control(channel, kSelectControllers[p.kind][0], p.msb));
        out->push_back(Control(channel, kSelectControllers[p.kind][1], p.lsb));
        if (p.dataMsb != kNone)
            out->push_back(Control(channel, kDataMsb, p.dataMsb));
        if (p.dataLsb != kNone)
            out->push_back(Control(channel, kDataLsb, p.dataLsb));
    }
    // Later data entries go where the song had them go: the selection it
    // made last, or none.
    uint8_t kind = c.selectKind, msb = 127, lsb = 127;
    if (kind != kNone && c.select[kind][0] != kNone && c.select[kind][1] != kNone) {
        msb = c.select[kind][0];
        lsb = c.select[kind][1];
    } else {
        kind = kRegistered;  // the null parameter
    }
    const bool anySelect = c.selectKind != kNone || c.selectTouched || c.parameterCount > 0;
    const bool same = c.parameterCount > 0 && c.parameters[c.parameterCount - 1].kind == kind &&
                      c.parameters[c.parameterCount - 1].msb == msb && c.parameters[c.parameterCount - 1].lsb == lsb;
    if (anySelect && !same) {
        out->push_back(Control(channel, kSelectControllers[kind][0], msb));
        out->push_back(Control(channel, kSelectControllers[kind][1], lsb));
    }

    if (c.pressure != kNone || c.pressureTouched)
        out->push_back(ShortEventWord(static_cast<uint8_t>(0xD0 | channel), c.pressure != kNone ? c.pressure : 0, 0));
    if (c.bend != kNoBend || c.bendTouched) {
        const uint16_t bend = c.bend != kNoBend ? c.bend : kBendCentre;
        out->push_back(ShortEventWord(static_cast<uint8_t>(0xE0 | channel), bend & 0x7F, bend >> 7));
    }
}

std::vector<uint32_t> SongState::Events() const
{
    std::vector<uint32_t> out;
    if (tick_ == 0)
        return out;
    out.push_back(kMidiEventTempo | tempo_);
    for (uint8_t channel = 0; channel < 16; ++channel)
        ChannelEvents(channel, channels_[channel], &out);
    return out;
}

SmfResult CollectSongState(const SmfReader& reader, uint32_t tick, SongState* state, SmfMerge* mark)
{
    state->Reset(tick);
    SmfMerge merge = reader.NewMerge();
    SmfEvent event;
    bool before = true;
    for (;;) {
        const SmfResult result = reader.Walk(merge, before ? tick : kSmfNoLimit, !before, &event);
        if (result == SmfResult::LimitReached || (before && result == SmfResult::EndOfFile)) {
            // The song may end before the tick: the mark then stands at its end.
            if (mark)
                *mark = merge;
            if (result == SmfResult::EndOfFile)
                return SmfResult::Ok;
            before = false;
            continue;
        }
        if (result == SmfResult::EndOfFile)
            return SmfResult::Ok;
        if (result != SmfResult::Ok)
            return result;
        if (event.status == 0xFF && event.data1 == 0x51 && event.length != 3)
            return SmfResult::InvalidFile;
        if (before)
            state->Apply(event);
        else
            state->Touch(event);
    }
}
