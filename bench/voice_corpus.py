#!/usr/bin/env python3
"""Makes the spoken corpus of the voice-following benchmark with espeak-ng and sox.

    python3 bench/voice_corpus.py OUTPUT_FOLDER [--quick]

Each text in bench/voice/ (one sentence a line, paragraphs apart by a blank line) is spoken by two
voices at 140 and 180 words a minute, in five conditions: straight; two sentences off the script
inserted; a paragraph skipped; a sentence said twice; a 10-second pause. Every sentence is
synthesised on its own and the pieces are joined with short gaps, so the start and end of every
sentence is known; a faint noise floor runs under the whole recording, as under a microphone's.
Next to each WAV a JSON file gives that truth. --quick makes one text, one voice, one rate.
"""
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TEXTS = ["prose", "speech", "talk"]
VOICES = ["en-us", "en-gb+f3"]
RATES = [140, 180]
CONDITIONS = ["straight", "adlib", "skip", "repeat", "pause"]
GAP = 0.3              # seconds between sentences
PARAGRAPH_GAP = 0.6    # and between paragraphs
LEAD = 0.8             # silence before the first word and after the last
PAUSE = 10.0
OFF_SCRIPT = [
    "Before I go on, let me say how glad I am that so many of you could make it today.",
    "If anything is unclear, please hold your questions until the end and I will do my best.",
]


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def duration(path):
    return float(subprocess.run(["soxi", "-D", path], check=True, capture_output=True, text=True).stdout)


def paragraphs_of(name):
    paragraphs, current = [], []
    with open(os.path.join(HERE, "voice", name + ".txt"), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line:
                current.append(line)
            elif current:
                paragraphs.append(current)
                current = []
    if current:
        paragraphs.append(current)
    return paragraphs


def spoken(cache, voice, rate, key, text):
    """One sentence as 16 kHz mono 16-bit, its silence at both ends trimmed."""
    path = os.path.join(cache, f"{voice}-{rate}-{key}.wav")
    if not os.path.exists(path):
        raw = path + ".raw.wav"
        run("espeak-ng", "-v", voice, "-s", str(rate), "-w", raw, text)
        run("sox", raw, "-r", "16000", "-c", "1", "-b", "16", path,
            "silence", "1", "0.02", "0.5%", "reverse", "silence", "1", "0.02", "0.5%", "reverse")
        os.remove(raw)
    return path


def silence(cache, seconds):
    path = os.path.join(cache, f"silence-{seconds:.2f}.wav")
    if not os.path.exists(path):
        run("sox", "-n", "-r", "16000", "-c", "1", "-b", "16", path, "trim", "0", f"{seconds:.2f}")
    return path


def plan(paragraphs, condition):
    """The order of what is said: ("line", k), ("adlib", i) or ("pause",), with gaps after each."""
    lines, firsts = [], []
    for p in paragraphs:
        firsts.append(len(lines))
        lines.extend(p)
    steps = []
    skipped = range(firsts[2], firsts[3]) if condition == "skip" else range(0)
    for k in range(len(lines)):
        if k in skipped:
            continue
        steps.append(("line", k))
        if condition == "adlib" and k == firsts[2] + 1:
            steps += [("adlib", 0), ("adlib", 1)]
        if condition == "repeat" and k == firsts[1] + 2:
            steps.append(("line", k))
        if condition == "pause" and k == firsts[2] + 2:
            steps.append(("pause",))
    return steps, lines, set(firsts)


def make(out, cache, text, voice, rate, condition):
    name = f"{text}-{voice.replace('+', '_')}-{rate}-{condition}"
    wav = os.path.join(out, name + ".wav")
    truth_path = os.path.join(out, name + ".json")
    if os.path.exists(wav) and os.path.exists(truth_path):
        return
    paragraphs = paragraphs_of(text)
    steps, lines, firsts = plan(paragraphs, condition)
    pieces, segments, clock = [silence(cache, LEAD)], [], LEAD
    for i, step in enumerate(steps):
        if step[0] == "pause":
            pieces.append(silence(cache, PAUSE))
            segments.append({"kind": "pause", "start": clock, "end": clock + PAUSE})
            clock += PAUSE
            continue
        if step[0] == "line":
            path = spoken(cache, voice, rate, f"{text}-{step[1]}", lines[step[1]])
            segment = {"kind": "line", "line": step[1]}
        else:
            path = spoken(cache, voice, rate, f"adlib-{step[1]}", OFF_SCRIPT[step[1]])
            segment = {"kind": "adlib", "text": OFF_SCRIPT[step[1]]}
        length = duration(path)
        segment.update(start=clock, end=clock + length)
        segments.append(segment)
        pieces.append(path)
        clock += length
        following = steps[i + 1] if i + 1 < len(steps) else None
        gap = PARAGRAPH_GAP if following and following[0] == "line" and following[1] in firsts else GAP
        if following:
            pieces.append(silence(cache, gap))
            clock += gap
    pieces.append(silence(cache, LEAD))
    clock += LEAD
    joined = wav + ".joined.wav"
    run("sox", *pieces, joined)
    noise = wav + ".noise.wav"
    run("sox", "-n", "-r", "16000", "-c", "1", "-b", "16", noise, "synth", f"{clock:.3f}", "whitenoise", "vol", "0.003")
    run("sox", "-m", "-v", "1", joined, "-v", "1", noise, wav)
    os.remove(joined)
    os.remove(noise)
    truth = {"text": text + ".txt", "voice": voice, "rate": rate, "condition": condition,
             "duration": clock, "segments": segments}
    with open(truth_path, "w", encoding="utf-8") as f:
        json.dump(truth, f, indent=1)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    out = sys.argv[1]
    quick = "--quick" in sys.argv[2:]
    cache = os.path.join(out, "sentences")
    os.makedirs(cache, exist_ok=True)
    for text in TEXTS[:1] if quick else TEXTS:
        for voice in VOICES[:1] if quick else VOICES:
            for rate in RATES[:1] if quick else RATES:
                for condition in CONDITIONS:
                    make(out, cache, text, voice, rate, condition)
    for text in TEXTS:
        src = os.path.join(HERE, "voice", text + ".txt")
        with open(src, encoding="utf-8") as f, open(os.path.join(out, text + ".txt"), "w", encoding="utf-8") as g:
            g.write(f.read())
    print(f"corpus in {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
