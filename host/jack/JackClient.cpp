// JackClient: opening, the callbacks, and the connections.
#include "JackClient.h"

#include <cstdio>
#include <cstring>

#include "LiveAudio.h"
#include "host/driver/HostError.h"

namespace {

bool showJackMessages = false;

void jackMessage(const char* message)
{
    if (showJackMessages)
        std::fprintf(stderr, "wobrix-jack: libjack: %s\n", message);
}

// jackd2 answers a taken name with the same status as no server at all, so
// a second client (any name) asks the server whether the name is taken.
bool nameTaken(const std::string& name)
{
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("wobrix-jack-probe", JackNoStartServer, &status);
    if (!probe)
        return false;
    char* uuid = jack_get_uuid_for_client_name(probe, name.c_str());
    const bool taken = uuid != nullptr;
    jack_free(uuid);
    jack_client_close(probe);
    return taken;
}

int portIndex(const std::string& bare)
{
    for (int i = 0; i < 4; ++i)
        if (bare == JackClient::kPortNames[i])
            return i;
    return -1;
}

} // namespace

JackClient::JackClient(const std::string& name, bool verbose)
{
    // Set before the client opens, so a missing server is our one line.
    showJackMessages = verbose;
    jack_set_error_function(jackMessage);
    jack_set_info_function(jackMessage);
    jack_status_t status{};
    client = jack_client_open(
        name.c_str(), static_cast<jack_options_t>(JackNoStartServer | JackUseExactName), &status);
    if (!client) {
        if ((status & JackNameNotUnique) || nameTaken(name))
            throw HostError("the JACK client name " + name + " is in use");
        if (status & (JackServerFailed | JackServerError))
            throw HostError("no JACK server is running (wobrix-jack never starts one)");
        if (status & JackInvalidOption)
            throw HostError("the JACK server refused the client name " + name);
        throw HostError("the JACK server refused the client (status 0x" +
                        std::to_string(static_cast<unsigned>(status)) + ")");
    }
    for (int i = 0; i < 4; ++i) {
        ports[i] = jack_port_register(client, kPortNames[i], JACK_DEFAULT_AUDIO_TYPE,
                                      i < 2 ? JackPortIsInput : JackPortIsOutput, 0);
        if (!ports[i]) {
            jack_client_close(client);
            throw HostError(std::string("the JACK server refused the port ") + kPortNames[i]);
        }
    }
    jack_on_info_shutdown(client, shutdown, this);
    jack_set_xrun_callback(client, xrun, this);
}

JackClient::~JackClient()
{
    if (active && !gone.load())
        jack_deactivate(client);
    jack_client_close(client);
}

uint32_t JackClient::sampleRate() const
{
    return jack_get_sample_rate(client);
}

uint32_t JackClient::bufferSize() const
{
    return jack_get_buffer_size(client);
}

void JackClient::activate(LiveAudio& live)
{
    audio = &live;
    jack_set_process_callback(client, process, this);
    jack_set_buffer_size_callback(client, bufferSizeChanged, this);
    if (jack_activate(client) != 0)
        throw HostError("the JACK server did not start the client");
    active = true;
}

// The server's process thread: four buffer lookups and the effect, nothing
// else.
int JackClient::process(jack_nframes_t frames, void* arg)
{
    auto* self = static_cast<JackClient*>(arg);
    float* ins[2];
    float* outs[2];
    for (int c = 0; c < 2; ++c) {
        ins[c] = static_cast<float*>(jack_port_get_buffer(self->ports[c], frames));
        outs[c] = static_cast<float*>(jack_port_get_buffer(self->ports[2 + c], frames));
    }
    self->audio->run(ins, outs, static_cast<int32_t>(frames));
    return 0;
}

// A notification thread, not the audio thread.
int JackClient::bufferSizeChanged(jack_nframes_t frames, void* arg)
{
    auto* self = static_cast<JackClient*>(arg);
    if (self->audio)
        self->audio->setBlockSize(static_cast<int32_t>(frames));
    return 0;
}

int JackClient::xrun(void* arg)
{
    static_cast<JackClient*>(arg)->xrunCount.fetch_add(1);
    return 0;
}

void JackClient::shutdown(jack_status_t, const char*, void* arg)
{
    static_cast<JackClient*>(arg)->gone.store(true);
}

bool JackClient::connect(const std::string& ours, const std::string& theirs, std::string* why)
{
    const int i = portIndex(ours);
    if (i < 0) {
        *why = ours + " is not one of our ports (in_l, in_r, out_l, out_r)";
        return false;
    }
    const std::string own = jack_port_name(ports[i]);
    const std::string& from = i < 2 ? theirs : own;
    const std::string& to = i < 2 ? own : theirs;
    const int result = jack_connect(client, from.c_str(), to.c_str());
    if (result == 0 || result == EEXIST)
        return true;
    *why = "cannot connect " + from + " to " + to;
    return false;
}

void JackClient::autoconnect()
{
    const struct {
        unsigned long flags;
        int first; // our first port on this side
    } sides[] = {{JackPortIsPhysical | JackPortIsOutput, 0},
                 {JackPortIsPhysical | JackPortIsInput, 2}};
    for (const auto& side : sides) {
        const char** found = jack_get_ports(client, nullptr, JACK_DEFAULT_AUDIO_TYPE, side.flags);
        int count = 0;
        while (found && found[count])
            ++count;
        for (int c = 0; c < 2; ++c) {
            const std::string ours = kPortNames[side.first + c];
            std::string why = "no physical port for " + ours;
            if (c < count && connect(ours, found[c], &why))
                continue;
            std::fprintf(stderr, "wobrix-jack: %s\n", why.c_str());
        }
        if (found)
            jack_free(found);
    }
}
