// The synthesizer through FluidSynth's library.
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <mutex>
#include <vector>

#include "runtime_library.h"
#include "sound_outputs.h"
#include "sound_support.h"
#include "wavfile.h"

namespace {

// The library's functions used here, filled when it is first needed.
struct FluidFunctions {
    decltype(&::delete_fluid_audio_driver) delete_fluid_audio_driver;
    decltype(&::delete_fluid_settings) delete_fluid_settings;
    decltype(&::delete_fluid_synth) delete_fluid_synth;
    decltype(&::fluid_set_log_function) fluid_set_log_function;
    decltype(&::fluid_settings_setnum) fluid_settings_setnum;
    decltype(&::fluid_settings_setstr) fluid_settings_setstr;
    decltype(&::fluid_synth_cc) fluid_synth_cc;
    decltype(&::fluid_synth_channel_pressure) fluid_synth_channel_pressure;
    decltype(&::fluid_synth_get_active_voice_count) fluid_synth_get_active_voice_count;
    decltype(&::fluid_synth_get_gain) fluid_synth_get_gain;
    decltype(&::fluid_synth_key_pressure) fluid_synth_key_pressure;
    decltype(&::fluid_synth_noteoff) fluid_synth_noteoff;
    decltype(&::fluid_synth_noteon) fluid_synth_noteon;
    decltype(&::fluid_synth_pitch_bend) fluid_synth_pitch_bend;
    decltype(&::fluid_synth_program_change) fluid_synth_program_change;
    decltype(&::fluid_synth_set_gain) fluid_synth_set_gain;
    decltype(&::fluid_synth_sfload) fluid_synth_sfload;
    decltype(&::fluid_synth_sysex) fluid_synth_sysex;
    decltype(&::fluid_synth_write_float) fluid_synth_write_float;
    decltype(&::new_fluid_audio_driver) new_fluid_audio_driver;
    decltype(&::new_fluid_settings) new_fluid_settings;
    decltype(&::new_fluid_synth) new_fluid_synth;
} fluid;

// Opened by the first command that needs the synthesizer.
RuntimeLibrary& FluidLibrary()
{
    static RuntimeLibrary library(ZUB_FLUIDSYNTH_SONAME, "ZUBCLI_LIBFLUIDSYNTH", "the FluidSynth synthesizer",
                                  "libfluidsynth3", {
                                      ZUB_LIBRARY_SYMBOL(fluid, delete_fluid_audio_driver),
                                      ZUB_LIBRARY_SYMBOL(fluid, delete_fluid_settings),
                                      ZUB_LIBRARY_SYMBOL(fluid, delete_fluid_synth),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_set_log_function),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_settings_setnum),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_settings_setstr),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_cc),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_channel_pressure),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_get_active_voice_count),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_get_gain),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_key_pressure),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_noteoff),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_noteon),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_pitch_bend),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_program_change),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_set_gain),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_sfload),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_sysex),
                                      ZUB_LIBRARY_SYMBOL(fluid, fluid_synth_write_float),
                                      ZUB_LIBRARY_SYMBOL(fluid, new_fluid_audio_driver),
                                      ZUB_LIBRARY_SYMBOL(fluid, new_fluid_settings),
                                      ZUB_LIBRARY_SYMBOL(fluid, new_fluid_synth),
                                  });
    return library;
}

// FluidSynth reports its errors through a log function; the last one is
// kept for our own message, and nothing is printed behind our back.
std::mutex logLock;
std::string lastLibraryError;

void KeepError(int level, const char* message, void*)
{
    if (level > FLUID_ERR)
        return;
    std::lock_guard<std::mutex> guard(logLock);
    lastLibraryError = message ? message : "";
}

void QuietLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
            fluid.fluid_set_log_function(level, KeepError, nullptr);
    });
}

std::string TakeLibraryError()
{
    std::lock_guard<std::mutex> guard(logLock);
    std::string text;
    text.swap(lastLibraryError);
    return text;
}

