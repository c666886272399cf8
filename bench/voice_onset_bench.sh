#!/usr/bin/env bash
# Voice-onset benchmark: how far the detected onset of a child's answer lies
# from the true one (goal: within 30 ms), on a corpus made here.
#
# Each answer is a Dutch word or phoneme spoken by espeak-ng (several voices,
# speeds and pitches), resampled to 16 kHz and trimmed of its own leading and
# trailing silence by sox at 0.1 % of full scale; a spoken prompt (trimmed the
# same way) and a known stretch of silence go before it and one second after
# it, so the true onset is known to the sample without the detector. The clip
# is then mixed with background noise (white, pink, brown, or mains hum with
# some pink noise) at 20 dB and at 10 dB below the answer's RMS, and also kept
# clean; and once more after sox's reverb (a room's echo; "+echo"), in which
# the prompt's echo runs on past its end. The search starts at the end of the prompt or up to 150 ms before it
# (0, 50, 100 or 150 ms: the prompt as recorded runs late by the sound card's
# latency), so the prompt's tail must not count as the answer.
#
# Output: per SNR and method the count, misses (no onset found), false starts
# (more than 30 ms early), the signed mean, median, 90th percentile and maximum
# of |error| over the onsets found, and the share within 30 ms of all clips;
# then the detector's worst clips and its cost per second of audio.
# Methods: the detector (zor::voice::FindVoiceOnset) and the WebRTC
# voice-activity detector (libwebrtc-audio-processing 0.3) at its four
# likelihood settings, given the same onset rule (sound under way at the
# search start skipped up to the first 100 ms without voice; at least 60 ms
# voiced with gaps of at most 30 ms).
#
# Usage: bash bench/voice_onset_bench.sh [work folder] [corpus]   (corpus kept there)
#   corpus 0 (default): the words the detector's constants were chosen on;
#   corpus 1: other words, voice assignments, gaps and parts of the noise, as
#   a check that the constants are not fitted to corpus 0.
#   Build folder: $ZOR_BENCH_BUILD or build-bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$(mktemp -d /tmp/zor-voice-onset-bench.XXXXXX)}
variant=${2:-0}
case "$variant" in 0|1) ;; *) echo "corpus must be 0 or 1" >&2; exit 2 ;; esac
work="$work/corpus-$variant"
mkdir -p "$work"

"$root/scripts/install-missing.sh" espeak-ng sox libwebrtc-audio-processing-dev python3
source "$root/bench/build_bench.sh"
build_bench_targets voice_onset_probe

# The corpus is made once per work folder; a second run measures it again.
[ -f "$work/manifest.txt" ] || python3 - "$work" "$variant" <<'PY'
import os, subprocess, sys

work = sys.argv[1]
variant = int(sys.argv[2])
corpus = os.path.join(work, "corpus")
os.makedirs(corpus, exist_ok=True)
RATE = 16000
PCM = ["-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer"]
TRIM = ["silence", "1", "0", "0.1%", "reverse", "silence", "1", "0", "0.1%", "reverse"]

def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

def sox(*args):
    """sox with a fixed seed for its noise and dither, so the corpus is the same on every run."""
    run("sox", "-R", *args)

def samples(path):
    return int(subprocess.run(["soxi", "-s", path], check=True, capture_output=True, text=True).stdout)

def rms(path):
    out = subprocess.run(["sox", path, "-n", "stat"], check=True, capture_output=True, text=True).stderr
    return next(float(l.split(":")[1]) for l in out.splitlines() if l.startswith("RMS     amplitude"))

