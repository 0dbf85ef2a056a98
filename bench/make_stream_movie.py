#!/usr/bin/env python3
"""Makes a movie whose main timeline streams an MP3 file, for the Flash CPU
benchmark (flash_cpu_bench.exe MOVIE.swf) and the soundtrack benchmark; with
--event, one that plays the file as a single event sound (DefineSound and
StartSound in its first frame) over as many frames instead.

usage: bench/make_stream_movie.py [--event] IN.mp3 OUT.swf [FPS]
IN.mp3 must be MPEG-1 layer III at 44,100 Hz without an ID3 tag, e.g.
  ffmpeg -f lavfi -i "sine=frequency=440:duration=60" -ar 44100 -ac 2 \\
         -b:a 128k -write_xing 0 -id3v2_version 0 IN.mp3
"""
import struct
import sys

BITRATES = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]


def tag(code, body):
    if len(body) < 63:
        return struct.pack("<H", code << 6 | len(body)) + body
    return struct.pack("<HI", code << 6 | 63, len(body)) + body


def mp3_frames(data):
    frames, i = [], 0
    while i + 4 <= len(data):
        if data[i] != 0xFF or (data[i + 1] & 0xE0) != 0xE0:
            i += 1
            continue
        bitrate = BITRATES[data[i + 2] >> 4] * 1000
        rate = [44100, 48000, 32000][(data[i + 2] >> 2) & 3]
        size = 144 * bitrate // rate + ((data[i + 2] >> 1) & 1)
        frames.append(data[i:i + size])
        i += size
    stereo = frames and (frames[0][3] >> 6) != 3
    return frames, stereo


def stream_tags(frames, flags, per_frame):
    tags = [tag(18, bytes([flags, flags]) + struct.pack("<Hh", per_frame, 0))]
    used, shown, k = 0, 0, 0
    while k < len(frames):
        block = []
        while k < len(frames) and used < (shown + 1) * per_frame:
            block.append(frames[k])
            k += 1
            used += 1152
        tags.append(tag(19, struct.pack("<Hh", len(block) * 1152, 0) + b"".join(block)))
        tags.append(tag(1, b""))
        shown += 1
    return tags, shown


def event_tags(frames, flags, per_frame):
    sound = tag(14, struct.pack("<HBIh", 1, flags, len(frames) * 1152, 0) + b"".join(frames))
    start = tag(15, struct.pack("<HB", 1, 0))
    shown = -(-len(frames) * 1152 // per_frame)
    return [sound, start] + [tag(1, b"")] * shown, shown


def main():
    args = sys.argv[1:]
    event = "--event" in args
    args = [a for a in args if a != "--event"]
    source, target = args[0], args[1]
    fps = int(args[2]) if len(args) > 2 else 12
    frames, stereo = mp3_frames(open(source, "rb").read())
    per_frame = 44100 // fps
    flags = 0x2E | (1 if stereo else 0)   # MP3, 44 kHz, 16 bit
    body_tags, shown = (event_tags if event else stream_tags)(frames, flags, per_frame)
    tags = [tag(9, bytes([255, 255, 255]))] + body_tags
    # Stage 550 x 400 pixels (11000 x 8000 twips, 15-bit fields).
    bits = "01111" + "".join(format(v, "015b") for v in (0, 11000, 0, 8000))
    bits += "0" * (-len(bits) % 8)
    rect = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    body = rect + struct.pack("<HH", fps * 256, shown) + b"".join(tags) + tag(0, b"")
    open(target, "wb").write(b"FWS" + bytes([8]) + struct.pack("<I", 8 + len(body)) + body)
    print(f"{target}: {shown} frames at {fps} fps, {len(frames)} MP3 frames")


if __name__ == "__main__":
    main()
