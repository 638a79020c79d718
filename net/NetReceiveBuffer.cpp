// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/NetReceiveBuffer.h"

#include <algorithm>

using namespace NetProtocol;

namespace {

// A read that begins with a text tag begins a message. (A read that begins with "mov " counts
// only once the whole move shape is there.)
bool StartsTextMessage(const QByteArray& bytes, qsizetype at) {
    const QByteArrayView four(bytes.constData() + at, 4);
    return four == "inf " || four == "txt ";
}

// Whether the front could still turn out to be a "mov" message: "m" or "mo" alone, or "mov".
bool MovePrefix(const QByteArray& bytes) {
    return QByteArrayView("mov").startsWith(
        QByteArrayView(bytes.constData(), std::min<qsizetype>(bytes.size(), 3)));
}

} // namespace

std::vector<TNetMessage> TNetReceiveBuffer::Feed(const QByteArray& read) {
    std::vector<TNetMessage> out;
    if (Overflowed_ || read.isEmpty())
        return out;
    if (!Buffer_.isEmpty())
        ReadStarts_.push_back(Buffer_.size());
    Buffer_.append(read);
    Extract(out);
    if (Buffer_.size() > MaxPending) {
        Overflowed_ = true;
        OverflowSize_ = Buffer_.size();
        Clear();
    }
    return out;
}

std::vector<TNetMessage> TNetReceiveBuffer::Flush() {
    std::vector<TNetMessage> out;
    if (Buffer_.isEmpty() || MovePrefix(Buffer_))
        return out;
    Take(Buffer_.size(), out);
    Extract(out);
    return out;
}

void TNetReceiveBuffer::Clear() {
    Buffer_.clear();
    ReadStarts_.clear();
}

void TNetReceiveBuffer::Extract(std::vector<TNetMessage>& out) {
    while (!Buffer_.isEmpty()) {
        if (MovePrefix(Buffer_)) {
            if (Buffer_.size() < MoveMessageSize)
                return;
            Take(MoveMessageSize, out);
            continue;
        }
        const qsizetype end = TextEnd();
        if (end < 0)
            return;
        Take(end, out);
    }
}

qsizetype TNetReceiveBuffer::TextEnd() {
    // The first later read that begins a message ends the text; a read whose first bytes
    // begin none is done with for good. A read start not yet decided holds back the later ones.
    while (!ReadStarts_.empty()) {
        const qsizetype at = ReadStarts_.front();
        if (at + 4 > Buffer_.size())
            return -1;
        if (StartsTextMessage(Buffer_, at))
            return at;
        switch (MoveShapeAt(Buffer_, at)) {
        case TShape::Yes:
            return at;
        case TShape::Maybe:
            return -1;
        case TShape::No:
            ReadStarts_.erase(ReadStarts_.begin());
            break;
        }
    }
    return -1;
}

void TNetReceiveBuffer::Take(qsizetype length, std::vector<TNetMessage>& out) {
    out.push_back(ParseMessage(Buffer_.left(length)));
    Buffer_.remove(0, length);
    std::vector<qsizetype> starts;
    for (qsizetype s : ReadStarts_)
        if (s > length)
            starts.push_back(s - length);
    ReadStarts_ = std::move(starts);
}