// A SoundFont 2 file ("RIFF" size "sfbk") or a DLS collection ("RIFF" size
// "DLS "). Other files are turned away before the library's loaders, which
// complain about them on standard error.
bool LooksLikeSoundFont(const std::string& path)
{
    char head[12] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return got == sizeof head && std::memcmp(head, "RIFF", 4) == 0 &&
           (std::memcmp(head + 8, "sfbk", 4) == 0 || std::memcmp(head + 8, "DLS ", 4) == 0);
}

// The audio outputs tried in turn for live play. JACK is left out: without
// a running server it may start one.
const char* const kAudioDrivers[] = {"pulseaudio", "pipewire", "alsa", "sdl2"};

constexpr uint32_t kRenderBlock = 1024;  // frames per write
constexpr uint32_t kFadeMs = 100;        // fade at the end of a cut tail

class FluidSynthSink : public SynthSink {
public:
    ~FluidSynthSink() override
    {
        if (audio_)
            fluid.delete_fluid_audio_driver(audio_);
        if (synth_)
            fluid.delete_fluid_synth(synth_);
        if (settings_)
            fluid.delete_fluid_settings(settings_);
    }

    bool Load(const std::string& soundFont, std::string* problem)
    {
        settings_ = fluid.new_fluid_settings();
        if (settings_) {
            fluid.fluid_settings_setnum(settings_, "synth.sample-rate", kSampleRate);
            synth_ = fluid.new_fluid_synth(settings_);
        }
        if (!synth_) {
            *problem = "the synthesizer could not start";
            return false;
        }
        if (!LooksLikeSoundFont(soundFont) || fluid.fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
            const std::string why = TakeLibraryError();
            *problem = soundFont + ": not a usable sound font" + (why.empty() ? "" : " (" + why + ")");
            return false;
        }
        baseGain_ = fluid.fluid_synth_get_gain(synth_);
        return true;
    }

    bool StartAudio(std::string* problem) override
    {
        std::string tried;
        for (const char* driver : kAudioDrivers) {
            if (std::strcmp(driver, "alsa") == 0 && access("/dev/snd", F_OK) != 0)
                continue;  // no sound card: the library would only print complaints
            if (fluid.fluid_settings_setstr(settings_, "audio.driver", driver) != FLUID_OK)
                continue;  // not built into this FluidSynth
            audio_ = fluid.new_fluid_audio_driver(settings_, synth_);
            if (audio_)
                return true;
            tried += tried.empty() ? driver : std::string(", ") + driver;
        }
        TakeLibraryError();
        *problem = "no audio output could be opened (tried " + tried + ")";
        return false;
    }

    bool StartRender(const std::string& wavPath, std::function<void(uint64_t)> progress,
                     std::string* problem) override
    {
        if (!wav_.Open(wavPath, kSampleRate, 2)) {
            *problem = wavPath + ": open failed";
            return false;
        }
        rendering_ = true;
        path_ = wavPath;
        progress_ = std::move(progress);
        return true;
    }

    bool FinishRender(std::string* problem) override
    {
        const uint32_t limit = kSampleRate / 1000 * kTailLimitMs;
        const uint32_t fade = kSampleRate / 1000 * kFadeMs;
        uint32_t tail = 0;
        while (tail < limit - fade && fluid.fluid_synth_get_active_voice_count(synth_) > 0) {
            const uint32_t n = std::min(kRenderBlock, limit - fade - tail);
            RenderFrames(n, 0);
            tail += n;
        }
        // Still sounding at the limit: fade out rather than cut.
        if (fluid.fluid_synth_get_active_voice_count(synth_) > 0)
            RenderFrames(fade, fade);
        if (failed_ || !wav_.Finish()) {
            *problem = path_ + ": write failed";
            return false;
        }
        return true;
    }

