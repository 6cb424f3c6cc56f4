#include "voice_map.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "hostfile.h"
#include "streamrecords.h"

namespace playlist {

namespace {

constexpr uint8_t kNotSounding = 0xFF;
constexpr uint32_t kMarker = 255;
constexpr uint32_t kLargestNumber = 65535;  // a / 256 must fit a byte
constexpr uint32_t kWordsPerRecord = 3;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// A cursor over one line; every read is checked.
class LineCursor {
public:
    explicit LineCursor(const std::string& line) : line_(line) {}
    void SkipBlanks()
    {
        while (at_ < line_.size() && IsBlank(line_[at_]))
            ++at_;
    }
    bool Number(uint32_t* value)
    {
        size_t digits = 0;
        uint64_t v = 0;
        while (at_ < line_.size() && line_[at_] >= '0' && line_[at_] <= '9') {
            v = v * 10 + static_cast<uint64_t>(line_[at_++] - '0');
            if (++digits > 9)
                return false;
        }
        *value = static_cast<uint32_t>(v);
        return digits > 0;
    }
    bool Char(char c)
    {
        if (at_ >= line_.size() || line_[at_] != c)
            return false;
        ++at_;
        return true;
    }
    bool AtBlank() const { return at_ < line_.size() && IsBlank(line_[at_]); }
    bool AtEnd()
    {
        SkipBlanks();
        return at_ >= line_.size();
    }

private:
    const std::string& line_;
    size_t at_ = 0;
};

struct Triple {
    uint32_t a = 0, b = 0, c = 0;
    Voice AsVoice() const
    {
        return Voice{static_cast<uint8_t>(c), static_cast<uint8_t>(a / 256), static_cast<uint8_t>(b)};
    }
};

bool ReadTriple(LineCursor& cursor, Triple* t)
{
    return cursor.Number(&t->a) && cursor.Char('-') && cursor.Number(&t->b) && cursor.Char('-') &&
           cursor.Number(&t->c);
}

std::string VoiceText(const Triple& t)
{
    return std::to_string(t.a) + "-" + std::to_string(t.b) + "-" + std::to_string(t.c);
}

uint32_t RecordWord(uint8_t status, uint8_t data1, uint8_t data2)
{
    return ShortEventWord(status, data1, data2);
}

}  // namespace

// Reads a map file's lines into the tables; stops at the first bad line.
struct VoiceMap::Reader {
    Reader(VoiceMap& m, std::string n) : map(m), name(std::move(n)) {}
    VoiceMap& map;
    std::string name;
    bool noteMode = false;
    Voice section;
    int lineNumber = 0;
    VoiceMapLoad result;

    bool Fail(const std::string& what)
    {
        result.badLine = lineNumber;
        result.problem = name + ": line " + std::to_string(lineNumber) + ": " + what;
        return false;
    }

    bool VoiceLine(const std::string& line)
    {
        LineCursor cursor(line);
        Triple source, target;
        cursor.SkipBlanks();
        bool ok = ReadTriple(cursor, &source) && cursor.AtBlank();
        cursor.SkipBlanks();
        ok = ok && ReadTriple(cursor, &target) && cursor.AtEnd();
        if (!ok)
            return Fail("expected a source and a target voice, as in \"0-0-1 0-0-2\"");
        if (source.a > kLargestNumber || target.a > kLargestNumber)
            return Fail("the first number of a voice is above 65535");
        if (source.b > 255 || source.c > 255 || target.b > 255 || target.c > 255)
            return Fail("a bank LSB or program above 255");
        if (target.a == kMarker && target.b == kMarker && target.c == kMarker) {
            section = source.AsVoice();
            noteMode = true;
            return true;
        }
        if (target.a == kMarker && target.b == kMarker) {
            if (source.c < 1 || source.c > 16 || target.c < 1 || target.c > 16)
                return Fail("channels are 1 to 16: " + VoiceText(source) + " " + VoiceText(target));
            map.channels_[source.c - 1] = static_cast<uint8_t>(target.c - 1);
            map.movesChannels_ = true;
            return true;
        }
        const Voice to = target.AsVoice();
        if (to.program > 127 || to.msb > 127 || to.lsb > 127)
            return Fail("the target voice " + VoiceText(target) +
                        " cannot be sent (program, bank MSB and LSB are 0 to 127)");
        map.voices_[VoiceKey(source.AsVoice())] = to;
        return true;
    }

    bool NoteLine(const std::string& line)
    {
        LineCursor cursor(line);
        uint32_t from = 0, to = 0;
        cursor.SkipBlanks();
        bool ok = cursor.Number(&from) && cursor.AtBlank();
        cursor.SkipBlanks();
        ok = ok && cursor.Number(&to) && cursor.AtEnd();
        if (!ok)
            return Fail("expected two note numbers, or \"255 255\" to end the note section");
        if (from == kMarker && to == kMarker) {
            noteMode = false;
            return true;
        }
        if (from > 127 || to > 127)
            return Fail("notes are 0 to 127: " + std::to_string(from) + " " + std::to_string(to));
        map.notes_[VoiceKey(section) << 8 | from] = static_cast<uint8_t>(to);
        return true;
    }

