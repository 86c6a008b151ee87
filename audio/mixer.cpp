#include "audio/mixer.h"

#include <algorithm>

namespace audio {

Mixer::Mixer(int rate, int channelCount)
    : rate_(rate), channels_(static_cast<size_t>(channelCount))
{
}

void Mixer::addModule(uintptr_t id, std::unique_ptr<ModulePlayer> module)
{
    modules_[id] = std::move(module);
}

ModulePlayer* Mixer::module(uintptr_t id)
{
    auto found = modules_.find(id);
    return found == modules_.end() ? nullptr : found->second.get();
}

void Mixer::addStream(uintptr_t id, StreamSlot stream)
{
    streams_[id] = std::move(stream);
}

StreamSlot* Mixer::stream(uintptr_t id)
{
    auto found = streams_.find(id);
    return found == streams_.end() ? nullptr : &found->second;
}

void Mixer::removeStream(uintptr_t id)
{
    StreamSlot* slot = stream(id);
    if (!slot)
        return;
    if (slot->channel >= 0)
        stopChannel(slot->channel);
    streams_.erase(id);
}

void Mixer::stopChannel(int channel)
{
    Channel& playing = channels_[static_cast<size_t>(channel)];
    if (StreamSlot* slot = stream(playing.stream))
        slot->channel = -1;
    playing = Channel();
}

int Mixer::playStream(uintptr_t id, int channel, int* error)
{
    StreamSlot* slot = stream(id);
    if (!slot || channel < FSOUND_FREE || channel >= static_cast<int>(channels_.size())) {
        *error = FMOD_ERR_INVALID_PARAM;
        return -1;
    }
    if (slot->channel >= 0)
        stopChannel(slot->channel);
    if (channel == FSOUND_FREE) {
        auto free = std::find_if(channels_.begin(), channels_.end(), [](const Channel& c) { return c.stream == 0; });
        if (free == channels_.end()) {
            *error = FMOD_ERR_CHANNEL_ALLOC;
            return -1;
        }
        channel = static_cast<int>(free - channels_.begin());
    } else {
        stopChannel(channel);
    }
    if (!slot->decoder->rewind()) {
        *error = FMOD_ERR_PLAY;
        return -1;
    }
    slot->framesPlayed = 0;
    slot->nextMark = 0;
    slot->channel = channel;
    channels_[static_cast<size_t>(channel)].stream = id;
    return channel;
}

bool Mixer::setPan(int channel, int pan)
{
    if (channel < 0 || channel >= static_cast<int>(channels_.size()) || pan < FSOUND_STEREOPAN || pan > 255)
        return false;
    channels_[static_cast<size_t>(channel)].pan = pan;
    return true;
}

void Mixer::mix(float* out, int frames, std::vector<StreamEvent>& events)
{
    std::fill(out, out + 2 * frames, 0.0f);
    for (auto& module : modules_)
        module.second->mixInto(out, frames, rate_);
    for (auto& stream : streams_)
        mixStream(stream.first, stream.second, out, frames, events);
    for (int i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void Mixer::mixStream(uintptr_t id, StreamSlot& stream, float* out, int frames, std::vector<StreamEvent>& events)
{
    if (stream.channel < 0)
        return;
    scratch_.resize(static_cast<size_t>(frames) * 2);
    const int decoded = stream.decoder->read(scratch_.data(), frames);

    const int pan = channels_[static_cast<size_t>(stream.channel)].pan;
    const float left = pan == FSOUND_STEREOPAN ? 1.0f : static_cast<float>(255 - pan) / 255.0f;
    const float right = pan == FSOUND_STEREOPAN ? 1.0f : static_cast<float>(pan) / 255.0f;
    for (int i = 0; i < decoded; ++i) {
        out[2 * i] += scratch_[2 * i] * left;
        out[2 * i + 1] += scratch_[2 * i + 1] * right;
    }

    const uint64_t reached = stream.framesPlayed + static_cast<uint64_t>(decoded);
    for (; stream.nextMark < stream.marks.size(); ++stream.nextMark) {
        const ChapterMark& mark = stream.marks[stream.nextMark];
        const uint64_t markFrame = uint64_t(mark.startMilliseconds) * uint64_t(rate_) / 1000u;
        // A mark on the very last sample still counts once the stream ends.
        const bool due = markFrame < reached || (decoded < frames && markFrame == reached);
        if (!due)
            break;
        if (stream.synchCallback)
            events.push_back({stream.synchCallback, id, false, mark.name, static_cast<int>(markFrame), stream.synchParam});
    }
    stream.framesPlayed = reached;

    if (decoded < frames) {
        stopChannel(stream.channel);
        if (stream.endCallback)
            events.push_back({stream.endCallback, id, true, std::string(), 0, stream.endParam});
    }
}

} // namespace audio
