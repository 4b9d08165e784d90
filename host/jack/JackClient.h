// JackClient: WobrixFree as a client of a running JACK server, never one it
// starts: two audio inputs (in_l, in_r) and two outputs (out_l, out_r) whose
// buffers go to LiveAudio on the server's process thread. libjack's own
// messages are kept from the user (shown with verbose), who sees one line.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>

class LiveAudio;

class JackClient {
public:
    static constexpr const char* kPortNames[4] = {"in_l", "in_r", "out_l", "out_r"};

    // Opens the client named exactly `name` with its four ports; HostError
    // in one line when no server runs, the name is taken or the server
    // refuses. `verbose` lets libjack's messages through.
    JackClient(const std::string& name, bool verbose);
    // Deactivates and closes.
    ~JackClient();
    JackClient(const JackClient&) = delete;
    JackClient& operator=(const JackClient&) = delete;

    uint32_t sampleRate() const;
    uint32_t bufferSize() const;

    // Starts the process callback into `audio`, which outlives this client;
    // a buffer-size change reaches audio.setBlockSize on a non-audio thread.
    void activate(LiveAudio& audio);
    // Connects our port `ours` (a bare name of kPortNames) with another
    // client's port `theirs` ("system:playback_1"), in the direction of the
    // flow; false, with the reason in *why, when it cannot be made.
    bool connect(const std::string& ours, const std::string& theirs, std::string* why);
    // Capture 1 and 2 to the inputs, the outputs to playback 1 and 2; one
    // line on stderr for each link that cannot be made.
    void autoconnect();

    // True once the server has gone away (any thread).
    bool serverGone() const { return gone.load(); }
    uint64_t xruns() const { return xrunCount.load(); }

private:
    static int process(jack_nframes_t frames, void* self);
    static int bufferSizeChanged(jack_nframes_t frames, void* self);
    static int xrun(void* self);
    static void shutdown(jack_status_t, const char*, void* self);

    jack_client_t* client = nullptr;
    jack_port_t* ports[4] = {};
    LiveAudio* audio = nullptr;
    bool active = false;
    std::atomic<bool> gone{false};
    std::atomic<uint64_t> xrunCount{0};
};
