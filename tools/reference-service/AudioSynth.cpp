#include "AudioSynth.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace qarvon::refsvc {

namespace {

constexpr double kTwoPi = 6.283185307179586;

void AddNote(std::vector<float> &mix, const Note &n, double harmonics)
{
    const auto first = static_cast<std::size_t>(n.start * kSampleRate);
    const auto count = static_cast<std::size_t>(n.length * kSampleRate);
    const double attack = 0.01 * kSampleRate;
    const double release = std::min(0.08 * kSampleRate, count * 0.3);
    const double step = kTwoPi * n.frequency / kSampleRate;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        double env = 1.0;
        if (i < attack)
            env = i / attack;
        else if (i > count - release)
            env = (count - i) / release;
        env *= 0.7 + 0.3 * std::exp(-3.0 * i / kSampleRate); // a soft pluck
        const double phase = step * static_cast<double>(i);
        const double wave = std::sin(phase)
            + harmonics * (0.35 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase));
        mix[first + i] += static_cast<float>(n.level * env * wave);
    }
}

} // namespace

std::vector<short> RenderMelody(const Melody &melody)
{
    std::vector<float> mix(static_cast<std::size_t>(melody.durationSeconds) * kSampleRate, 0.0f);
    for (const auto &n : melody.lead)
        AddNote(mix, n, 1.0);
    for (const auto &n : melody.bass)
        AddNote(mix, n, 0.3);
    // Fade the last second out so the end does not click.
    const std::size_t fade = std::min<std::size_t>(mix.size(), kSampleRate);
    for (std::size_t i = 0; i < fade; ++i)
        mix[mix.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    std::vector<short> pcm(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i)
        pcm[i] = static_cast<short>(std::clamp(mix[i] * 12000.0f, -32767.0f, 32767.0f));
    return pcm;
}

std::string EncodeMp3(const std::vector<short> &samples)
{
    std::unique_ptr<lame_global_flags, decltype(&lame_close)> gf(lame_init(), &lame_close);
    if (!gf)
        return {};
    lame_set_num_channels(gf.get(), 1);
    lame_set_in_samplerate(gf.get(), kSampleRate);
    lame_set_out_samplerate(gf.get(), kSampleRate);
    lame_set_mode(gf.get(), MONO);
    lame_set_brate(gf.get(), 48);
    lame_set_quality(gf.get(), 7);
    lame_set_bWriteVbrTag(gf.get(), 1);
    if (lame_init_params(gf.get()) < 0)
        return {};

    std::string out;
    constexpr int kChunk = 8192;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(kChunk * 5 / 4 + 7200));
    for (std::size_t pos = 0; pos < samples.size(); pos += kChunk) {
        const int n = static_cast<int>(std::min<std::size_t>(kChunk, samples.size() - pos));
        // LAME wants writable pointers although it does not write through them.
        auto *pcm = const_cast<short *>(samples.data() + pos);
        const int written = lame_encode_buffer(gf.get(), pcm, pcm, n, buffer.data(),
                                               static_cast<int>(buffer.size()));
        if (written < 0)
            return {};
        out.append(reinterpret_cast<const char *>(buffer.data()),
                   static_cast<std::size_t>(written));
    }
    const int flushed = lame_encode_flush(gf.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0)
        return {};
    out.append(reinterpret_cast<const char *>(buffer.data()), static_cast<std::size_t>(flushed));

    // The encoder left room for the Info frame at the start; fill it in now.
    const std::size_t tagSize = lame_get_lametag_frame(gf.get(), buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size())
        out.replace(0, tagSize, reinterpret_cast<const char *>(buffer.data()), tagSize);
    return out;
}

} // namespace qarvon::refsvc