def speak(text, voice, speed, pitch, peak_db, path):
    """espeak-ng's rendering of `text`, at 16 kHz, trimmed at both ends, peak at `peak_db` dBFS."""
    raw = path + ".espeak.wav"
    run("espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "-w", raw, text)
    sox(raw, *PCM, path, "gain", "-n", "-3", *TRIM, "gain", "-n", str(peak_db))
    os.remove(raw)

words = [["appel", "ijs", "oog", "eend", "boom", "dak", "kaas", "poes", "tas", "bal", "vis", "zon",
          "schoen", "huis", "fiets", "giraf", "maan", "neus", "lamp", "roos", "water", "jas",
          "stoel", "knie", "vlieg", "[[s]]", "[[m@]]", "[[a:]]", "[[f]]", "[[p@]]"],
         ["aap", "uil", "ei", "olifant", "beer", "deur", "kip", "pen", "tafel", "fles", "vork", "zeep",
          "sok", "hond", "geit", "muis", "lepel", "raam", "wolk", "jurk", "trein", "spin", "kroon",
          "bloem", "slak", "[[x]]", "[[n@]]", "[[o:]]", "[[t@]]", "[[v]]"]][variant]
voices = [("nl", 150, 50), ("nl+f3", 120, 75), ("nl+m3", 190, 35), ("nl+f2", 165, 60)]
prompts = ["zeg eens vis", "wat hoor je", "en nu kaas", "welk woord is dit"]
kinds = ["white", "pink", "brown", "hum"]

# One long stretch of each noise; every clip takes its own part of it.
NOISE_SECONDS = 600
noise = {}
for kind in kinds:
    path = os.path.join(corpus, f"noise-{kind}.wav")
    noise[kind] = path
    if os.path.exists(path):
        continue
    if kind == "hum":
        parts = []
        for i, (synth, vol) in enumerate([(["sine", "50"], 1.0), (["sine", "150"], 0.3), (["pinknoise"], 0.1)]):
            part = os.path.join(corpus, f"hum-part{i}.wav")
            sox("-n", *PCM, part, "synth", str(NOISE_SECONDS), *synth)
            parts += ["-v", str(vol), part]
        sox("-m", *parts, path)
    else:
        sox("-n", *PCM, path, "synth", str(NOISE_SECONDS), f"{kind}noise")

manifest = []
offset = 250.0 * variant
index = 0
for w, word in enumerate(words):
    for v in range(2):
        voice, speed, pitch = voices[(w + v * 2 + variant) % len(voices)]
        name = f"{index:03d}"
        answer = os.path.join(corpus, f"{name}-answer.wav")
        prompt = os.path.join(corpus, f"{name}-prompt.wav")
        speak(word, voice, speed, pitch, -12, answer)
        speak(prompts[(index + variant) % len(prompts)], "nl", 160, 45, -4, prompt)
        lead = 2400                                   # 0.15 s before the prompt
        gap = 4000 + (index * 2711 + variant * 5003) % 16000   # 0.25 to 1.25 s after it
        latency = [0, 0.05, 0.10, 0.15][(index // 2) % 4]
        search_from = (lead + samples(prompt)) / RATE - latency
        onset = (lead + samples(prompt) + gap) / RATE
        clean = os.path.join(corpus, f"{name}-clean.wav")
        padded_prompt = os.path.join(corpus, f"{name}-prompt-padded.wav")
        padded_answer = os.path.join(corpus, f"{name}-answer-padded.wav")
        sox(prompt, padded_prompt, "pad", f"{lead}s", "0")
        sox(answer, padded_answer, "pad", f"{gap}s", "1")
        sox(padded_prompt, padded_answer, clean)
        length = samples(clean) / RATE
        speech_rms = rms(answer)
        kind = kinds[(index + variant) % len(kinds)]
        sox(clean, "-t", "raw", os.path.join(corpus, f"{name}-clean.raw"))
        manifest.append((os.path.join(corpus, f"{name}-clean.raw"), search_from, onset, "clean", "none", word))
        # The same clip as heard in a room: the echo of the prompt runs on
        # past its end, and the answer may begin within it.
        room = os.path.join(corpus, f"{name}-room.wav")
        sox(clean, room, "reverb", "50", "50", "60", "trim", "0", f"{samples(clean)}s")
        for snr, source, label in [(20, clean, "20dB"), (10, clean, "10dB"),
                                   (20, room, "20dB+echo"), (10, room, "10dB+echo")]:
            part = os.path.join(corpus, f"{name}-noise.wav")
            sox(noise[kind], part, "trim", f"{offset:.4f}", f"{length:.4f}")
            offset = (offset + length) % (NOISE_SECONDS - 10)
            gain = speech_rms / 10 ** (snr / 20) / rms(part)
            mixed = os.path.join(corpus, f"{name}-{label.replace('+', '-')}.raw")
            sox("-m", "-v", "1", source, "-v", f"{gain:.6f}", part, "-t", "raw", mixed)
            os.remove(part)
            manifest.append((mixed, search_from, onset, label, kind, word))
        index += 1

with open(os.path.join(work, "manifest.txt.part"), "w") as out:
    for path, search_from, onset, snr, kind, word in manifest:
        out.write(f"{path} {search_from:.5f} {onset:.5f} {snr} {kind} {word}\n")
os.rename(os.path.join(work, "manifest.txt.part"), os.path.join(work, "manifest.txt"))
print(f"corpus: {index} answers ({len(words)} words and phonemes, {len(voices)} voices), "
      f"{len(manifest)} clips in {corpus}")
PY

cut -d' ' -f1,2 "$work/manifest.txt" | "$build/bin/voice_onset_probe" > "$work/onsets.txt"
if grep -q " none none none none$" "$work/onsets.txt"; then
  echo "voice_onset_probe was built without the WebRTC library; remove $build and run again" >&2
  exit 1
fi

python3 - "$work/manifest.txt" "$work/onsets.txt" <<'PY'
import statistics, sys

clips = {}
for line in open(sys.argv[1]):
    path, search_from, onset, snr, kind, word = line.split()
    clips[path] = dict(onset=float(onset), snr=snr, kind=kind, word=word)
methods = ["detector", "webrtc-verylow", "webrtc-low", "webrtc-moderate", "webrtc-high"]
rows, cost = [], ""
for line in open(sys.argv[2]):
    if line.startswith("cost "):
        cost = line.strip()
        continue
    path, *found = line.split()
    rows.append((clips[path], [None if f == "-" else float(f) for f in found]))

def quantile(values, fraction):
    return values[min(len(values) - 1, int(fraction * len(values)))]

print(f"{'SNR':9} {'method':16} {'n':>4} {'miss':>5} {'early':>6} {'mean':>8} {'median':>8} "
      f"{'p90':>8} {'max':>8} {'<=30ms':>7}   (errors in ms; |error| except mean)")
for snr in ("clean", "20dB", "10dB", "20dB+echo", "10dB+echo"):
    for m, method in enumerate(methods):
        errors = [(found[m] - clip["onset"]) * 1000 for clip, found in rows
                  if clip["snr"] == snr and found[m] is not None]
        count = sum(1 for clip, _ in rows if clip["snr"] == snr)
        misses = count - len(errors)
        early = sum(1 for e in errors if e < -30)
        within = sum(1 for e in errors if abs(e) <= 30)
        absolute = sorted(abs(e) for e in errors)
        if not absolute:
            print(f"{snr:9} {method:16} {count:4d} {misses:5d}")
            continue
        print(f"{snr:9} {method:16} {count:4d} {misses:5d} {early:6d} {statistics.mean(errors):8.1f} "
              f"{statistics.median(absolute):8.1f} {quantile(absolute, 0.9):8.1f} {absolute[-1]:8.1f} "
              f"{100 * within / count:6.1f}%")
    print()

print("detector, worst clips (error ms, SNR, noise, word):")
scored = [((found[0] - clip["onset"]) * 1000 if found[0] is not None else float("inf"), clip)
          for clip, found in rows]
for error, clip in sorted(scored, key=lambda s: -abs(s[0]))[:10]:
    print(f"  {error:8.1f}  {clip['snr']:9} {clip['kind']:6} {clip['word']}")
print(cost)
PY
echo "corpus and results kept in $work"
