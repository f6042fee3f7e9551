#!/usr/bin/env python3
"""Writes the wave reader corpus and its expected results.

Every case is built here chunk by chunk, and its expected line is worked out
from how it was built (which step of reading must fail, what the format and
data are), never by running a reader. Both the Linux reader test and the
Windows reader program compare their lines with expected.txt.

Run from anywhere: python3 tests/data/wave/make_corpus.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

OPEN, NOT_WAVE, FORMAT_READ, DATA_READ, NO_CHUNK = 57600, 57601, 57602, 57603, 265


def fnv(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return h


def chunk(cid, content, size=None):
    size = len(content) if size is None else size
    pad = b"\0" if len(content) % 2 else b""
    return cid + struct.pack("<I", size) + content + pad


def riff(chunks, form=b"WAVE", size=None):
    return chunk(b"RIFF", form + b"".join(chunks), size)


def fields(tag, ch, rate, bits, avg=None, align=None):
    align = ch * bits // 8 if align is None else align
    avg = rate * align if avg is None else avg
    return struct.pack("<HHIIHH", tag, ch, rate, avg, align, bits)


def pattern(n, seed=1):
    return bytes((i * 7 + seed) % 251 + 1 for i in range(n))


def ok_line(tag, ch, rate, bits, data, extra=b"", size=None, copied=None, read=0):
    align = ch * bits // 8
    size = len(data) if size is None else size
    copied = len(data) if copied is None else copied
    asked = min(size, 1 << 20) + 16
    left = size - min(asked, size)
    h = fnv(data[:copied])
    return (f" open=0 fmt={tag}/{ch}/{rate}/{rate * align}/{align}/{bits}"
            f" extra={len(extra)}/{fnv(extra):08x} data=0 size={size} read={read}"
            f" copied={copied} left={left} hash={h:08x}")


def no_data_line(tag, ch, rate, bits, extra=b""):
    align = ch * bits // 8
    return (f" open=0 fmt={tag}/{ch}/{rate}/{rate * align}/{align}/{bits}"
            f" extra={len(extra)}/{fnv(extra):08x} data={NO_CHUNK}")


cases = []  # (file name, bytes or None for an absent file, expected line tail)


def case(name, data, expected):
    cases.append((name, data, expected))


# Valid files of each format.
d = pattern(1000)
case("pcm16_mono_22050.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))
d = pattern(777, 3)
case("pcm8_mono_11025_odd_data.wav", riff([chunk(b"fmt ", fields(1, 1, 11025, 8)), chunk(b"data", d)]),
     ok_line(1, 1, 11025, 8, d))
d = pattern(20000, 5)  # more than one read buffer
case("pcm16_stereo_44100.wav", riff([chunk(b"fmt ", fields(1, 2, 44100, 16)), chunk(b"data", d)]),
     ok_line(1, 2, 44100, 16, d))
d = pattern(640, 7)
case("pcm8_stereo_8000.wav", riff([chunk(b"fmt ", fields(1, 2, 8000, 8)), chunk(b"data", d)]),
     ok_line(1, 2, 8000, 8, d))
d = b""
case("pcm16_empty_data.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))

# Chunk layouts the search has to walk.
d = pattern(300, 11)
case("pcm_fmt18_with_count.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16) + b"\0\0"), chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))
case("pcm_fmt17_odd.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16) + b"\x55"), chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))
case("pcm_list_before_fmt.wav",
     riff([chunk(b"LIST", b"INFO" + chunk(b"INAM", b"name\0")), chunk(b"fmt ", fields(1, 1, 22050, 16)),
           chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))
case("pcm_odd_junk_before_data.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"junk", b"abc"), chunk(b"fact", b"\1\0\0\0"),
           chunk(b"data", d)]),
     ok_line(1, 1, 22050, 16, d))
case("pcm_data_before_fmt.wav",
     riff([chunk(b"data", d), chunk(b"fmt ", fields(1, 1, 22050, 16))]),
     ok_line(1, 1, 22050, 16, d))
d2 = pattern(101, 13)
case("pcm_odd_data_then_list.wav",
     riff([chunk(b"fmt ", fields(1, 1, 11025, 8)), chunk(b"data", d2), chunk(b"LIST", b"INFO")]),
     ok_line(1, 1, 11025, 8, d2))
case("pcm_trailing_bytes.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", d)]) + b"trailing bytes",
     ok_line(1, 1, 22050, 16, d))

# Formats other than PCM: read with their extra bytes.
e = b""
case("float_count_0.wav", riff([chunk(b"fmt ", fields(3, 1, 22050, 32) + b"\0\0"), chunk(b"data", d)]),
     ok_line(3, 1, 22050, 32, d, e))
e = pattern(22, 17)
case("extensible_22_extra.wav",
     riff([chunk(b"fmt ", fields(0xFFFE, 2, 48000, 16) + struct.pack("<H", 22) + e), chunk(b"data", d)]),
     ok_line(0xFFFE, 2, 48000, 16, d, e))
e = pattern(32, 19)
case("adpcm_32_extra.wav",
     riff([chunk(b"fmt ", fields(2, 1, 22050, 16) + struct.pack("<H", 32) + e), chunk(b"data", d)]),
     ok_line(2, 1, 22050, 16, d, e))
e = pattern(4, 23)
case("adpcm_no_data.wav", riff([chunk(b"fmt ", fields(2, 1, 22050, 16) + struct.pack("<H", 4) + e)]),
     no_data_line(2, 1, 22050, 16, e))

# Not a wave file, or no usable format chunk.
case("absent.wav", None, f" open={OPEN}")
case("empty.wav", b"", f" open={NOT_WAVE}")
case("cut_riff_id.wav", b"RIF", f" open={NOT_WAVE}")
case("riff_header_only.wav", b"RIFF" + struct.pack("<I", 4), f" open={NOT_WAVE}")
case("wrong_riff_id.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16))]).replace(b"RIFF", b"RIFX", 1),
     f" open={NOT_WAVE}")
case("wrong_form.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16))], form=b"AVI "), f" open={NOT_WAVE}")
case("lower_case_ids.wav", riff([chunk(b"FMT ", fields(1, 1, 22050, 16)), chunk(b"data", d)]),
     f" open={NOT_WAVE}")
case("no_fmt.wav", riff([chunk(b"data", d)]), f" open={NOT_WAVE}")
case("fmt_only_inside_list.wav",
     riff([chunk(b"LIST", b"wavl" + chunk(b"fmt ", fields(1, 1, 22050, 16))), chunk(b"data", d)]),
     f" open={NOT_WAVE}")
case("fmt_14_bytes.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16)[:14]), chunk(b"data", d)]),
     f" open={NOT_WAVE}")
case("fmt_0_bytes.wav", riff([chunk(b"fmt ", b""), chunk(b"data", d)]), f" open={NOT_WAVE}")

# Cut short inside the format.
full = riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", d)])
case("cut_in_fmt_header.wav", full[:16], f" open={NOT_WAVE}")
case("cut_in_fmt_fields.wav", full[:30], f" open={FORMAT_READ}")
case("float_cut_before_count.wav", riff([chunk(b"fmt ", fields(3, 1, 22050, 32))])[:36],
     f" open={FORMAT_READ}")
case("float_cut_in_count.wav", riff([chunk(b"fmt ", fields(3, 1, 22050, 32) + b"\0\0")])[:37],
     f" open={FORMAT_READ}")
case("adpcm_extra_cut.wav",
     riff([chunk(b"fmt ", fields(2, 1, 22050, 16) + struct.pack("<H", 40) + pattern(40))])[:48],
     f" open={NOT_WAVE}")
# A 16-byte format chunk of a non-PCM tag: the count is read from the next
# chunk's header ("da" = 24932 extra bytes), which the file cannot supply.
case("float_fmt16_count_from_next.wav",
     riff([chunk(b"fmt ", fields(3, 1, 22050, 32)), chunk(b"data", d)]), f" open={NOT_WAVE}")

# No data chunk, or data the file does not hold.
case("no_data.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16))]), no_data_line(1, 1, 22050, 16))
case("no_data_with_list.wav", riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"LIST", b"INFO")]),
     no_data_line(1, 1, 22050, 16))
case("data_header_cut.wav", full[:40], no_data_line(1, 1, 22050, 16))
d3 = pattern(500, 29)
case("data_larger_than_file.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", d3, size=10000)]),
     ok_line(1, 1, 22050, 16, d3, size=10000, copied=0, read=DATA_READ))
case("data_header_at_end.wav",
     riff([chunk(b"fmt ", fields(1, 1, 22050, 16)), chunk(b"data", b"", size=100)]),
     ok_line(1, 1, 22050, 16, b"", size=100, copied=0, read=DATA_READ))


def main():
    os.makedirs(CORPUS, exist_ok=True)
    lines = ["# Expected results of the wave reader for each file of corpus/,",
             "# written by make_corpus.py. open/data/read are error numbers (0 = success);",
             "# fmt = tag/channels/rate/average bytes/block align/bits; extra = count/hash;",
             "# size = data chunk size; copied/left/hash = a read of size + 16 bytes."]
    for name, data, expected in cases:
        path = os.path.join(CORPUS, name)
        if data is None:
            if os.path.exists(path):
                os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(data)
        lines.append(name + ":" + expected)
    with open(os.path.join(HERE, "expected.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
