// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cuts the byte stream from the peer into messages. TCP may deliver one message in several
// reads or several messages in one read, and the format has no delimiter, so:
// - a message that starts with "mov" is exactly 68 bytes; fewer means the rest is on its way;
// - "inf", "txt" and unknown tags run until a later read begins with a message ("inf ",
//   "txt ", or "mov " with 64 position characters; peers write each message in one send);
//   failing that, until the link goes quiet (the owner calls Flush).
// A message therefore starts only at the start of a read or right after a complete message:
// a chat line or a name that holds "mov " and 64 piece letters stays text, whoever wrote it.
// More than MaxPending bytes without one complete message marks the buffer as overflowed and
// drops what it holds, so a flooding peer never grows memory without bound.

#include "net/NetProtocol.h"

#include <QByteArray>

#include <vector>

class TNetReceiveBuffer {
public:
    // Adds the bytes of one read; answers the messages they complete, in order.
    std::vector<NetProtocol::TNetMessage> Feed(const QByteArray& read);
    // The link has gone quiet: a text message in progress is complete as it stands.
    std::vector<NetProtocol::TNetMessage> Flush();
    void Clear();

    qsizetype Pending() const { return Buffer_.size(); }
    bool Overflowed() const { return Overflowed_; }
    // How many bytes had piled up when the buffer overflowed.
    qsizetype OverflowSize() const { return OverflowSize_; }

private:
    void Extract(std::vector<NetProtocol::TNetMessage>& out);
    // Where the text message at the front ends, or -1 while that cannot be told yet.
    qsizetype TextEnd();
    void Take(qsizetype length, std::vector<NetProtocol::TNetMessage>& out);

    QByteArray Buffer_;
    // Offsets in Buffer_ where a read began, after the front.
    std::vector<qsizetype> ReadStarts_;
    bool Overflowed_ = false;
    qsizetype OverflowSize_ = 0;
};