    void Read(const uint8_t* bytes, size_t size)
    {
        size_t at = 0;
        while (at < size) {
            size_t end = at;
            while (end < size && bytes[end] != '\n')
                ++end;
            const std::string line(reinterpret_cast<const char*>(bytes) + at, end - at);
            at = end + 1;
            ++lineNumber;
            LineCursor blank(line);
            if (blank.AtEnd())
                continue;
            if (!(noteMode ? NoteLine(line) : VoiceLine(line)))
                return;
        }
    }
};

VoiceMap::VoiceMap()
{
    Clear();
}

uint32_t VoiceMap::VoiceKey(const Voice& voice)
{
    return (static_cast<uint32_t>(voice.msb) << 8 | voice.lsb) << 8 | voice.program;
}

void VoiceMap::Clear()
{
    voices_.clear();
    notes_.clear();
    for (uint8_t c = 0; c < 16; ++c)
        channels_[c] = c;
    movesChannels_ = false;
    Rewind();
}

void VoiceMap::Rewind()
{
    std::memset(bankMsb_, 0, sizeof bankMsb_);
    std::memset(bankLsb_, 0, sizeof bankLsb_);
    for (Voice& v : current_)
        v = Voice();
    std::memset(sounding_, kNotSounding, sizeof sounding_);
}

VoiceMapLoad VoiceMap::Load(const std::string& path)
{
    std::vector<uint8_t> bytes;
    std::string host = FindHostPath(path.c_str());
    if (host.empty() || ReadFileImage(host.c_str(), &bytes) != FileResult::Ok) {
        Clear();
        VoiceMapLoad result;
        result.problem = path + ": the voice map cannot be opened";
        return result;
    }
    return LoadText(bytes.data(), bytes.size(), path);
}

VoiceMapLoad VoiceMap::LoadText(const uint8_t* bytes, size_t size, const std::string& name)
{
    Clear();
    Reader reader(*this, name);
    reader.Read(bytes, size);
    reader.result.opened = true;
    return reader.result;
}

bool VoiceMap::FindVoice(const Voice& source, Voice* target) const
{
    auto it = voices_.find(VoiceKey(source));
    if (it == voices_.end())
        it = voices_.find(VoiceKey(Voice{source.program, 0, 255}));
    if (it == voices_.end())
        return false;
    *target = it->second;
    return true;
}

bool VoiceMap::FindNote(const Voice& voice, uint8_t note, uint8_t* target) const
{
    auto it = notes_.find(VoiceKey(voice) << 8 | note);
    if (it == notes_.end())
        return false;
    *target = it->second;
    return true;
}

// ---- hooks (the stream's thread) ---------------------------------------------

void VoiceMap::MapNote(ShortMessage* message)
{
    const uint8_t channel = message->status & 0x0F;
    const uint8_t note = message->data1 & 0x7F;
    const bool on = (message->status & 0xF0) == 0x90 && message->data2 != 0;
    uint8_t& sounding = sounding_[channel][note];
    if (!on && sounding != kNotSounding) {
        message->data1 = sounding;  // the note-off of the note that sounds
        sounding = kNotSounding;
        return;
    }
    uint8_t target = note;
    if (!FindNote(current_[channel], note, &target))
        FindNote(Voice{static_cast<uint8_t>(channel + 1), 0, 255}, note, &target);
    message->data1 = target;
    if (on)
        sounding = target;
}

void VoiceMap::MapController(ShortMessage* message)
{
    const uint8_t channel = message->status & 0x0F;
    if (message->data1 == 0)
        bankMsb_[channel] = message->data2;
    else if (message->data1 == 32)
        bankLsb_[channel] = message->data2;
}

uint32_t VoiceMap::MapProgram(ShortMessage* message, uint32_t* extraWords, uint32_t capacityWords)
{
    const uint8_t channel = message->status & 0x0F;
    const uint8_t msb = bankMsb_[channel], lsb = bankLsb_[channel];
    const Voice source{message->data1, msb, lsb};
    // The note sections see the voice the song chose.
    current_[channel] = source;
    Voice target;
    if (!FindVoice(source, &target))
        return 0;
    message->data1 = target.program;
    const bool msbDiffers = target.msb != msb, lsbDiffers = target.lsb != lsb;
    if (!msbDiffers && !lsbDiffers)
        return 0;

    // The bank goes to the target's around the program change, then back to
    // the channel's, so the song's own later program changes are unaffected.
    // These records bypass the channel hook: they are moved here.
    const uint8_t out = channels_[channel];
    const uint8_t control = static_cast<uint8_t>(0xB0 | out);
    uint32_t words[4 * kWordsPerRecord];
    uint32_t count = 0;
    auto put = [&](uint32_t event) {
        words[count++] = 0;
        words[count++] = 0;
        words[count++] = event;
    };
    if (msbDiffers)
        put(RecordWord(control, 0, target.msb));
    if (lsbDiffers)
        put(RecordWord(control, 32, target.lsb));
    put(RecordWord(static_cast<uint8_t>(0xC0 | out), target.program, 0));
    if (msbDiffers && lsbDiffers)
        put(RecordWord(control, 0, msb));
    if (count > capacityWords)
        return 0;  // no room: the program alone changes
    std::memcpy(extraWords, words, count * sizeof(uint32_t));
    // The program change's own slot puts the last bank byte back.
    message->status = static_cast<uint8_t>(0xB0 | channel);
    message->data1 = lsbDiffers ? 32 : 0;
    message->data2 = lsbDiffers ? lsb : msb;
    return count;
}

void VoiceMap::MapChannel(ShortMessage* message)
{
    message->status = static_cast<uint8_t>((message->status & 0xF0) | channels_[message->status & 0x0F]);
}

}  // namespace playlist
