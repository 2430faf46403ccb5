// make_click: writes the player's click, the sound of every pause, as a wave
// file: RIFF/WAVE, PCM, mono, 16 bits, 44,100 samples per second, 5,760
// samples (about 131 ms), 11,566 bytes.
//
// The sound is two short tones near 1 kHz, like a wooden tick-tock: silence
// for 25 ms, a first burst that has died away by 40 ms, a second, slightly
// lower one from 50 ms whose body is over by 70 ms and whose soft tail has
// faded to nothing by 115 ms. Every sample comes from fixed formulas, so the
// file is the same on every run.
//
//   make_click OUTPUT.wav
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <system_error>
#include <vector>

#include "gfx/little_endian.h"
#include "sys/files.h"

namespace {

constexpr uint32_t kSampleRate = 44100;
constexpr size_t kSampleCount = 5760;

struct Burst {
    double start_ms;     // the tone starts here, at phase 0
    double attack_ms;    // rise from silence to full strength
    double body_decay_ms;  // time constant of the loud body
    double tail_share;     // part of the strength that decays slowly
    double tail_decay_ms;
    double end_ms;       // a short fade brings the burst to exactly 0 here
    double frequency;    // Hz
    double peak;         // the loudest sample, of 32,767
};

// The first burst is short and dry; the second rings on a little longer.
constexpr Burst kBursts[] = {
    {25.0, 1.5, 3.0, 0.0, 1.0, 40.0, 1050.0, 9300.0},
    {50.0, 1.5, 4.0, 0.12, 16.0, 115.0, 950.0, 9600.0},
};

// Strength of a burst at time t (ms after its start): a smooth rise, then a
// fast and a slow exponential decay, and a cosine fade over the last 5 ms so
// that the burst ends without a step.
double Envelope(const Burst& b, double t) {
    const double length = b.end_ms - b.start_ms;
    if (t < 0.0 || t >= length) return 0.0;
    const double pi = std::numbers::pi;
    if (t < b.attack_ms) {
        const double s = std::sin(0.5 * pi * t / b.attack_ms);
        return s * s;
    }
    const double after = t - b.attack_ms;
    double e = (1.0 - b.tail_share) * std::exp(-after / b.body_decay_ms) +
               b.tail_share * std::exp(-after / b.tail_decay_ms);
    constexpr double kFadeMs = 5.0;
    if (t > length - kFadeMs) e *= 0.5 + 0.5 * std::cos(pi * (t - (length - kFadeMs)) / kFadeMs);
    return e;
}

// One burst over the whole sound, scaled so that its loudest sample is its peak.
std::vector<double> RenderBurst(const Burst& b) {
    std::vector<double> wave(kSampleCount, 0.0);
    double loudest = 0.0;
    for (size_t i = 0; i < kSampleCount; ++i) {
        const double t = 1000.0 * static_cast<double>(i) / kSampleRate - b.start_ms;
        if (t < 0.0) continue;
        const double tone = std::sin(2.0 * std::numbers::pi * b.frequency * t / 1000.0);
        wave[i] = Envelope(b, t) * tone;
        loudest = std::max(loudest, std::fabs(wave[i]));
    }
    for (double& s : wave) s *= b.peak / loudest;
    return wave;
}

std::vector<int16_t> RenderClick() {
    std::vector<double> mix(kSampleCount, 0.0);
    for (const Burst& b : kBursts) {
        const std::vector<double> wave = RenderBurst(b);
        for (size_t i = 0; i < kSampleCount; ++i) mix[i] += wave[i];
    }
    std::vector<int16_t> samples(kSampleCount);
    for (size_t i = 0; i < kSampleCount; ++i) {
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(mix[i], -32767.0, 32767.0)));
    }
    return samples;
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

// RIFF header, an 18-byte format chunk (PCM with an empty extension) and the
// data chunk, all little-endian.
std::vector<uint8_t> EncodeWave(const std::vector<int16_t>& samples) {
    constexpr uint32_t kChannels = 1;
    constexpr uint32_t kBitsPerSample = 16;
    constexpr uint32_t kBlockAlign = kChannels * kBitsPerSample / 8;
    constexpr uint32_t kFormatSize = 18;
    const uint32_t data_size = static_cast<uint32_t>(samples.size()) * kBlockAlign;

    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    gfx::PutLe32(out, 4 + (8 + kFormatSize) + (8 + data_size));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    gfx::PutLe32(out, kFormatSize);
    gfx::PutLe16(out, 1);  // PCM
    gfx::PutLe16(out, kChannels);
    gfx::PutLe32(out, kSampleRate);
    gfx::PutLe32(out, kSampleRate * kBlockAlign);
    gfx::PutLe16(out, kBlockAlign);
    gfx::PutLe16(out, kBitsPerSample);
    gfx::PutLe16(out, 0);  // no extension bytes
    PutTag(out, "data");
    gfx::PutLe32(out, data_size);
    for (int16_t s : samples) gfx::PutLe16(out, static_cast<uint16_t>(s));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_click OUTPUT.wav\n");
        return 1;
    }
    const std::vector<uint8_t> file = EncodeWave(RenderClick());
    std::error_code ec;
    if (!sys::ReplaceFileContents(argv[1], file, ec)) {
        std::fprintf(stderr, "make_click: cannot write '%s': %s\n", argv[1], ec.message().c_str());
        return 1;
    }
    return 0;
}
