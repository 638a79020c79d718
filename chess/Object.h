// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The common base of everything that raises events; handlers receive it as Sender.
class TObject {
public:
    virtual ~TObject() = default;
};
