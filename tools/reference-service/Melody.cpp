#include "Melody.h"

#include "Random.h"

#include <algorithm>
#include <cmath>

namespace qarvon::refsvc {

namespace {

double MidiFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

} // namespace

Melody ComposeMelody(std::uint64_t seed, int durationSeconds)
{
    Random r(seed);
    Melody m;
    m.durationSeconds = std::max(1, durationSeconds);
    m.tempo = r.range(76, 128);
    const double beat = 60.0 / m.tempo;
    const double total = m.durationSeconds;
    const int root = r.range(55, 64); // G3..E4
    static const int kPentatonic[] = {0, 2, 4, 7, 9};
    static const int kChords[] = {0, 9, 5, 7}; // I vi IV V
    static const double kLengths[] = {0.5, 1, 1, 1, 1.5, 2};

    const double phraseLength = 8 * beat; // two bars of four beats
    int degree = r.range(3, 7);
    for (double start = 0; start < total - 0.01; start += phraseLength) {
        const double end = std::min(total, start + phraseLength);
        m.phrases.push_back({start, end});
        double t = start;
        while (t < end - 0.01) {
            double length = kLengths[r.range(0, 5)] * beat;
            length = std::min(length, end - t);
            degree = std::clamp(degree + r.range(-2, 2), 0, 9);
            const int note = root + 12 * (degree / 5) + kPentatonic[degree % 5] + 12;
            // A rest now and then lets the tune breathe.
            if (!r.chance(12))
                m.lead.push_back({t, length, MidiFrequency(note), 0.55 + 0.2 * r.unit()});
            t += length;
        }
        for (int bar = 0; bar < 2; ++bar) {
            const double barStart = start + bar * 4 * beat;
            if (barStart >= end)
                break;
            const int chord = kChords[(static_cast<int>(m.phrases.size() - 1) * 2 + bar) % 4];
            m.bass.push_back({barStart, std::min(4 * beat, end - barStart),
                              MidiFrequency(root + chord - 12), 0.35});
        }
    }
    return m;
}

} // namespace qarvon::refsvc
