// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowHook.h"

#include "app/Main1.h"
#include "app/SettingsProfiles.h"

#include <QAction>

TMainWindowHook TfrmCorvina::Hook() {
    return TMainWindowHook(this);
}

bool TMainWindowHook::Trigger(const QString& action) const {
    auto* item = W->findChild<QAction*>(action);
    if (!item || !item->isEnabled())
        return false;
    item->trigger();
    return true;
}

bool TMainWindowHook::SaveGameTo(const QString& path) const {
    return W->SaveGameTo(path);
}
bool TMainWindowHook::LoadGameFrom(const QString& path) const {
    return W->LoadGameFrom(path);
}
bool TMainWindowHook::ExportMoveListTo(const QString& path) const {
    return W->ExportMoveListTo(path);
}
bool TMainWindowHook::ExportPgnTo(const QString& path) const {
    return W->ExportPgnTo(path);
}
bool TMainWindowHook::LoadPgnFrom(const QString& path) const {
    return W->LoadPgnFrom(path);
}
bool TMainWindowHook::StartFromFen(const QString& fen) const {
    return W->StartFromFen(fen);
}
bool TMainWindowHook::SaveSettingsAs(const QString& name) const {
    return W->Profiles_->SaveAs(name);
}
bool TMainWindowHook::LoadSettings(const QString& name) const {
    return W->Profiles_->Load(name);
}
void TMainWindowHook::ApplyNewGame(const TNewGame& game) const {
    W->ApplyNewGame(game);
}
void TMainWindowHook::GoToLine(int index) const {
    W->GoToLine(index);
}
void TMainWindowHook::SetPlayer1(const QString& name) const {
    W->SetPlayer1(name);
}
void TMainWindowHook::SetPlayer2(const QString& name) const {
    W->SetPlayer2(name);
}
void TMainWindowHook::SetCapturedPane(bool shown, bool moveWindow) const {
    W->SetCapturedPane(shown, moveWindow);
}
void TMainWindowHook::Timer2Timer() const {
    W->Timer2Timer();
}

QStringList TMainWindowHook::StatusLines() const {
    return W->StatusLines();
}
QString TMainWindowHook::Player1() const {
    return W->Player1();
}
QString TMainWindowHook::Player2() const {
    return W->Player2();
}
QString TMainWindowHook::CurrentFen() const {
    return W->CurrentFen();
}
TProfile TMainWindowHook::CurrentProfile() const {
    return W->Profiles_->Current();
}
bool TMainWindowHook::ChallengeMode() const {
    return W->ChallengeMode();
}
int TMainWindowHook::ChallengeCount() const {
    return W->ChallengeCount();
}
int TMainWindowHook::LanguageIndex() const {
    return W->Profiles_->LanguageIndex();
}
int TMainWindowHook::ThemeIndex() const {
    return W->Profiles_->ThemeIndex();
}
QString TMainWindowHook::CurrentPieceSetFile() const {
    return W->CurrentPieceSetFile();
}
bool TMainWindowHook::NetGameActive() const {
    return W->NetGameActive();
}
