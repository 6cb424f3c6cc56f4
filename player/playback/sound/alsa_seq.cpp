// Output to a port of the ALSA sequencer, the standard Linux MIDI interface.
#include <alsa/asoundlib.h>

#include <memory>

#include <unistd.h>

#include "message_sink.h"
#include "runtime_library.h"
#include "sound_outputs.h"

namespace {

// The library's functions used here, filled when it is first needed.
struct AlsaFunctions {
    decltype(&::snd_seq_client_id) snd_seq_client_id;
    decltype(&::snd_seq_client_info_free) snd_seq_client_info_free;
    decltype(&::snd_seq_client_info_get_client) snd_seq_client_info_get_client;
    decltype(&::snd_seq_client_info_get_name) snd_seq_client_info_get_name;
    decltype(&::snd_seq_client_info_malloc) snd_seq_client_info_malloc;
    decltype(&::snd_seq_client_info_set_client) snd_seq_client_info_set_client;
    decltype(&::snd_seq_close) snd_seq_close;
    decltype(&::snd_seq_connect_to) snd_seq_connect_to;
    decltype(&::snd_seq_create_simple_port) snd_seq_create_simple_port;
    decltype(&::snd_seq_event_output_direct) snd_seq_event_output_direct;
    decltype(&::snd_seq_open) snd_seq_open;
    decltype(&::snd_seq_parse_address) snd_seq_parse_address;
    decltype(&::snd_seq_port_info_free) snd_seq_port_info_free;
    decltype(&::snd_seq_port_info_get_capability) snd_seq_port_info_get_capability;
    decltype(&::snd_seq_port_info_get_name) snd_seq_port_info_get_name;
    decltype(&::snd_seq_port_info_get_port) snd_seq_port_info_get_port;
    decltype(&::snd_seq_port_info_get_type) snd_seq_port_info_get_type;
    decltype(&::snd_seq_port_info_malloc) snd_seq_port_info_malloc;
    decltype(&::snd_seq_port_info_set_client) snd_seq_port_info_set_client;
    decltype(&::snd_seq_port_info_set_port) snd_seq_port_info_set_port;
    decltype(&::snd_seq_query_next_client) snd_seq_query_next_client;
    decltype(&::snd_seq_query_next_port) snd_seq_query_next_port;
    decltype(&::snd_seq_set_client_name) snd_seq_set_client_name;
    decltype(&::snd_strerror) snd_strerror;
} alsa;

// Opened by the first command that needs the sequencer.
RuntimeLibrary& AlsaLibrary()
{
    static RuntimeLibrary library(ZUB_ALSA_SONAME, "ZUBCLI_LIBASOUND", "the ALSA sequencer", "libasound2", {
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_id),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_info_free),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_info_get_client),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_info_get_name),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_info_malloc),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_client_info_set_client),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_close),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_connect_to),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_create_simple_port),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_event_output_direct),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_open),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_parse_address),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_free),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_get_capability),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_get_name),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_get_port),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_get_type),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_malloc),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_set_client),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_port_info_set_port),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_query_next_client),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_query_next_port),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_seq_set_client_name),
                                      ZUB_LIBRARY_SYMBOL(alsa, snd_strerror),
                                  });
    return library;
}

constexpr char kClientName[] = "zubcli";
constexpr char kSequencerDevice[] = "/dev/snd/seq";

// A sequencer client of our own; closed with the object.
class SeqHandle {
public:
    ~SeqHandle()
    {
        if (seq_)
            alsa.snd_seq_close(seq_);
    }
    bool Open(int mode, std::string* problem)
    {
        if (!AlsaLibrary().Load(problem))
            return false;
        // Asked without a device, the library would print its own
        // complaint on standard error besides ours.
        if (access(kSequencerDevice, F_OK) != 0) {
            *problem = std::string("no ALSA sequencer: this machine has no ") + kSequencerDevice;
            return false;
        }
        const int err = alsa.snd_seq_open(&seq_, "default", mode, 0);
        if (err < 0) {
            seq_ = nullptr;
            *problem = std::string("no ALSA sequencer (") + alsa.snd_strerror(err) + ")";
            return false;
        }
        alsa.snd_seq_set_client_name(seq_, kClientName);
        return true;
    }
    snd_seq_t* get() const { return seq_; }

private:
    snd_seq_t* seq_ = nullptr;
};

// Ports that others may write to and subscribe to, carrying MIDI.
bool TakesMidi(const snd_seq_port_info_t* port)
{
    const unsigned need = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    return (alsa.snd_seq_port_info_get_capability(port) & need) == need &&
           (alsa.snd_seq_port_info_get_type(port) & (SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_SYNTH |
                                                SND_SEQ_PORT_TYPE_APPLICATION)) != 0;
}