    void OnEvent(const MidiSinkEvent& event) override
    {
        if (rendering_)
            RenderUntil(event.scheduledUs);
        MessageSink::OnEvent(event);
    }

private:
    void Channel(const uint8_t* b, uint32_t length) override
    {
        const int channel = b[0] & 0x0F;
        const int d1 = length > 1 ? b[1] : 0, d2 = length > 2 ? b[2] : 0;
        switch (b[0] & 0xF0) {
        case 0x80: fluid.fluid_synth_noteoff(synth_, channel, d1); break;
        case 0x90: fluid.fluid_synth_noteon(synth_, channel, d1, d2); break;  // velocity 0 is a note-off
        case 0xA0: fluid.fluid_synth_key_pressure(synth_, channel, d1, d2); break;
        case 0xB0: fluid.fluid_synth_cc(synth_, channel, d1, d2); break;
        case 0xC0: fluid.fluid_synth_program_change(synth_, channel, d1); break;
        case 0xD0: fluid.fluid_synth_channel_pressure(synth_, channel, d1); break;
        case 0xE0: fluid.fluid_synth_pitch_bend(synth_, channel, d1 | (d2 << 7)); break;
        default: break;
        }
    }

    void Exclusive(const LongMessageJoiner::Message& m) override
    {
        if (!m.exclusive || m.length < 3 || m.bytes[m.length - 1] != 0xF7)
            return;  // an escape run or a cut message means nothing to a synthesizer
        double level = 0;
        if (MasterVolumeLevel(m.bytes, m.length, &level)) {
            // FluidSynth leaves the master volume message alone: it sets the gain.
            fluid.fluid_synth_set_gain(synth_, static_cast<float>(baseGain_ * level));
            return;
        }
        fluid.fluid_synth_sysex(synth_, reinterpret_cast<const char*>(m.bytes + 1), static_cast<int>(m.length - 2),
                          nullptr, nullptr, nullptr, 0);
    }

    // Renders the samples up to the time an event is due.
    void RenderUntil(uint64_t us)
    {
        const uint64_t target = us * kSampleRate / 1000000;
        if (target <= frames_)
            return;
        uint64_t left = target - frames_;
        while (left > 0) {
            const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(left, kRenderBlock));
            RenderFrames(n, 0);
            left -= n;
        }
        if (progress_)
            progress_(frames_ * 1000000 / kSampleRate);
    }

    // `fade`: the frames are the last of a fade of that length to silence.
    // Samples are rounded without dither, so silence stays exactly 0.
    void RenderFrames(uint32_t count, uint32_t fade)
    {
        floats_.resize(2 * static_cast<size_t>(kRenderBlock));
        buffer_.resize(2 * static_cast<size_t>(kRenderBlock));
        uint32_t done = 0;
        while (done < count) {
            const uint32_t n = std::min(count - done, kRenderBlock);
            fluid.fluid_synth_write_float(synth_, static_cast<int>(n), floats_.data(), 0, 2, floats_.data(), 1, 2);
            for (uint32_t i = 0; i < 2 * n; ++i) {
                const float gain = fade ? static_cast<float>(count - done - i / 2) / fade : 1.0f;
                const float v = std::round(floats_[i] * gain * 32767.0f);
                buffer_[i] = static_cast<int16_t>(std::max(-32768.0f, std::min(32767.0f, v)));
            }
            if (!wav_.Write(buffer_.data(), n))
                failed_ = true;
            done += n;
            frames_ += n;
        }
    }

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* audio_ = nullptr;
    float baseGain_ = 0.2f;

    bool rendering_ = false;
    WavWriter wav_;
    std::string path_;
    std::function<void(uint64_t)> progress_;
    std::vector<float> floats_;
    std::vector<int16_t> buffer_;
    uint64_t frames_ = 0;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<SynthSink> OpenSynth(const std::string& soundFont, std::string* problem)
{
    if (!FluidLibrary().Load(problem))
        return nullptr;
    QuietLibrary();
    std::unique_ptr<FluidSynthSink> synth(new FluidSynthSink());
    if (!synth->Load(soundFont, problem))
        return nullptr;
    return synth;
}
