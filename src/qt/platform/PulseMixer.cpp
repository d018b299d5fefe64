#include "platform/PulseMixer.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>
#include <chrono>

namespace halvika {

namespace {

// A sound server that stops answering (frozen, not gone) must not hold up the alarm that set the volume.
constexpr auto connectLimit = std::chrono::seconds(2);
constexpr auto operationLimit = std::chrono::seconds(1);

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

/// Wakes the waiting thread at `limit` from now, answer or not: the loop's own wait has no time limit.
/// Counted on the monotonic clock, which a clock set meanwhile does not move. Made and freed with the loop
/// locked.
class WakeUp {
public:
    WakeUp(pa_threaded_mainloop* loop, const pa_context* context, std::chrono::milliseconds limit)
        : m_api(pa_threaded_mainloop_get_api(loop)),
          m_deadline(pa_rtclock_now() + static_cast<pa_usec_t>(limit.count()) * PA_USEC_PER_MSEC) {
        m_event = pa_context_rttime_new(
            context, m_deadline,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* waiting) {
                pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(waiting), 0);
            },
            loop);
    }
    ~WakeUp() {
        if (m_event) {
            m_api->time_free(m_event);
        }
    }
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;
    bool passed() const { return pa_rtclock_now() >= m_deadline; }

private:
    pa_mainloop_api* m_api;
    pa_usec_t m_deadline;
    pa_time_event* m_event = nullptr;
};

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
        {
            const WakeUp wakeUp(m_loop, m_context, connectLimit);
            for (;;) {
                const pa_context_state_t state = pa_context_get_state(m_context);
                if (state == PA_CONTEXT_READY) {
                    ready = true;
                    break;
                }
                if (!PA_CONTEXT_IS_GOOD(state) || wakeUp.passed()) {
                    break;
                }
                pa_threaded_mainloop_wait(m_loop);
            }
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

bool PulseMixer::wait(pa_operation* operation) {
    if (!operation) {
        return false;
    }
    const WakeUp wakeUp(m_loop, m_context, operationLimit);
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING && !wakeUp.passed()) {
        pa_threaded_mainloop_wait(m_loop);
    }
    const bool done = pa_operation_get_state(operation) != PA_OPERATION_RUNNING;
    if (!done) {
        pa_operation_cancel(operation); // its callback, which writes to our stack, is not called any more
        m_stalled = true;
    }
    pa_operation_unref(operation);
    return done;
}

void PulseMixer::giveUpIfStalled() {
    // A server that left one request unanswered would leave the next one too: the run goes on without it.
    if (m_stalled) {
        disconnect();
        m_failed = true;
    }
}

std::string PulseMixer::defaultSink() {
    SinkReply reply;
    reply.loop = m_loop;
    wait(pa_context_get_server_info(
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
    wait(pa_context_get_sink_info_by_name(
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
    giveUpIfStalled();
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
        done = wait(pa_context_set_sink_volume_by_name(m_context, sink.name.c_str(), &target, signalLoop, m_loop));
    }
    pa_threaded_mainloop_unlock(m_loop);
    giveUpIfStalled();
    return done;
}

bool PulseMixer::setMuted(bool muted) {
    if (!connect()) {
        return false;
    }
    pa_threaded_mainloop_lock(m_loop);
    const std::string sink = defaultSink();
    const bool done = !sink.empty() && wait(pa_context_set_sink_mute_by_name(m_context, sink.c_str(), muted ? 1 : 0,
                                                                             signalLoop, m_loop));
    pa_threaded_mainloop_unlock(m_loop);
    giveUpIfStalled();
    return done;
}

} // namespace halvika