class AlsaSeqSink : public MessageSink {
public:
    bool Connect(const std::string& address, std::string* problem)
    {
        if (!seq_.Open(SND_SEQ_OPEN_OUTPUT, problem))
            return false;
        snd_seq_addr_t target;
        int err = alsa.snd_seq_parse_address(seq_.get(), &target, address.c_str());
        if (err < 0) {
            *problem = "port " + address + ": no such port (" + alsa.snd_strerror(err) + ")";
            return false;
        }
        port_ = alsa.snd_seq_create_simple_port(seq_.get(), kClientName, SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (port_ < 0) {
            *problem = std::string("the sequencer refused a port of our own (") + alsa.snd_strerror(port_) + ")";
            return false;
        }
        err = alsa.snd_seq_connect_to(seq_.get(), port_, target.client, target.port);
        if (err < 0) {
            *problem = "port " + address + ": connection refused (" + alsa.snd_strerror(err) + ")";
            return false;
        }
        return true;
    }

private:
    void Send(snd_seq_event_t* ev)
    {
        snd_seq_ev_set_source(ev, port_);
        snd_seq_ev_set_subs(ev);
        snd_seq_ev_set_direct(ev);
        alsa.snd_seq_event_output_direct(seq_.get(), ev);
    }

    void Channel(const uint8_t* b, uint32_t length) override
    {
        snd_seq_event_t ev;
        snd_seq_ev_clear(&ev);
        const int channel = b[0] & 0x0F;
        const int d1 = length > 1 ? b[1] : 0, d2 = length > 2 ? b[2] : 0;
        switch (b[0] & 0xF0) {
        case 0x80: snd_seq_ev_set_noteoff(&ev, channel, d1, d2); break;
        case 0x90: snd_seq_ev_set_noteon(&ev, channel, d1, d2); break;
        case 0xA0: snd_seq_ev_set_keypress(&ev, channel, d1, d2); break;
        case 0xB0: snd_seq_ev_set_controller(&ev, channel, d1, d2); break;
        case 0xC0: snd_seq_ev_set_pgmchange(&ev, channel, d1); break;
        case 0xD0: snd_seq_ev_set_chanpress(&ev, channel, d1); break;
        case 0xE0: snd_seq_ev_set_pitchbend(&ev, channel, (d1 | (d2 << 7)) - 8192); break;
        default: return;
        }
        Send(&ev);
    }

    // A port passes system exclusive bytes on as they are: an escape run too.
    void Exclusive(const LongMessageJoiner::Message& m) override
    {
        snd_seq_event_t ev;
        snd_seq_ev_clear(&ev);
        snd_seq_ev_set_sysex(&ev, m.length, const_cast<uint8_t*>(m.bytes));
        Send(&ev);
    }

    SeqHandle seq_;
    int port_ = -1;
};

}  // namespace

bool ListAlsaPorts(std::vector<AlsaPort>* ports, std::string* problem)
{
    SeqHandle seq;
    if (!seq.Open(SND_SEQ_OPEN_OUTPUT, problem))
        return false;
    const int self = alsa.snd_seq_client_id(seq.get());
    // The library's own allocation: the sizes are its business.
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    alsa.snd_seq_client_info_malloc(&client);
    alsa.snd_seq_port_info_malloc(&port);
    std::unique_ptr<snd_seq_client_info_t, decltype(alsa.snd_seq_client_info_free)> clientOwner(
        client, alsa.snd_seq_client_info_free);
    std::unique_ptr<snd_seq_port_info_t, decltype(alsa.snd_seq_port_info_free)> portOwner(port, alsa.snd_seq_port_info_free);
    if (!client || !port) {
        *problem = "out of memory";
        return false;
    }
    alsa.snd_seq_client_info_set_client(client, -1);
    while (alsa.snd_seq_query_next_client(seq.get(), client) >= 0) {
        const int id = alsa.snd_seq_client_info_get_client(client);
        if (id == self)
            continue;
        alsa.snd_seq_port_info_set_client(port, id);
        alsa.snd_seq_port_info_set_port(port, -1);
        while (alsa.snd_seq_query_next_port(seq.get(), port) >= 0) {
            if (!TakesMidi(port))
                continue;
            ports->push_back({id, alsa.snd_seq_port_info_get_port(port), alsa.snd_seq_client_info_get_name(client),
                              alsa.snd_seq_port_info_get_name(port)});
        }
    }
    return true;
}

std::unique_ptr<MidiSink> OpenAlsaSink(const std::string& address, std::string* problem)
{
    std::unique_ptr<AlsaSeqSink> sink(new AlsaSeqSink());
    if (!sink->Connect(address, problem))
        return nullptr;
    return sink;
}
