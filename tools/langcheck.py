#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the language files of data/lang.

Every language file must hold exactly the texts the program looks up, each section once and
each key once, in UTF-8 without a byte-order mark, with one "&" accelerator on each menu title
and menu item, distinct among the titles and among the items of each menu, and none elsewhere.
Usage:

    tools/langcheck.py [FILE.ini ...]

Without arguments every *.ini of data/lang except the language list (info.ini) is checked.
Prints one line per file and exits non-zero when any file fails.
"""

import pathlib
import sys

# (section, key, English text) for every distinct text, in the order the program reads them.
# A key that feeds several controls (the two "Player Name:" labels, the two "Change..."
# buttons, the two "Points:" labels, the pl1/pl2 radio groups) appears once.
EXPECTED = [
    ("File Menu", "0", "&File"),
    ("File Menu", "1", "&Load Game"),
    ("File Menu", "2", "&Save Game"),
    ("File Menu", "3", "&Export Move List"),
    ("File Menu", "4", "Load Se&ttings"),
    ("File Menu", "5", "Sa&ve Current Settings"),
    ("File Menu", "6", "&Quit"),
    ("Game Menu", "0", "&Game"),
    ("Game Menu", "1", "&New Game"),
    ("Game Menu", "2", "&Previous Move"),
    ("Game Menu", "3", "Next &Move"),
    ("Game Menu", "4", "&Go To Move..."),
    ("Game Menu", "5", "&Challenges!"),
    ("Game Menu", "5alt", "End &Challenge"),
    ("Game Menu", "6", "Previous C&hallenge"),
    ("Game Menu", "7", "Ne&xt Challenge!"),
    ("Game Menu", "8", "&Restart Challenge"),
    ("NetGame Menu", "0", "&NetGame"),
    ("NetGame Menu", "1", "&Start NetGame"),
    ("NetGame Menu", "2", "&End NetGame"),
    ("NetGame Menu", "3", "&Opponent Info"),
    ("NetGame Menu", "4", "&NetGame Server"),
    ("Appearance Menu", "0", "&Appearence"),
    ("Appearance Menu", "1", "&Piece Set"),
    ("Appearance Menu", "2", "&Colors"),
    ("Appearance Menu", "3", "Board L&ines"),
    ("Appearance Menu", "4", "&White On Top"),
    ("Appearance Menu", "5", "&Language"),
    ("Appearance Menu", "6", "&Background Theme"),
    ("Appearance Menu", "7", "&Show Captured Pieces"),
    ("Engine Menu", "0", "&Engine"),
    ("Engine Menu", "1", "&Start Thinking"),
    ("Engine Menu", "2", "S&top Thinking"),
    ("Engine Menu", "3", "&Options"),
    ("Help Menu", "0", "&Help"),
    ("Help Menu", "1", "&Help Topics"),
    ("Help Menu", "2", "Help On &NetGame"),
    ("Help Menu", "3", "&About..."),
    ("Help Menu", "4", "&ReadMe File"),
    ("LoadSettings", "Caption", "Load Settings"),
    ("LoadSettings", "Button1", "Delete"),
    ("LoadSettings", "ChckBox", "Auto-Load selected settings at game startup"),
    ("LoadSettings", "Msg1", "You cannot delete the default options!"),
    ("SaveSettings", "Caption", "Save Settings"),
    ("SaveSettings", "Label1", "Save Settings"),
    ("SaveSettings", "Msg1", "Save Settings"),
    ("NewGame", "Caption", "New Game"),
    ("NewGame", "Label", "Player Name:"),
    ("NewGame", "GroupBox1", "Mind"),
    ("NewGame", "GroupBox2", "Human"),
    ("NewGame", "GroupBox3", "Computer"),
    ("NewGame", "GroupBox", "Custom Chessboard"),
    ("NewGame", "GroupLabel1", "White"),
    ("NewGame", "GroupLabel2", "Black"),
    ("NewGame", "Label2", "Turn:"),
    ("NewGame", "Button2", "Clear"),
    ("NewGame", "Button3", "Clear All"),
    ("NewGame", "Group1", "Pieces"),
    ("NewGame", "GroupButton1", "Load Layout"),
    ("NewGame", "GroupButton2", "Save Layout"),
    ("NewGame", "Combo1", "White`s"),
    ("NewGame", "Combo2", "Black`s"),
    ("NewGame", "Button1", "Advanced >>"),
    ("NewGame", "Button1alt", "<< Basic"),
    ("GoToMove", "Caption", "Go To Move..."),
    ("PieceSet", "Caption", "Select Piece Set"),
    ("PieceSet", "Label", "Current Piece Set:"),
    ("Colors", "Caption", "Board Colors"),
    ("Colors", "Button1", "Change..."),
    ("Colors", "Button2", "Default"),
    ("Colors", "Label1", "Black Squares:"),
    ("Colors", "Label2", "White Squares:"),
    ("Language", "Caption", "Select Language"),
    ("Language", "Label", "Languages:"),
    ("Language", "Button", "Apply"),
    ("Theme", "Caption", "Select Background Theme"),
    ("Theme", "Label", "Themes:"),
    ("Theme", "Button", "Apply"),
    ("StartNetGame", "Caption", "Start NetGame"),
    ("StartNetGame", "Label1", "Name"),
    ("StartNetGame", "Label2", "IP Address"),
    ("StartNetGame", "GroupBox", "Connection Type"),
    ("StartNetGame", "Item1", "As a server (listening)"),
    ("StartNetGame", "Item2", "As a client (connect)"),
    ("StartNetGame", "Button1", "Help"),
    ("StartNetGame", "Button2", "Start"),
    ("StartNetGame", "Button3", "Cancel"),
    ("NetGameServer", "Caption", "Connect To NetGame Server"),
    ("NetGameServer", "GroupBox1", "ID"),
    ("NetGameServer", "GroupBox2", "NetGame Server Specifications"),
    ("NetGameServer", "Label1", "Name/Nickname"),
    ("NetGameServer", "Label2", "Country/Region"),
    ("NetGameServer", "Label3", "Skill"),
    ("NetGameServer", "Label6", "Port"),
    ("NetGameServer", "Label7", "Password (if server is protected)"),
    ("NetGameServer", "Label8", "Chat:"),
    ("NetGameServer", "Label5", "Players' List:"),
    ("NetGameServer", "Label4", "Status:"),
    ("NetGameServer", "Button1", "Connect"),
    ("NetGameServer", "Button2", "Disconnect"),
    ("NetGameServer", "Button3", "Get List"),
    ("NetGameServer", "Button4", "Create Game"),
    ("NetGameServer", "Button5", "Join Game"),
    ("NetGameServer", "Button6", "Say"),
    ("Options", "Caption", "Engine Options"),
    ("Options", "Label2", "Engine:"),
    ("Options", "Label1", "Search Depth:"),
    ("Options", "Label3", "Thinking Priority:"),
    ("OpInfo", "Caption", "Opponent Info"),
    ("OpInfo", "Label1", "Name"),
    ("OpInfo", "Label2", "Country/Region"),
    ("OpInfo", "Label3", "Skill"),
    ("About", "Caption", "About"),
    ("MainForm", "Label", "Movelist:"),
    ("MainForm", "Label1", "White pieces captured:"),
    ("MainForm", "Label2", "Black pieces captured:"),
    ("MainForm", "Label3", "Events:"),
    ("MainForm", "Label4", "Points:"),
    # Texts of the later menu items.
    ("Extras", "HighlightMoves", "&Highlight Moves"),
    ("Extras", "ExportPGN", "E&xport PGN..."),
    ("Extras", "LoadPGN", "Load P&GN..."),
    ("Extras", "CopyFEN", "&Copy Position (FEN)"),
    ("Extras", "PasteFEN", "&Paste Position (FEN)"),
    # Texts the program shows by itself: the tallies' piece words (a "%1" stands for the
    # count), the events list and the faults of a layout.
    ("Extras", "TallyPawns", "Pawns"),
    ("Extras", "TallyBishops", "Bishops"),
    ("Extras", "TallyKnights", "Knights"),
    ("Extras", "TallyRooks", "Rooks"),
    ("Extras", "TallyQueens", "Queens"),
    ("Extras", "EventCastle", "Castle!"),
    ("Extras", "EventCheck", "Check!"),
    ("Extras", "EventMate", "Mate!!!"),
    ("Extras", "EventStaleMate", "Stale Mate!"),
    ("Extras", "EventPromotion", "Pawn Promoted"),
    ("Extras", "EventDraw", "Draw!"),
    ("Extras", "EventThreefold", "Threefold!"),
    ("Extras", "EventIllegalMove", "Illegal Move!"),
    ("Extras", "EventEngineStopped", "Engine stopped!"),
    ("Extras", "LayoutKingsMissing", "The board MUST contain the white and the black king!"),
    ("Extras", "LayoutTooManyPawns", "The board cannot contain more than 8 pawns."),
    ("Extras", "LayoutTooManyPromoted", "The board cannot contain more than 8 pawns (both existing and promoted)."),
    ("Extras", "LayoutOnlyKings", "The board cannot contain only the two kings."),
    ("Extras", "LayoutTooManyKings", "The board CANNOT contain more than one king of each color!"),
    # The end of a game, resigning, offering a draw and the clocks.
    ("Extras", "GameEndMateWhite", "Checkmate — White wins"),
    ("Extras", "GameEndMateBlack", "Checkmate — Black wins"),
    ("Extras", "GameEndStalemate", "Stalemate — draw"),
    ("Extras", "GameEndRepetition", "Draw by threefold repetition"),
    ("Extras", "GameEndFiftyMoves", "Draw by the fifty-move rule"),
    ("Extras", "GameEndDeadPosition", "Draw by insufficient material"),
    ("Extras", "GameEndWhiteResigns", "White resigns — Black wins"),
    ("Extras", "GameEndBlackResigns", "Black resigns — White wins"),
    ("Extras", "GameEndAgreed", "Draw agreed"),
    ("Extras", "GameEndWhiteTime", "White lost on time — Black wins"),
    ("Extras", "GameEndBlackTime", "Black lost on time — White wins"),
    ("Extras", "GameEndWhiteTimeDraw", "White ran out of time, but Black cannot mate — draw"),
    ("Extras", "GameEndBlackTimeDraw", "Black ran out of time, but White cannot mate — draw"),
    ("Extras", "GameEndGameOverCaption", "Game Over"),
    ("Extras", "GameEndGameOver", "The game is over."),
    ("Extras", "GameEndResign", "R&esign"),
    ("Extras", "GameEndOfferDraw", "Offer &Draw"),
    ("Extras", "GameEndResignQuestion", "Do you really want to resign this game?"),
    ("Extras", "GameEndWhiteOffersDraw", "White offers a draw. Does Black accept?"),
    ("Extras", "GameEndBlackOffersDraw", "Black offers a draw. Does White accept?"),
    ("Extras", "GameEndDrawDeclined", "The computer declines the draw; play on."),
    ("Extras", "GameEndChatResign", "I resign."),
    ("Extras", "GameEndChatOfferDraw", "I offer a draw (say so in the chat if you agree)."),
    ("Extras", "GameEndHint", "&Hint"),
    ("Extras", "GameEndShowEvaluation", "Show &Evaluation"),
    ("Extras", "GameEndEvalWhiteMates", "White mates in %1"),
    ("Extras", "GameEndEvalBlackMates", "Black mates in %1"),
    ("Extras", "GameEndEvalDepth", "depth %1"),
    ("Extras", "ClockTimeControl", "Time control:"),
    ("Extras", "ClockNone", "None"),
    ("Extras", "ClockCustom", "Custom"),
    ("Extras", "ClockMinutes", "min +"),
    ("Extras", "ClockIncrement", "s per move"),
]

TOP_MENUS = ["File Menu", "Game Menu", "NetGame Menu", "Appearance Menu", "Engine Menu", "Help Menu"]

# The items of each menu: their accelerators differ within the menu. The challenge item shows
# "5" or "5alt", never both, so the two may share a letter.
MENU_ITEMS = {
    "File Menu": [("File Menu", k) for k in "123456"] +
                 [("Extras", k) for k in ("ExportPGN", "LoadPGN", "CopyFEN", "PasteFEN")],
    "Game Menu": [("Game Menu", k) for k in ("1", "2", "3", "4", "5", "5alt", "6", "7", "8")] +
                 [("Extras", k) for k in ("GameEndResign", "GameEndOfferDraw")],
    "NetGame Menu": [("NetGame Menu", k) for k in "1234"],
    "Appearance Menu": [("Appearance Menu", k) for k in "1234567"] + [("Extras", "HighlightMoves")],
    "Engine Menu": [("Engine Menu", k) for k in "123"] +
                   [("Extras", k) for k in ("GameEndHint", "GameEndShowEvaluation")],
    "Help Menu": [("Help Menu", k) for k in "1234"],
}
ALTERNATIVES = {("game menu", "5"): ("game menu", "5alt"), ("game menu", "5alt"): ("game menu", "5")}

# The program reads a value into a buffer of 2048 characters, so at most 2047 are used.
MAX_VALUE = 2047


def fold(name):
    # Section and key names are compared without regard to case.
    return name.casefold()


def accelerator(text):
    """The character after the single "&" of text, or None; "&&" is a literal ampersand."""
    found = []
    i = 0
    while i < len(text):
        if text[i] == "&":
            if i + 1 < len(text) and text[i + 1] == "&":
                i += 2
                continue
            if i + 1 < len(text):
                found.append(text[i + 1])
            else:
                found.append("")
        i += 1
    return found


def check_text(text):
    """Parses one file's text; returns (errors, warnings, entries)."""
    errors, warnings = [], []
    lines = text.splitlines()
    if not lines or not lines[0].startswith(";"):
        errors.append("line 1: the first line must be a comment naming the language")
    sections_seen = {}
    entries = []  # (section, key, value, line number)
    seen_pairs = {}
    section = None
    for number, raw in enumerate(lines, start=1):
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            if not line.endswith("]") or len(line) < 3:
                errors.append(f"line {number}: malformed section line {raw!r}")
                continue
            section = line[1:-1].strip()
            if fold(section) in sections_seen:
                errors.append(f"line {number}: section [{section}] already opened on line "
                              f"{sections_seen[fold(section)]}")
            sections_seen[fold(section)] = number
            continue
        if "=" not in line:
            errors.append(f"line {number}: neither a section, a comment nor key=value: {raw!r}")
            continue
        if section is None:
            errors.append(f"line {number}: key outside any section")
            continue
        key, value = line.split("=", 1)
        key, value = key.strip(), value.strip()
        pair = (fold(section), fold(key))
        if pair in seen_pairs:
            errors.append(f"line {number}: [{section}] {key} duplicates line {seen_pairs[pair]}")
            continue
        seen_pairs[pair] = number
        entries.append((section, key, value, number))
    return errors, warnings, entries


