// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/LanguageTable.h"

#include "language/TextTargets.h"

#include <cstring>

#include <array>

namespace {

using namespace TextIds;

// Window names, as the windows name themselves.
constexpr const char* Main = "frmCorvina";
constexpr const char* LoadSet = "frmLoadSet";
constexpr const char* NewGame = "frmNew";
constexpr const char* Colors = "frmColors";
constexpr const char* Lang = "frmLang";
constexpr const char* Theme = "frmTheme";
constexpr const char* Start = "frmStartNetGame";
constexpr const char* Client = "frmClient";
constexpr const char* OpInfo = "frmOpInfo";

// A key shared by several targets stands once per target, next to each other.
constexpr std::array<TTextEntry, BaseEntryCount + 24 + GameEndEntryCount> Table{{
    {"File Menu", "0", "&File", Main, "mnuFile"},
    {"File Menu", "1", "&Load Game", Main, "mnuLoad"},
    {"File Menu", "2", "&Save Game", Main, "mnuSave"},
    {"File Menu", "3", "&Export Move List", Main, "mnuExport"},
    {"File Menu", "4", "Load Se&ttings", Main, "mnuLoadSet"},
    {"File Menu", "5", "Sa&ve Current Settings", Main, "mnuSaveSet"},
    {"File Menu", "6", "&Quit", Main, "mnuQuit"},

    {"Game Menu", "0", "&Game", Main, "mnuGame"},
    {"Game Menu", "1", "&New Game", Main, "mnuNew"},
    {"Game Menu", "2", "&Previous Move", Main, "mnuPrevious"},
    {"Game Menu", "3", "Next &Move", Main, "mnuNext"},
    {"Game Menu", "4", "&Go To Move...", Main, "mnuGoToMove"},
    {"Game Menu", "5", "&Challenges!", Main, ChallengeMenuText},
    {"Game Menu", "5alt", "End &Challenge", Main, ChallengeEndText},
    {"Game Menu", "6", "Previous C&hallenge", Main, "mnuPreviousCh"},
    {"Game Menu", "7", "Ne&xt Challenge!", Main, "mnuNextCh"},
    {"Game Menu", "8", "&Restart Challenge", Main, "mnuRestart"},

    {"NetGame Menu", "0", "&NetGame", Main, "mnuNetGame"},
    {"NetGame Menu", "1", "&Start NetGame", Main, "mnuStartNetGame"},
    {"NetGame Menu", "2", "&End NetGame", Main, "mnuEndNetGame"},
    {"NetGame Menu", "3", "&Opponent Info", Main, "mnuOpInfo"},
    {"NetGame Menu", "4", "&NetGame Server", Main, "mnuNetGameServer"},

    {"Appearance Menu", "0", "&Appearence", Main, "mnuAppearence"},
    {"Appearance Menu", "1", "&Piece Set", Main, "mnuSet"},
    {"Appearance Menu", "2", "&Colors", Main, "mnuColors"},
    {"Appearance Menu", "3", "Board L&ines", Main, "mnuLines"},
    {"Appearance Menu", "4", "&White On Top", Main, "mnuWOT"},
    {"Appearance Menu", "5", "&Language", Main, "mnuLanguage"},
    {"Appearance Menu", "6", "&Background Theme", Main, "mnuTheme"},
    {"Appearance Menu", "7", "&Show Captured Pieces", Main, "mnuCPieces"},

    {"Engine Menu", "0", "&Engine", Main, "mnuEngine"},
    {"Engine Menu", "1", "&Start Thinking", Main, "mnuStart"},
    {"Engine Menu", "2", "S&top Thinking", Main, "mnuStop"},
    {"Engine Menu", "3", "&Options", Main, "mnuOptions"},

    {"Help Menu", "0", "&Help", Main, "mnuHelp"},
    {"Help Menu", "1", "&Help Topics", Main, "mnuHelpTopics"},
    {"Help Menu", "2", "Help On &NetGame", Main, "mnuHelpOnNetGame"},
    {"Help Menu", "3", "&About...", Main, "mnuAbout"},
    {"Help Menu", "4", "&ReadMe File", Main, "mnuReadme"},

    {"LoadSettings", "Caption", "Load Settings", LoadSet, ""},
    {"LoadSettings", "Button1", "Delete", LoadSet, "cmdDelete"},
    {"LoadSettings", "ChckBox", "Auto-Load selected settings at game startup", LoadSet, "cbox"},
    {"LoadSettings", "Msg1", "You cannot delete the default options!", ProgramTexts,
     LoadSettingsMsg1},

    {"SaveSettings", "Caption", "Save Settings", ProgramTexts, SaveSettingsCaption},
    {"SaveSettings", "Label1", "Save Settings", ProgramTexts, SaveSettingsLabel1},
    {"SaveSettings", "Msg1", "Save Settings", ProgramTexts, SaveSettingsMsg1},

    {"NewGame", "Caption", "New Game", NewGame, ""},
    {"NewGame", "Label", "Player Name:", NewGame, "Label1"},
    {"NewGame", "Label", "Player Name:", NewGame, "Label2"},
    {"NewGame", "GroupBox1", "Mind", NewGame, "pl1"},
    {"NewGame", "GroupBox2", "Human", NewGame, "pl1", 0},
    {"NewGame", "GroupBox3", "Computer", NewGame, "pl1", 1},
    {"NewGame", "GroupBox1", "Mind", NewGame, "pl2"},
    {"NewGame", "GroupBox2", "Human", NewGame, "pl2", 0},
    {"NewGame", "GroupBox3", "Computer", NewGame, "pl2", 1},
    {"NewGame", "GroupBox", "Custom Chessboard", NewGame, "GroupBox1"},
    {"NewGame", "GroupLabel1", "White", NewGame, "Label3"},
    {"NewGame", "GroupLabel2", "Black", NewGame, "Label5"},
    {"NewGame", "Label2", "Turn:", NewGame, "Label4"},
    {"NewGame", "Button2", "Clear", NewGame, "cmdClear"},
    {"NewGame", "Button3", "Clear All", NewGame, "cmdClearAll"},
    {"NewGame", "Group1", "Pieces", NewGame, "GroupBox2"},
    {"NewGame", "GroupButton1", "Load Layout", NewGame, "cmdLoad"},
    {"NewGame", "GroupButton2", "Save Layout", NewGame, "cmdSave"},
    {"NewGame", "Combo1", "White`s", NewGame, "turn", 0},
    {"NewGame", "Combo2", "Black`s", NewGame, "turn", 1},
    {"NewGame", "Button1", "Advanced >>", NewGame, SwitchBasicCaption},
    {"NewGame", "Button1alt", "<< Basic", NewGame, SwitchAdvancedCaption},

    {"GoToMove", "Caption", "Go To Move...", "frmGoTo", ""},

    {"PieceSet", "Caption", "Select Piece Set", "frmPieceSet", ""},
    {"PieceSet", "Label", "Current Piece Set:", "frmPieceSet", "Label1"},

    {"Colors", "Caption", "Board Colors", Colors, ""},
    {"Colors", "Button1", "Change...", Colors, "cmdChange1"},
    {"Colors", "Button1", "Change...", Colors, "cmdChange2"},
    {"Colors", "Button2", "Default", Colors, "cmdDefault1"},
    {"Colors", "Button2", "Default", Colors, "cmdDefault2"},
    {"Colors", "Label1", "Black Squares:", Colors, "Label1"},
    {"Colors", "Label2", "White Squares:", Colors, "Label2"},

    {"Language", "Caption", "Select Language", Lang, ""},
    {"Language", "Label", "Languages:", Lang, "Label1"},
    {"Language", "Button", "Apply", Lang, "cmdApply"},

    {"Theme", "Caption", "Select Background Theme", Theme, ""},
    {"Theme", "Label", "Themes:", Theme, "Label1"},
    {"Theme", "Button", "Apply", Theme, "cmdApply"},

    {"StartNetGame", "Caption", "Start NetGame", Start, ""},
    {"StartNetGame", "Label1", "Name", Start, "Label1"},
    {"StartNetGame", "Label2", "IP Address", Start, "Label2"},
    {"StartNetGame", "GroupBox", "Connection Type", Start, "rgCon"},
    {"StartNetGame", "Item1", "As a server (listening)", Start, "rgCon", 0},
    {"StartNetGame", "Item2", "As a client (connect)", Start, "rgCon", 1},
    {"StartNetGame", "Button1", "Help", Start, "cmdHelp"},
    {"StartNetGame", "Button2", "Start", Start, "cmdStart"},
    {"StartNetGame", "Button3", "Cancel", Start, "cmdCancel"},

    {"NetGameServer", "Caption", "Connect To NetGame Server", Client, ""},
    {"NetGameServer", "GroupBox1", "ID", Client, "GroupBox1"},
    {"NetGameServer", "GroupBox2", "NetGame Server Specifications", Client, "GroupBox2"},
    {"NetGameServer", "Label1", "Name/Nickname", Client, "Label1"},
    {"NetGameServer", "Label2", "Country/Region", Client, "Label2"},
    {"NetGameServer", "Label3", "Skill", Client, "Label3"},
    {"NetGameServer", "Label6", "Port", Client, "Label6"},
    {"NetGameServer", "Label7", "Password (if server is protected)", Client, "Label7"},
    {"NetGameServer", "Label8", "Chat:", Client, "Label8"},
    {"NetGameServer", "Label5", "Players' List:", Client, "Label5"},
    {"NetGameServer", "Label4", "Status:", Client, "Label4"},
    {"NetGameServer", "Button1", "Connect", Client, "cmdConnect"},
    {"NetGameServer", "Button2", "Disconnect", Client, "cmdDisconnect"},
    {"NetGameServer", "Button3", "Get List", Client, "cmdGetList"},
    {"NetGameServer", "Button4", "Create Game", Client, "cmdCreate"},
    {"NetGameServer", "Button5", "Join Game", Client, "cmdJoin"},
    {"NetGameServer", "Button6", "Say", Client, "cmdSay"},

    {"Options", "Caption", "Engine Options", "frmOptions", ""},
    {"Options", "Label2", "Engine:", "frmOptions", "Label2"},
    {"Options", "Label1", "Search Depth:", "frmOptions", "Label1"},
    {"Options", "Label3", "Thinking Priority:", "frmOptions", "Label3"},

    {"OpInfo", "Caption", "Opponent Info", OpInfo, ""},
    {"OpInfo", "Label1", "Name", OpInfo, "Label1"},
    {"OpInfo", "Label2", "Country/Region", OpInfo, "Label2"},
    {"OpInfo", "Label3", "Skill", OpInfo, "Label3"},

    {"About", "Caption", "About", "AboutBox", ""},

    {"MainForm", "Label", "Movelist:", Main, "Label1"},
    {"MainForm", "Label1", "White pieces captured:", Main, "Label2"},
    {"MainForm", "Label2", "Black pieces captured:", Main, "Label3"},
    {"MainForm", "Label3", "Events:", Main, "Label4"},
    {"MainForm", "Label4", "Points:", Main, "Label5"},
    {"MainForm", "Label4", "Points:", Main, "Label6"},

    // The challenge button below the board takes the menu item's text, read once more.
    {"Game Menu", "8", "&Restart Challenge", Main, "cmdRestart"},

    // Menu items of later builds; absent items are skipped.
    {"Extras", "HighlightMoves", "&Highlight Moves", Main, "mnuHighlight"},
    {"Extras", "ExportPGN", "E&xport PGN...", Main, "mnuExportPGN"},
    {"Extras", "LoadPGN", "Load P&GN...", Main, "mnuLoadPGN"},
    {"Extras", "CopyFEN", "&Copy Position (FEN)", Main, "mnuCopyFEN"},
    {"Extras", "PasteFEN", "&Paste Position (FEN)", Main, "mnuPasteFEN"},

    // The captured-piece tallies' piece words ("%1" in a word stands for the count, else the
    // count comes first: "0 Pawns"), the events list's texts and the faults of a layout.
    {"Extras", "TallyPawns", "Pawns", Main, TallyWords[0]},
    {"Extras", "TallyBishops", "Bishops", Main, TallyWords[1]},
    {"Extras", "TallyKnights", "Knights", Main, TallyWords[2]},
    {"Extras", "TallyRooks", "Rooks", Main, TallyWords[3]},
    {"Extras", "TallyQueens", "Queens", Main, TallyWords[4]},
    {"Extras", "EventCastle", "Castle!", Main, EventCastle},
    {"Extras", "EventCheck", "Check!", Main, EventCheck},
    {"Extras", "EventMate", "Mate!!!", Main, EventMate},
    {"Extras", "EventStaleMate", "Stale Mate!", Main, EventStaleMate},
    {"Extras", "EventPromotion", "Pawn Promoted", Main, EventPromotion},
    {"Extras", "EventDraw", "Draw!", Main, EventDraw},
    {"Extras", "EventThreefold", "Threefold!", Main, EventThreefold},
    {"Extras", "EventIllegalMove", "Illegal Move!", Main, EventIllegalMove},
    {"Extras", "EventEngineStopped", "Engine stopped!", Main, EventEngineStopped},
    {"Extras", "LayoutKingsMissing", "The board MUST contain the white and the black king!",
     NewGame, LayoutKingsMissing},
    {"Extras", "LayoutTooManyPawns", "The board cannot contain more than 8 pawns.", NewGame,
     LayoutTooManyPawns},
    {"Extras", "LayoutTooManyPromoted",
     "The board cannot contain more than 8 pawns (both existing and promoted).", NewGame,
     LayoutTooManyPromoted},
    {"Extras", "LayoutOnlyKings", "The board cannot contain only the two kings.", NewGame,
     LayoutOnlyKings},
    {"Extras", "LayoutTooManyKings", "The board CANNOT contain more than one king of each color!",
     NewGame, LayoutTooManyKings},

    // The end of a game, resigning, offering a draw (bound program-wide texts) and the New Game
    // dialog's time control.
    {"Extras", "GameEndMateWhite", "Checkmate — White wins", TextIds::ProgramTexts,
     "GameEndMateWhite"},
    {"Extras", "GameEndMateBlack", "Checkmate — Black wins", TextIds::ProgramTexts,
     "GameEndMateBlack"},
    {"Extras", "GameEndStalemate", "Stalemate — draw", TextIds::ProgramTexts, "GameEndStalemate"},
    {"Extras", "GameEndRepetition", "Draw by threefold repetition", TextIds::ProgramTexts,
     "GameEndRepetition"},
    {"Extras", "GameEndFiftyMoves", "Draw by the fifty-move rule", TextIds::ProgramTexts,
     "GameEndFiftyMoves"},
    {"Extras", "GameEndDeadPosition", "Draw by insufficient material", TextIds::ProgramTexts,
     "GameEndDeadPosition"},
    {"Extras", "GameEndWhiteResigns", "White resigns — Black wins", TextIds::ProgramTexts,
     "GameEndWhiteResigns"},
    {"Extras", "GameEndBlackResigns", "Black resigns — White wins", TextIds::ProgramTexts,
     "GameEndBlackResigns"},
    {"Extras", "GameEndAgreed", "Draw agreed", TextIds::ProgramTexts, "GameEndAgreed"},
    {"Extras", "GameEndWhiteTime", "White lost on time — Black wins", TextIds::ProgramTexts,
     "GameEndWhiteTime"},
    {"Extras", "GameEndBlackTime", "Black lost on time — White wins", TextIds::ProgramTexts,
     "GameEndBlackTime"},
    {"Extras", "GameEndWhiteTimeDraw", "White ran out of time, but Black cannot mate — draw",
     TextIds::ProgramTexts, "GameEndWhiteTimeDraw"},
    {"Extras", "GameEndBlackTimeDraw", "Black ran out of time, but White cannot mate — draw",
     TextIds::ProgramTexts, "GameEndBlackTimeDraw"},
    {"Extras", "GameEndGameOverCaption", "Game Over", TextIds::ProgramTexts,
     "GameEndGameOverCaption"},
    {"Extras", "GameEndGameOver", "The game is over.", TextIds::ProgramTexts, "GameEndGameOver"},
    {"Extras", "GameEndResign", "R&esign", Main, "mnuResign"},
    {"Extras", "GameEndOfferDraw", "Offer &Draw", Main, "mnuOfferDraw"},
    {"Extras", "GameEndResignQuestion", "Do you really want to resign this game?",
     TextIds::ProgramTexts, "GameEndResignQuestion"},
    {"Extras", "GameEndWhiteOffersDraw", "White offers a draw. Does Black accept?",
     TextIds::ProgramTexts, "GameEndWhiteOffersDraw"},
    {"Extras", "GameEndBlackOffersDraw", "Black offers a draw. Does White accept?",
     TextIds::ProgramTexts, "GameEndBlackOffersDraw"},
    {"Extras", "GameEndDrawDeclined", "The computer declines the draw; play on.",
     TextIds::ProgramTexts, "GameEndDrawDeclined"},
    {"Extras", "GameEndChatResign", "I resign.", TextIds::ProgramTexts, "GameEndChatResign"},
    {"Extras", "GameEndChatOfferDraw", "I offer a draw (say so in the chat if you agree).",
     TextIds::ProgramTexts, "GameEndChatOfferDraw"},
    {"Extras", "GameEndHint", "&Hint", Main, "mnuHint"},
    {"Extras", "GameEndShowEvaluation", "Show &Evaluation", Main, "mnuShowEval"},
    {"Extras", "GameEndEvalWhiteMates", "White mates in %1", TextIds::ProgramTexts,
     "GameEndEvalWhiteMates"},
    {"Extras", "GameEndEvalBlackMates", "Black mates in %1", TextIds::ProgramTexts,
     "GameEndEvalBlackMates"},
    {"Extras", "GameEndEvalDepth", "depth %1", TextIds::ProgramTexts, "GameEndEvalDepth"},
    {"Extras", "ClockTimeControl", "Time control:", NewGame, "lblTimeControl"},
    {"Extras", "ClockNone", "None", NewGame, "timeControl", 0},
    {"Extras", "ClockCustom", "Custom", NewGame, "timeControl", 7},
    {"Extras", "ClockMinutes", "min +", NewGame, "lblClockMinutes"},
    {"Extras", "ClockIncrement", "s per move", NewGame, "lblClockIncrement"},
}};
static_assert(Table.back().Section != nullptr, "every entry of the table is filled in");

} // namespace

std::span<const TTextEntry> LanguageTable() {
    return Table;
}

QList<TTextKey> LanguageKeys() {
    QList<TTextKey> keys;
    for (const TTextEntry& e : Table) {
        const QString section = QString::fromUtf8(e.Section);
        const QString key = QString::fromUtf8(e.Key);
        bool seen = false;
        for (const TTextKey& k : keys)
            seen = seen || (k.Section == section && k.Key == key);
        if (!seen)
            keys.append({section, key, e.DefaultText()});
    }
    return keys;
}

QString ProgramText(const char* id) {
    const QString applied = LanguageTargets().ProgramText(QString::fromUtf8(id));
    if (!applied.isNull())
        return applied;
    for (const TTextEntry& e : LanguageTable())
        if (std::strcmp(e.Window, TextIds::ProgramTexts) == 0 && std::strcmp(e.Target, id) == 0)
            return e.DefaultText();
    return {};
}
