// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The handlers a game raises its events through. They belong to the object that assigned
// them, never to the game state: a copy of a game starts with none.

#include "chess/Object.h"
#include "chess/Square.h"

#include <functional>

using TMoveEvent = std::function<void(TObject* Sender, Square oldSq, Square newSq)>;
using TCaptureEvent =
    std::function<void(TObject* Sender, Square oldSq, Square newSq, char CapturedPiece)>;
using TPromotionEvent =
    std::function<void(TObject* Sender, Square oldSq, Square newSq, char& NewPiece)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Each is raised only when assigned; Sender is the game (or the board wrapping it).
struct TGameEvents {
    TMoveEvent OnLegalMove;
    TCaptureEvent OnCapture;
    TPromotionEvent OnPromotion;
    TMoveEvent OnCastle;
    TMoveEvent OnCheck;
    TMoveEvent OnMate;
    TMoveEvent OnStaleMate;
    TNotifyEvent OnNoMatingMaterial;
    TNotifyEvent OnThreefoldPosition;
    TNotifyEvent OnDraw;
    TNotifyEvent OnPaint;
};