def check_entries(entries, errors, warnings):
    expected = {(fold(s), fold(k)): (s, k, en) for s, k, en in EXPECTED}
    found = {(fold(s), fold(k)): (s, k, v, n) for s, k, v, n in entries}
    for pair, (s, k, _) in expected.items():
        if pair not in found:
            errors.append(f"missing [{s}] {k}")
    for pair, (s, k, _, n) in found.items():
        if pair not in expected:
            errors.append(f"line {n}: unknown key [{s}] {k}")
    # The file follows the program's reading order, so translators can work down both lists.
    order = [p for p in ((fold(s), fold(k)) for s, k, _, _ in entries) if p in expected]
    wanted = [p for p in ((fold(s), fold(k)) for s, k, _ in EXPECTED) if p in found]
    if order != wanted:
        for got, want in zip(order, wanted):
            if got != want:
                errors.append(f"order: [{found[got][0]}] {found[got][1]} stands where "
                              f"[{expected[want][0]}] {expected[want][1]} belongs")
                break

    letters = {}
    top = {fold(s) for s in TOP_MENUS}
    item_menu = {(fold(s), fold(k)): menu for menu, items in MENU_ITEMS.items() for s, k in items}
    item_letters = {}  # (menu, letter) -> the pair that uses it
    for pair, (s, k, value, n) in found.items():
        if pair not in expected:
            continue
        english = expected[pair][2]
        if not value:
            errors.append(f"line {n}: [{s}] {k} is empty")
        if len(value) > MAX_VALUE:
            errors.append(f"line {n}: [{s}] {k} is longer than {MAX_VALUE} characters")
        marks = accelerator(value)
        if pair[0] in top and pair[1] == "0":
            if len(marks) != 1 or not marks[0].strip():
                errors.append(f"line {n}: [{s}] 0 needs exactly one '&' before a letter: {value!r}")
            else:
                letter = marks[0].casefold()
                if letter in letters:
                    errors.append(f"line {n}: accelerator '{marks[0]}' of [{s}] is also used by "
                                  f"[{letters[letter]}]")
                letters[letter] = s
        elif pair in item_menu:
            menu = item_menu[pair]
            if len(marks) != 1 or not marks[0].strip():
                errors.append(f"line {n}: [{s}] {k} needs exactly one '&' before a letter: "
                              f"{value!r}")
            else:
                letter = marks[0].casefold()
                other = item_letters.get((menu, letter))
                if other and other != ALTERNATIVES.get(pair):
                    errors.append(f"line {n}: accelerator '{marks[0]}' of [{s}] {k} is also used "
                                  f"in the {menu} by [{found[other][0]}] {found[other][1]}")
                item_letters[(menu, letter)] = pair
        elif marks:
            errors.append(f"line {n}: [{s}] {k} must not carry an '&' accelerator: {value!r}")
        if pair[1].startswith("tally") and value.count("%1") > 1:
            errors.append(f"line {n}: [{s}] {k} holds \"%1\" more than once: {value!r}")
        if english.endswith("...") and not value.endswith("..."):
            errors.append(f"line {n}: [{s}] {k} opens a window and must end with '...'")
        for arrow in (">>", "<<"):
            if arrow in english and arrow not in value:
                errors.append(f"line {n}: [{s}] {k} lost its '{arrow}'")
        if "`" in value:
            warnings.append(f"line {n}: [{s}] {k} holds a grave accent: {value!r}")


