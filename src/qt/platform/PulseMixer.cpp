#include "platform/PulseMixer.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>

namespace halvika {

namespace {

constexpr auto connectLimit = std::chrono::seconds(2);

struct SinkReply {
    pa_threaded_mainloop* loop = nullptr;
    bool found = false;
    pa_cvolume volume{};
    bool muted = false;
    std::string name;
};

void signalLoop(pa_context*, int, void* loop) {
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0);
}

/// Waits with the loop locked until the operation is done; false when it failed to start.
bool waitFor(pa_threaded_mainloop* loop, pa_operation* operation) {
    if (!operation) {
        return false;
    }
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        pa_threaded_mainloop_wait(loop);
    }
    pa_operation_unref(operation);
    return true;
}

} // namespace

PulseMixer::PulseMixer(std::string server) : m_server(std::move(server)) {}

PulseMixer::~PulseMixer() {
    disconnect();
}

bool PulseMixer::connect() {
    if (m_context) {
        return true;
    }
    if (m_failed) {
        return false;
    }
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) {
        m_failed = true;
        return false;
    }
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Halvika");
    pa_context_set_state_callback(
        m_context,
        [](pa_context*, void* loop) { pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(loop), 0); },
        m_loop);
    bool ready = false;
    if (pa_context_connect(m_context, m_server.empty() ? nullptr : m_server.c_str(), PA_CONTEXT_NOAUTOSPAWN, nullptr) >=
            0 &&
        pa_threaded_mainloop_start(m_loop) >= 0) {
        pa_threaded_mainloop_lock(m_loop);
        const auto deadline = std::chrono::steady_clock::now() + connectLimit;
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(m_context);
            if (state == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state) || std::chrono::steady_clock::now() > deadline) {
                break;
            }
            pa_threaded_mainloop_wait(m_loop);
        }
        pa_threaded_mainloop_unlock(m_loop);
    }
    if (!ready) {
        disconnect();
        m_failed = true;
    }
    return ready;
}

void PulseMixer::disconnect() {
    if (m_loop) {
        pa_threaded_mainloop_stop(m_loop);
    }
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
    }
}

std::string PulseMixer::defaultSink() {
    SinkReply reply;
    reply.loop = m_loop;
    waitFor(m_loop, pa_context_get_server_info(
                        m_context,
                        [](pa_context*, const pa_server_info* info, void* data) {
                            auto* r = static_cast<SinkReply*>(data);
                            if (info && info->default_sink_name) {
                                r->name = info->default_sink_name;
                            }
                            pa_threaded_mainloop_signal(r->loop, 0);
                        },
                        &reply));
    return reply.name;
}

PulseMixer::Sink PulseMixer::defaultSinkInfo() {
    Sink sink;
    sink.name = defaultSink();
    if (sink.name.empty()) {
        return sink;
    }
    SinkReply reply;
    reply.loop = m_loop;
    waitFor(m_loop, pa_context_get_sink_info_by_name(
                        m_context, sink.name.c_str(),
                        [](pa_context*, const pa_sink_info* info, int eol, void* data) {
                            auto* r = static_cast<SinkReply*>(data);
                            if (eol == 0 && info) {
                                r->found = true;
                                r->volume = info->volume;
                                r->muted = info->mute != 0;
                            }
                            pa_threaded_mainloop_signal(r->loop, 0);
                        },
                        &reply));
    sink.found = reply.found;
    sink.volume = reply.volume;
    sink.muted = reply.muted;
    return sink;
}

std::optional<Mixer::Level> PulseMixer::level() {
    if (!connect()) {
        return std::nullopt;
    }
    pa_threaded_mainloop_lock(m_loop);
    const Sink sink = defaultSinkInfo();
    pa_threaded_mainloop_unlock(m_loop);
    if (!sink.found) {
        return std::nullopt;
    }
    return Level{PA_VOLUME_MUTED, PA_VOLUME_NORM, static_cast<long>(pa_cvolume_avg(&sink.volume)), sink.muted};
}

bool PulseMixer::setVolume(long volume) {
    if (!connect()) {
        return false;
    }
    pa_threaded_mainloop_lock(m_loop);
    const Sink sink = defaultSinkInfo();
    bool done = false;
    if (sink.found) {
        pa_cvolume target = sink.volume;
        pa_cvolume_set(&target, sink.volume.channels,
                       static_cast<pa_volume_t>(std::clamp<long>(volume, PA_VOLUME_MUTED, PA_VOLUME_MAX)));
        done = waitFor(m_loop,
                       pa_context_set_sink_volume_by_name(m_context, sink.name.c_str(), &target, signalLoop, m_loop));
    }
    pa_threaded_mainloop_unlock(m_loop);
    return done;
}

bool PulseMixer::setMuted(bool muted) {
    if (!connect()) {
        return false;
    }
    pa_threaded_mainloop_lock(m_loop);
    const std::string sink = defaultSink();
    const bool done =
        !sink.empty() &&
        waitFor(m_loop, pa_context_set_sink_mute_by_name(m_context, sink.c_str(), muted ? 1 : 0, signalLoop, m_loop));
    pa_threaded_mainloop_unlock(m_loop);
    return done;
}

} // namespace halvika
