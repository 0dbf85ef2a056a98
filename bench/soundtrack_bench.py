#!/usr/bin/env python3
"""Soundtrack and sound export figures over the movies of a folder.

For every movie with a sound it writes `corvella-cli soundtrack` over the
movie's frames, at least ten seconds of them and at most 1000 frames, checks that ffmpeg decodes the WAV and that
its length is N / frame rate within one frame, and where the movie holds a
single MP3 sound, correlates the soundtrack with ffmpeg's own decoding of the
exported MP3. Then it exports every image and sound row and counts the files
that ffmpeg decodes. Two movies it makes itself join the soundtrack figures
(not the export counts): thirty seconds of MP3 (ffmpeg's encoding of a tone
in noise) as a stream and as one event sound, at 12 frames per second, made
by bench/make_stream_movie.py.

usage: bench/soundtrack_bench.py [CLI] [FOLDER]
  CLI     build/native/corvella-cli
  FOLDER  ../shared/corpus/extract
"""
import array
import math
import os
import subprocess
import sys
import tempfile
import time

RATE = 44100


def run(args):
    return subprocess.run(args, capture_output=True, text=True)


def movie_info(cli, path):
    rate, frames = 12.0, 1
    for line in run([cli, "swf", "info", path]).stdout.splitlines():
        if line.startswith("帧速度："):
            rate = float(line[len("帧速度："):])
        elif line.startswith("总帧数"):
            frames = int(line[len("总帧数"):].lstrip("：:"))
    return rate, frames


def rows(cli, path):
    result = []
    for line in run([cli, "swf", "list", path]).stdout.splitlines():
        parts = line.split("\t")
        if len(parts) == 5:
            result.append((parts[0], int(parts[1]), int(parts[4])))
    return result


def decodes(path):
    return run(["ffmpeg", "-v", "error", "-i", path, "-f", "null", "-"]).returncode == 0


def mono(path):
    out = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-ac", "1", "-ar", str(RATE), "-f", "s16le", "-"],
                         capture_output=True).stdout
    return array.array("h", out[: len(out) // 2 * 2])


def correlation(a, b, lag):
    pairs = [(a[i], b[i - lag]) for i in range(max(lag, 0), min(len(a), len(b) + lag))]
    if len(pairs) < 1000:
        return 0.0
    n = len(pairs)
    ma = sum(x for x, _ in pairs) / n
    mb = sum(y for _, y in pairs) / n
    sab = sum((x - ma) * (y - mb) for x, y in pairs)
    saa = sum((x - ma) ** 2 for x, _ in pairs)
    sbb = sum((y - mb) ** 2 for _, y in pairs)
    return sab / math.sqrt(saa * sbb) if saa > 0 and sbb > 0 else 0.0


def best_correlation(track, reference):
    """Finds where the sound begins in the track (frame starts and decoder
    delays differ), then correlates over the whole sound."""
    start = next((i for i, s in enumerate(track) if s != 0), 0)
    track = track[start:start + len(reference)]
    probe = min(len(reference), 8192)
    best, best_lag = -1.0, 0
    for lag in range(-1200, 1201, 8):
        c = correlation(track[:probe + 1200], reference[:probe], lag)
        if c > best:
            best, best_lag = c, lag
    for lag in range(best_lag - 8, best_lag + 9):
        c = correlation(track[:probe + 1200], reference[:probe], lag)
        if c > best:
            best, best_lag = c, lag
    return correlation(track, reference, best_lag)


def made_movies(work):
    """The stream and the event movie of one MP3 file; none without ffmpeg."""
    work = os.path.join(work, "made")
    os.makedirs(work)
    mp3 = os.path.join(work, "tone.mp3")
    made = run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=30",
                "-f", "lavfi", "-i", "anoisesrc=d=30:c=pink:a=0.2", "-filter_complex",
                "[0][1]amix=inputs=2,volume=2", "-ar", str(RATE), "-ac", "2", "-b:a", "128k",
                "-write_xing", "0", "-id3v2_version", "0", mp3])
    if made.returncode != 0:
        return []
    maker = os.path.join(os.path.dirname(os.path.abspath(__file__)), "make_stream_movie.py")
    movies = []
    for kind in ("stream", "event"):
        movie = os.path.join(work, f"made_mp3_{kind}.swf")
        args = [sys.executable, maker] + (["--event"] if kind == "event" else []) + [mp3, movie, "12"]
        if run(args).returncode == 0:
            movies.append(movie)
    return movies


def main():
    cli = sys.argv[1] if len(sys.argv) > 1 else "build/native/corvella-cli"
    folder = sys.argv[2] if len(sys.argv) > 2 else "../shared/corpus/extract"
    movies = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.lower().endswith(".swf"))
    work = tempfile.mkdtemp(prefix="soundtrack_bench_")
    corpus = set(movies)
    movies += made_movies(work)
    audio_seconds = render_seconds = 0.0
    tracks = good_tracks = 0
    exported = decoded = empty = 0
    for movie in movies:
        name = os.path.basename(movie)
        listed = rows(cli, movie)
        sounds = [r for r in listed if r[0].upper().endswith((".WAV", ".MP3"))]
        out_dir = os.path.join(work, name)
        os.makedirs(out_dir, exist_ok=True)
        run([cli, "swf", "export", movie, out_dir])
        for caption, _, length in listed:
            if movie not in corpus:
                continue
            if length == 0:
                empty += 1   # a stream head without blocks, or unreadable data
                continue
            exported += 1
            if decodes(os.path.join(out_dir, caption)):
                decoded += 1
            else:
                print(f"{name}: {caption} does not decode")
        if not sounds:
            continue
        rate, frames = movie_info(cli, movie)
        frames = max(1, min(max(frames, math.ceil(10 * rate)), 1000))
        wav = os.path.join(work, name + ".wav")
        began = time.perf_counter()
        status = run([cli, "soundtrack", movie, "--frames", str(frames), "--out", wav]).returncode
        elapsed = time.perf_counter() - began
        tracks += 1
        if status != 0 or not decodes(wav):
            print(f"{name}: soundtrack FAILED")
            continue
        track = mono(wav)
        seconds = len(track) / RATE
        audio_seconds += seconds
        render_seconds += elapsed
        length_ok = abs(seconds - frames / rate) <= 1 / rate
        good_tracks += length_ok
        line = f"{name}: {frames} frames at {rate:g} fps, {seconds:.2f} s, length {'ok' if length_ok else 'WRONG'}"
        mp3 = [r for r in sounds if r[0].upper().endswith(".MP3")]
        if len(sounds) == 1 and len(mp3) == 1 and mp3[0][2] > 0 and any(track):
            reference = mono(os.path.join(out_dir, mp3[0][0]))
            line += f", correlation with ffmpeg {best_correlation(track, reference):.4f}"
        print(line)
    print(f"soundtracks: {good_tracks} of {tracks} decode with the right length")
    if render_seconds > 0:
        print(f"rendering: {audio_seconds:.1f} s of sound in {render_seconds:.2f} s, "
              f"{audio_seconds / render_seconds:.0f} x real time (process start included)")
    print(f"extraction: {decoded} of {exported} resources export to a file that decodes; "
          f"{empty} rows listed unreadable (nothing to export)")


if __name__ == "__main__":
    main()
