// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A rate limit: Burst tokens at most, refilled at Rate a second; each message spends one.

#include <QtGlobal>

#include <algorithm>

class TTokenBucket {
public:
    TTokenBucket(double rate, double burst) : Rate_(rate), Burst_(burst), Tokens_(burst) {}
    // False, and nothing spent, when no whole token is left.
    bool Spend(qint64 nowMs) {
        Tokens_ = std::min(Burst_, Tokens_ + static_cast<double>(nowMs - AtMs_) * Rate_ / 1000.0);
        AtMs_ = nowMs;
        if (Tokens_ < 1.0)
            return false;
        Tokens_ -= 1.0;
        return true;
    }
    double Rate() const { return Rate_; }

private:
    double Rate_, Burst_, Tokens_;
    qint64 AtMs_ = 0;
};
