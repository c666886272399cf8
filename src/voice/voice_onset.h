#pragma once
// Voice onset in an answer recording: when, after the prompt has ended, the
// child began to speak. The recording holds the prompt itself (heard through
// the microphone) before `searchFromSeconds`, then room noise, the answer (a
// word or a few phonemes) and possibly noise again.
//
// The rule: the signal is split into three bands (200-1000, 1000-3000 and
// 3000-8000 Hz; below lie mains hum and rumble) and cut into 10 ms frames. Each
// band has its own noise floor (a low percentile of its frame energies after
// the search start) and spread (how much its noise wavers from frame to frame),
// and at each frame a background: the quietest of the 200 ms before it. A
// voice is a run of frames in which some band stands well above both its floor
// and its background, lasting long enough to be speech (clicks, knocks and
// short bursts are not); its onset is traced back over the frames that rise
// above them, in one band or in the bands together (a soft fricative, a
// plosive's burst in loud noise, across a plosive's closure), and refined to
// a few milliseconds. Sound under way at the search start (the prompt's tail,
// late by the sound card's latency, and its echo in the room) is no onset: the
// search begins at the first 100 ms in which every band is quiet or fading and
// no voice starts. Pure computation: no clock, no files, no state between calls.
#include <cstdint>
#include <optional>
#include <span>

namespace zor::voice {

// Seconds from the start of `samples` to the first voiced sound at or after `searchFromSeconds`;
// nothing when no voice starts there. `samples` is mono 16-bit audio at `sampleRate` Hz
// (8000 to 48000; another rate throws std::invalid_argument).
std::optional<double> FindVoiceOnset(std::span<const std::int16_t> samples, int sampleRate,
                                     double searchFromSeconds);

}  // namespace zor::voice
