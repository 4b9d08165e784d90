// jack-probe TARGET FRAMES SKIP DIR: plays a known stereo signal into
// TARGET:in_l/in_r and records, in the same cycles, what it played and what
// TARGET:out_l/out_r gave back, after SKIP cycles, FRAMES frames of each;
// writes DIR/in.wav and DIR/out.wav (float). Two clients, a player and a
// recorder, so the graph has no cycle and a synchronous server runs them
// player, target, recorder in every cycle. Exit 1 with one line on failure.
#include <jack/jack.h>
#include <sndfile.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Probe {
    jack_port_t* play[2] = {};
    jack_port_t* heard[2] = {}; // what the player played
    jack_port_t* back[2] = {};  // what the target gave back
    uint64_t frame = 0;         // the player's clock
    long skip = 0;
    size_t wanted = 0;
    std::vector<float> in, out; // interleaved stereo, allocated before activation
    std::atomic<size_t> recorded{0};
    double rate = 48000.0;
};

float signal(uint64_t n, int channel, double rate)
{
    const double t = static_cast<double>(n) / rate;
    const double bass =
        0.45 * std::sin(2 * M_PI * 55.0 * t) + 0.2 * std::sin(2 * M_PI * 110.0 * t + channel);
    const double swell = 0.5 + 0.5 * std::sin(2 * M_PI * 0.7 * t); // for the compressor
    return static_cast<float>(bass * swell);
}

int playCycle(jack_nframes_t frames, void* arg)
{
    auto* p = static_cast<Probe*>(arg);
    for (int c = 0; c < 2; ++c) {
        auto* buffer = static_cast<float*>(jack_port_get_buffer(p->play[c], frames));
        for (jack_nframes_t i = 0; i < frames; ++i)
            buffer[i] = signal(p->frame + i, c, p->rate);
    }
    p->frame += frames;
    return 0;
}

int recordCycle(jack_nframes_t frames, void* arg)
{
    auto* p = static_cast<Probe*>(arg);
    if (p->skip > 0) {
        --p->skip;
        return 0;
    }
    size_t at = p->recorded.load();
    for (jack_nframes_t i = 0; i < frames && at < p->wanted; ++i, ++at)
        for (int c = 0; c < 2; ++c) {
            p->in[at * 2 + c] = static_cast<float*>(jack_port_get_buffer(p->heard[c], frames))[i];
            p->out[at * 2 + c] = static_cast<float*>(jack_port_get_buffer(p->back[c], frames))[i];
        }
    p->recorded.store(at);
    return 0;
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "jack-probe: %s\n", why.c_str());
    std::exit(1);
}

jack_client_t* open(const char* name)
{
    jack_status_t status{};
    jack_client_t* c = jack_client_open(name, JackNoStartServer, &status);
    if (!c)
        fail(std::string("cannot open client ") + name);
    return c;
}

void write(const std::string& path, const std::vector<float>& frames, int rate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f || sf_writef_float(f, frames.data(), static_cast<sf_count_t>(frames.size() / 2)) !=
                  static_cast<sf_count_t>(frames.size() / 2))
        fail("cannot write " + path);
    sf_close(f);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
        fail("usage: jack-probe TARGET FRAMES SKIP DIR");
    const std::string target = argv[1], dir = argv[4];
    Probe p;
    p.wanted = std::strtoul(argv[2], nullptr, 10);
    p.skip = std::strtol(argv[3], nullptr, 10);
    p.in.assign(p.wanted * 2, 0.0f);
    p.out.assign(p.wanted * 2, 0.0f);

    jack_client_t* player = open("probe-play");
    jack_client_t* recorder = open("probe-rec");
    p.rate = jack_get_sample_rate(player);
    const char* side[2] = {"l", "r"};
    for (int c = 0; c < 2; ++c) {
        p.play[c] = jack_port_register(player, (std::string("out_") + side[c]).c_str(),
                                       JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
        p.heard[c] = jack_port_register(recorder, (std::string("heard_") + side[c]).c_str(),
                                        JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        p.back[c] = jack_port_register(recorder, (std::string("back_") + side[c]).c_str(),
                                       JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    }
    jack_set_process_callback(player, playCycle, &p);
    jack_set_process_callback(recorder, recordCycle, &p);
    if (jack_activate(player) || jack_activate(recorder))
        fail("cannot activate");
    for (int c = 0; c < 2; ++c) {
        const std::string s = side[c];
        const std::string links[3][2] = {{"probe-play:out_" + s, target + ":in_" + s},
                                         {"probe-play:out_" + s, "probe-rec:heard_" + s},
                                         {target + ":out_" + s, "probe-rec:back_" + s}};
        for (const auto& l : links)
            if (jack_connect(player, l[0].c_str(), l[1].c_str()) != 0)
                fail("cannot connect " + l[0] + " to " + l[1]);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (p.recorded.load() < p.wanted) {
        if (std::chrono::steady_clock::now() > end)
            fail("the recording did not fill within a minute");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    jack_deactivate(recorder);
    jack_deactivate(player);
    write(dir + "/in.wav", p.in, static_cast<int>(p.rate));
    write(dir + "/out.wav", p.out, static_cast<int>(p.rate));
    jack_client_close(recorder);
    jack_client_close(player);
    return 0;
}
