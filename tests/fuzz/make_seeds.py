#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpora of the fuzz targets from readable positions and texts.

Positions are encoded the way FuzzInput.h's DecodePosition reads them; run it again after
changing that decoding. Usage: tests/fuzz/make_seeds.py (from anywhere)."""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
LETTERS = "PPPPNBRQpppppnbrqKk"

# Placement, side, castling, en passant: positions of real games and special cases.
POSITIONS = [
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
    "rnbqkbnr/pppp1ppp/8/8/3Pp3/8/PPP1PPPP/RNBQKBNR b KQkq d3",
    "8/P7/8/8/8/8/7p/K6k w - -",
    "4k3/8/8/8/8/8/8/4K3 w - -",
    "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - -",
    "7k/5Q2/6K1/8/8/8/8/8 w - -",
    "k7/8/8/8/8/8/8/KQ6 b - -",
    "3r2k1/pp2bppp/2p1p3/8/8/4P3/PP3PPP/2R3K1 w - -",
    "3qk3/pppppp2/8/8/8/8/5PPP/R5K1 w - -",
]
CASTLE = {"K": 1, "Q": 2, "k": 4, "q": 8}


def square_index(name):
    return (8 - int(name[1])) * 8 + (ord(name[0]) - ord("a"))


def encode(fen):
    placement, side, castling, ep = fen.split()[:4]
    squares = []
    for row in placement.split("/"):
        for c in row:
            squares += [" "] * int(c) if c.isdigit() else [c]
    bits = sum(CASTLE[c] for c in castling if c in CASTLE)
    flags = (8 if side == "b" else 0) | bits << 4
    out = [flags]
    for c in squares:
        out.append(0 if c in " Kk" else 160 + LETTERS.index(c))
    out.append(squares.index("K"))
    out.append(squares.index("k"))
    out.append(0 if ep == "-" else square_index(ep) + 1)
    return bytes(out)


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


rng = random.Random(2468)
for i, fen in enumerate(POSITIONS):
    position = encode(fen)
    # A game: mostly picks from the legal list, with a few raw square pairs and navigation.
    moves = bytearray()
    for _ in range(40):
        r = rng.random()
        if r < 0.8:
            moves += bytes([1, rng.randrange(256), rng.randrange(8)])
        elif r < 0.9:
            moves += bytes([0, rng.randrange(64), rng.randrange(64), 0])
        else:
            moves += bytes([rng.choice([0xE0, 0xE8, 0xF0]), rng.randrange(256)])
    write("rules", f"game{i:02}", position + bytes(moves))
    for depth in range(3):
        write("engine", f"pos{i:02}-d{depth + 1}", bytes([depth]) + position)
    write("engine", f"pos{i:02}-stop", bytes([3 + 4 * (i % 16)]) + position)
    write("fen", f"fen{i:02}", (fen + " 0 1").encode())
    write("placement", f"placement{i:02}", fen.split()[0].encode())

TEXTS = {
    "crlf": b"clMaroon\r\nclSilver\r\n3\r\n3\r\nMerlot.bmp\r\n1\r\n0\r\n0\r\n-1\r\n1\r\n",
    "mixed-ends": b"alpha\r\n\rgamma\nomega",
    "cp1252": b"Caf\xe9 \x80\n\x93q\x94 \x8a\x9f\xff",
    "two-boms": b"\xef\xbb\xbf\xef\xbb\xbfx\r\ny",
    "utf8": "Шахматы\r\nÆrøskøbing café\r\n€\r\n".encode(),
    "cut-utf8": b"ok\n\xc3",
    "game": b"rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR\r\n"
            b"1. E2-E4\r\n              E7-E5\r\n",
}
for name, data in TEXTS.items():
    write("textfile", name, data)
for i, text in enumerate(["clMaroon", "$00030201", "-2147483633", " 42 ", "clBtnFace",
                          "16777215", "+7", "$80000018", "clwhite", "2147483648"]):
    write("profile", f"text{i:02}", text.encode())
