#include "eseq_testdata.h"

#include <cstdio>
#include <filesystem>

#include "hostfile.h"

namespace eseqtest {

namespace {

constexpr size_t kHeaderEnd = 119;  // the first 0xF1
constexpr size_t kPadding = 1024;

uint8_t Status(int kind, int channel)
{
    return static_cast<uint8_t>(kind | ((channel - 1) & 0x0F));
}

uint8_t Data(int value)
{
    return static_cast<uint8_t>(value & 0x7F);
}

std::string Centred(const std::string& line)
{
    std::string text = line.substr(0, 16);
    const size_t left = (16 - text.size()) / 2;
    return std::string(left, ' ') + text + std::string(16 - left - text.size(), ' ');
}

void Put(std::vector<uint8_t>& out, size_t at, const std::string& text, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        out[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

// A small repeatable random sequence.
uint32_t NextRandom(uint32_t* state)
{
    *state = *state * 1664525u + 1013904223u;
    return *state >> 8;
}

}  // namespace

EseqEvents& EseqEvents::Wait(uint32_t ticks)
{
    while (ticks > 0) {
        const uint32_t part = ticks > 16383 ? 16383 : ticks;
        if (part < 128)
            bytes.insert(bytes.end(), {0xF3, static_cast<uint8_t>(part)});
        else
            bytes.insert(bytes.end(), {0xF4, static_cast<uint8_t>(part & 0x7F), static_cast<uint8_t>(part >> 7)});
        ticks -= part;
    }
    return *this;
}

EseqEvents& EseqEvents::NoteOn(int channel, int note, int velocity)
{
    bytes.insert(bytes.end(), {Status(0x90, channel), Data(note), Data(velocity)});
    return *this;
}

EseqEvents& EseqEvents::NoteOff(int channel, int note)
{
    return NoteOn(channel, note, 0);
}

EseqEvents& EseqEvents::Program(int channel, int program)
{
    bytes.insert(bytes.end(), {Status(0xC0, channel), Data(program)});
    return *this;
}

EseqEvents& EseqEvents::Control(int channel, int controller, int value)
{
    bytes.insert(bytes.end(), {Status(0xB0, channel), Data(controller), Data(value)});
    return *this;
}

EseqEvents& EseqEvents::Sysex(std::initializer_list<uint8_t> withF0AndF7)
{
    bytes.insert(bytes.end(), withF0AndF7);
    return *this;
}

EseqEvents& EseqEvents::TimeSignature(int numerator, int denominatorPower)
{
    bytes.insert(bytes.end(), {0xF9, Data(numerator), Data(denominatorPower)});
    return *this;
}

EseqEvents& EseqEvents::TempoRatio(uint32_t thousandths)
{
    bytes.insert(bytes.end(), {0xFB, Data(static_cast<int>(thousandths)), Data(static_cast<int>(thousandths >> 7))});
    return *this;
}

EseqEvents& EseqEvents::ChannelPrefix(int prefix)
{
    bytes.insert(bytes.end(), {0xFF, Data(prefix)});
    return *this;
}

EseqEvents& EseqEvents::Empty()
{
    bytes.push_back(0xF6);
    return *this;
}

EseqEvents& EseqEvents::Unknown(uint8_t code, std::initializer_list<uint8_t> params)
{
    bytes.push_back(code);
    bytes.insert(bytes.end(), params);
    return *this;
}

EseqEvents& EseqEvents::Raw(std::initializer_list<uint8_t> raw)
{
    bytes.insert(bytes.end(), raw);
    return *this;
}

EseqEvents& EseqEvents::End()
{
    bytes.push_back(0xF2);
    return *this;
}

std::string CentredTitle(const std::string& line1, const std::string& line2)
{
    return Centred(line1) + Centred(line2);
}

std::vector<uint8_t> BuildEseq(const EseqSongSpec& spec)
{
    std::vector<uint8_t> out(kHeaderEnd, 0);
    const char signature[] = "COM-ESEQ";
    const size_t at = spec.prefixed ? 7 : 0;
    for (size_t i = 0; i < 8; ++i)
        out[at + i] = static_cast<uint8_t>(signature[i]);
    if (spec.prefixed)
        out[0] = 0xFE;
    const uint8_t tempo = static_cast<uint8_t>(spec.baseTempo - 29);
    out[25] = spec.tempoAt51 ? 0x40 : 0x00;
    out[29] = 0x01;
    out[44] = spec.diskOrchestra ? 0x02 : 0x01;
    // The field that does not hold the tempo differs for a short-title song.
    const uint8_t other = spec.shortTitleOnly ? static_cast<uint8_t>(tempo ^ 0x55) : tempo;
    out[36] = spec.tempoAt51 ? other : tempo;
    out[51] = spec.tempoAt51 ? tempo : other;
    Put(out, 60, spec.shortTitle, 8);
    out[73] = spec.kindByteZero ? 0 : 1;
    Put(out, 87, CentredTitle(spec.line1, spec.line2), 32);

    out.push_back(0xF1);
    out.push_back(0x00);
    if (spec.leadIn > 0) {
        EseqEvents lead;
        lead.Wait(static_cast<uint32_t>(spec.leadIn > 16383 ? 16383 : spec.leadIn));
        out.insert(out.end(), lead.bytes.begin(), lead.bytes.end());
    }
    out.insert(out.end(), spec.events.bytes.begin(), spec.events.bytes.end());
    if (spec.endMark)
        out.push_back(0xF2);
    if (spec.prefixed) {
        const uint32_t length = static_cast<uint32_t>(out.size() - 7);
        for (int i = 0; i < 4; ++i)
            out[3 + i] = static_cast<uint8_t>(length >> (8 * i));
    }
    if (spec.pad && out.size() % kPadding != 0)
        out.resize(out.size() + kPadding - out.size() % kPadding, 0);
    return out;
}

EseqSongSpec SampleSong(uint32_t seed, const std::string& title, int notes)
{
    EseqSongSpec spec;
    spec.line1 = title.substr(0, 16);
    spec.line2 = title.size() > 16 ? title.substr(16) : std::string();
    spec.shortTitle = title.substr(0, 8);
    uint32_t state = seed * 2654435761u + 1;
    spec.baseTempo = 60 + static_cast<int>(NextRandom(&state) % 100);
    EseqEvents& e = spec.events;
    e.Sysex({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
    e.TimeSignature(NextRandom(&state) % 2 ? 3 : 4, 2);
    e.Program(1, 0).Program(2, 0).Control(1, 7, 100).Control(2, 7, 100);
    for (int i = 0; i < notes; ++i) {
        const int right = 60 + static_cast<int>(NextRandom(&state) % 24);
        const int left = 36 + static_cast<int>(NextRandom(&state) % 24);
        const int velocity = 40 + static_cast<int>(NextRandom(&state) % 70);
        e.NoteOn(1, right, velocity).NoteOn(2, left, velocity - 10);
        e.Wait(96 + NextRandom(&state) % 200);
        e.NoteOff(1, right).NoteOff(2, left);
        e.Wait(NextRandom(&state) % 3 == 0 ? 0 : 24);
        if (i == notes / 2)
            e.TempoRatio(900 + NextRandom(&state) % 200);
    }
    e.Wait(384);
    return spec;
}

std::vector<uint8_t> BuildPianodir(const PianodirSpec& spec)
{
    std::vector<uint8_t> out(4887 + 13, 0);
    for (size_t k = 0; k < spec.records.size() && 16 + 80 * (k + 1) <= 4816; ++k) {
        const PianodirRecord& r = spec.records[k];
        const size_t at = 16 + 80 * k;
        Put(out, at, r.name, 8);
        Put(out, at + 8, r.ext, 3);
        out[at + 12] = static_cast<uint8_t>(r.tempo - 29);
        for (int i = 0; i < 4; ++i)
            out[at + 16 + i] = static_cast<uint8_t>(r.lengthTicks >> (8 * i));
        out[at + 41] = r.ensemble ? 1 : 0;
        Put(out, at + 48, r.title, 32);
    }
    for (size_t i = 0; i < spec.diskTitle.size() && i < 64; ++i)
        out[4816 + i] = static_cast<uint8_t>(spec.diskTitle[i]);
    out[4886] = static_cast<uint8_t>(spec.records.size() + 1);
    return out;
}

std::vector<uint8_t> BuildMusicDir(const MusicDirSpec& spec)
{
    std::vector<uint8_t> out(160 + 48 * spec.songs.size(), 0);
    for (size_t i = 0; i < spec.diskTitle.size() && i < 64; ++i)
        out[16 + i] = static_cast<uint8_t>(spec.diskTitle[i]);
    out[81] = static_cast<uint8_t>(spec.songs.size());
    for (size_t k = 0; k < spec.songs.size(); ++k) {
        const size_t at = 160 + 48 * k;
        Put(out, at, spec.songs[k].name, 8);
        Put(out, at + 8, spec.songs[k].ext, 3);
        Put(out, at + 21, spec.songs[k].shortTitle, 8);
    }
    return out;
}

std::vector<uint8_t> BuildNameMda(const std::vector<std::string>& titles)
{
    std::vector<uint8_t> out(160 + 48 * titles.size(), ' ');
    for (size_t k = 0; k < titles.size(); ++k) {
        for (size_t i = 0; i < titles[k].size() && i < 48; ++i)
            out[160 + 48 * k + i] = static_cast<uint8_t>(titles[k][i]);
    }
    return out;
}

std::vector<NamedSong> OddSongs()
{
    std::vector<NamedSong> songs;
    auto add = [&songs](const char* name, const EseqSongSpec& spec) { songs.push_back({name, BuildEseq(spec)}); };
    EseqSongSpec base;
    base.events.Program(1, 0).NoteOn(1, 60, 80).Wait(96).NoteOff(1, 60);
    add("plain.fil", base);

    EseqSongSpec s = base;
    s.prefixed = false;
    add("offset0.fil", s);
    s = base;
    s.tempoAt51 = true;
    s.baseTempo = 120;
    add("variant40.fil", s);
    s = base;
    s.diskOrchestra = true;
    add("doc.evt", s);
    s = base;
    s.shortTitleOnly = true;
    s.kindByteZero = false;
    add("shorttitle.fil", s);

    s = EseqSongSpec();
    s.events.Wait(5).Wait(300).Wait(20000).NoteOn(2, 40, 30).Wait(16383).NoteOff(2, 40);
    add("waits.fil", s);
    s = EseqSongSpec();
    s.events.Sysex({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).Sysex({0xF0, 0x43, 0x10, 0x4C, 0x08, 0x00, 0x04, 0x7F, 0xF7});
    s.events.TimeSignature(6, 3).TempoRatio(1000).TempoRatio(500).TempoRatio(10).ChannelPrefix(3);
    s.events.Empty().Unknown(0xFA, {1, 2, 3}).Unknown(0xF5, {}).Control(1, 7, 0).Raw({0x07, 0x00});
    s.events.NoteOn(1, 64, 70).Raw({0x40, 0x00});
    add("events.fil", s);
    s = base;
    s.endMark = false;
    s.pad = false;
    add("noend.fil", s);
    s = base;
    s.events.Raw({0xF0, 0x43, 0x10});
    s.endMark = false;
    s.pad = false;
    add("opensysex.fil", s);
    s = base;
    s.events.Empty().Raw({0x3C, 0x40});
    add("norunning.fil", s);
    return songs;
}

int WriteFloppyTree(const std::string& root, int disks, int songsPerDisk, uint32_t seed)
{
    int written = 0;
    for (int d = 1; d <= disks; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "DISK%02d", d);
        const std::string folder = root + "/" + name;
        std::error_code ec;
        std::filesystem::create_directories(HostPath(folder.c_str()), ec);
        PianodirSpec catalog;
        catalog.diskTitle = std::string("Generated Disk ") + std::to_string(d);
        for (int s = 1; s <= songsPerDisk; ++s) {
            char file[16];
            std::snprintf(file, sizeof file, "SONG%02d", s);
            const std::string title = "Piece " + std::to_string(d) + "-" + std::to_string(s);
            const std::vector<uint8_t> song = BuildEseq(SampleSong(seed + d * 1000 + s, title));
            const std::string path = folder + "/" + file + ".FIL";
            if (WriteFileImage(path.c_str(), song.data(), song.size()) == FileResult::Ok)
                ++written;
            catalog.records.push_back({file, "FIL", 120, 384 * 100, false, title});
        }
        const std::vector<uint8_t> dir = BuildPianodir(catalog);
        WriteFileImage((folder + "/Pianodir.fil").c_str(), dir.data(), dir.size());
        const char note[] = "not a song\n";
        WriteFileImage((folder + "/README.TXT").c_str(), reinterpret_cast<const uint8_t*>(note), sizeof note - 1);
    }
    return written;
}

}  // namespace eseqtest