def check_file(path):
    errors, warnings = [], []
    data = path.read_bytes()
    if data.startswith(b"\xef\xbb\xbf"):
        errors.append("starts with a UTF-8 byte-order mark")
        data = data[3:]
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        return [f"not valid UTF-8 at byte {e.start}"], warnings, 0
    if "\r" in text:
        warnings.append("carriage returns in line ends")
    errs, warns, entries = check_text(text)
    errors += errs
    warnings += warns
    check_entries(entries, errors, warnings)
    return errors, warnings, len(entries)


def main(argv):
    if len(argv) > 1:
        paths = [pathlib.Path(a) for a in argv[1:]]
    else:
        folder = pathlib.Path(__file__).resolve().parent.parent / "data" / "lang"
        paths = sorted(p for p in folder.glob("*.ini") if p.name.lower() != "info.ini")
    if not paths:
        print("no language files found")
        return 1
    failed = 0
    for path in paths:
        errors, warnings, count = check_file(path)
        status = "FAIL" if errors else "ok"
        print(f"{status:4} {path.name}: {count} keys (expected {len(EXPECTED)})")
        for e in errors:
            print(f"     error: {e}")
        for w in warnings:
            print(f"     warning: {w}")
        failed += bool(errors)
    print(f"{len(paths) - failed} of {len(paths)} files pass")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
