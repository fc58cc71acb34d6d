#!/usr/bin/env python3
"""Writes the program's event sounds into data/音效: short synthesised tones, one small
melody per event, 22050 Hz 16-bit mono. Run again after changing a melody."""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050

# name: list of (frequency in Hz or 0 for a rest, duration in seconds)
MELODIES = {
    "增加条目": [(880, 0.06), (1320, 0.08)],
    "拒绝添加重复": [(440, 0.08), (0, 0.03), (440, 0.08)],
    "出错": [(330, 0.12), (247, 0.2)],
    "鸟叫": [(2637, 0.05), (3136, 0.05), (2637, 0.05), (3520, 0.08)],
    "海浪": [(196, 0.35)],
    "报警": [(988, 0.1), (740, 0.1), (988, 0.1), (740, 0.1)],
    "固定条目快捷键": [(659, 0.06), (988, 0.09)],
    "设为书签": [(784, 0.07), (1047, 0.1)],
    "撤销所有书签": [(1047, 0.07), (784, 0.1)],
    "自动粘贴": [(1175, 0.05), (1568, 0.06)],
    "现在跳回第一行": [(523, 0.07), (659, 0.07), (784, 0.07), (1047, 0.12)],
    "查找成功": [(1319, 0.06), (1760, 0.1)],
    "按键": [(1500, 0.03)],
    "全部删除": [(784, 0.06), (587, 0.06), (392, 0.12)],
    "图片保存": [(698, 0.06), (880, 0.06), (1047, 0.08)],
    "image图片组暂存": [(587, 0.06), (740, 0.08)],
    "image图片组单击": [(1245, 0.04)],
}


def samples(melody):
    for freq, seconds in melody:
        n = int(RATE * seconds)
        for i in range(n):
            # A short fade in and out keeps each note from clicking.
            envelope = min(1.0, i / 200, (n - i) / 400)
            value = math.sin(2 * math.pi * freq * i / RATE) if freq else 0.0
            yield int(12000 * envelope * value)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data" / "音效")
    out.mkdir(parents=True, exist_ok=True)
    for name, melody in MELODIES.items():
        with wave.open(str(out / f"{name}.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(b"".join(struct.pack("<h", s) for s in samples(melody)))


if __name__ == "__main__":
    main()
