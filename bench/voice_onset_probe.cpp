// Runs the voice-onset detector, and for comparison the WebRTC voice-activity
// detector (when built with it), over answer clips; see voice_onset_bench.sh.
// Input, one clip a line on stdin: <raw s16le 16 kHz mono file> <search start s>.
// Output, one line a clip: <file> <detector onset s> <webrtc onset s per likelihood 0..3>,
// "-" where a method found no voice. Last line: the detector's cost per second of audio.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "voice/voice_onset.h"

#ifdef ZOR_HAVE_WEBRTC_APM
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>
#endif

namespace {

constexpr int kRate = 16000;

std::vector<std::int16_t> ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = std::int16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8));
    }
    return samples;
}

std::string Format(std::optional<double> seconds) {
    if (!seconds) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.5f", *seconds);
    return text;
}

#ifdef ZOR_HAVE_WEBRTC_APM
// WebRTC's per-10-ms voice decision over the whole clip (so its noise model
// adapts as in a live stream), then the same onset rule as the detector: sound
// under way at the search start is skipped up to the first 100 ms without
// voice; a voice is a run of at least 6 voiced frames with gaps of at most 3;
// its onset is its first voiced frame.
std::optional<double> WebRtcOnset(std::span<const std::int16_t> samples, double searchFrom,
                                  webrtc::VoiceDetection::Likelihood likelihood) {
    constexpr std::size_t frameLength = kRate / 100;
    std::unique_ptr<webrtc::AudioProcessing> apm(webrtc::AudioProcessing::Create());
    apm->voice_detection()->Enable(true);
    apm->voice_detection()->set_likelihood(likelihood);
    apm->voice_detection()->set_frame_size_ms(10);
    std::vector<bool> voiced;
    webrtc::AudioFrame frame;
    for (std::size_t start = 0; start + frameLength <= samples.size(); start += frameLength) {
        frame.sample_rate_hz_ = kRate;
        frame.num_channels_ = 1;
        frame.samples_per_channel_ = frameLength;
        std::copy_n(samples.begin() + std::ptrdiff_t(start), frameLength, frame.data_);
        if (apm->ProcessStream(&frame) != 0) throw std::runtime_error("webrtc ProcessStream failed");
        voiced.push_back(apm->voice_detection()->stream_has_voice());
    }
    // The search begins at the first 100 ms without voice from the search start on.
    std::size_t k = std::size_t(searchFrom * 100 + 0.5);
    for (std::size_t quiet = 0; k < voiced.size() && quiet < 10; ++k) quiet = voiced[k] ? 0 : quiet + 1;
    k -= std::min<std::size_t>(k, 10);
    for (; k < voiced.size(); ++k) {
        if (!voiced[k]) continue;
        int count = 0, gap = 0;
        for (std::size_t j = k; j < voiced.size() && gap <= 3; ++j) {
            voiced[j] ? (++count, gap = 0) : ++gap;
            if (count >= 6) return double(k * frameLength) / kRate;
        }
    }
    return std::nullopt;
}
#endif

}  // namespace

int main() {
    struct Clip {
        std::string path;
        double searchFrom;
        std::vector<std::int16_t> samples;
    };
    std::vector<Clip> clips;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream fields(line);
        Clip clip;
        if (!(fields >> clip.path >> clip.searchFrom)) continue;
        clip.samples = ReadRaw(clip.path);
        clips.push_back(std::move(clip));
    }
    double audioSeconds = 0;
    for (const Clip& clip : clips) {
        audioSeconds += double(clip.samples.size()) / kRate;
        std::cout << clip.path << ' ' << Format(zor::voice::FindVoiceOnset(clip.samples, kRate, clip.searchFrom));
#ifdef ZOR_HAVE_WEBRTC_APM
        for (auto likelihood : {webrtc::VoiceDetection::kVeryLowLikelihood, webrtc::VoiceDetection::kLowLikelihood,
                                webrtc::VoiceDetection::kModerateLikelihood, webrtc::VoiceDetection::kHighLikelihood}) {
            std::cout << ' ' << Format(WebRtcOnset(clip.samples, clip.searchFrom, likelihood));
        }
#else
        std::cout << " none none none none";
#endif
        std::cout << '\n';
    }
    // The detector's cost: all clips, five times over, by the steady clock.
    const auto start = std::chrono::steady_clock::now();
    int found = 0;
    for (int round = 0; round < 5; ++round) {
        for (const Clip& clip : clips) found += zor::voice::FindVoiceOnset(clip.samples, kRate, clip.searchFrom) ? 1 : 0;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "cost " << (audioSeconds > 0 ? elapsed * 1e6 / (5 * audioSeconds) : 0.0)
              << " us_per_audio_second over " << 5 * audioSeconds << " s of audio (" << found << " onsets)\n";
}
