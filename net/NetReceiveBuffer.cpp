// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/NetReceiveBuffer.h"

#include <algorithm>

using namespace NetProtocol;

namespace {

// A read that begins with a text tag begins a message. (A read that begins with "mov " counts
// only once the whole move shape is there, like a "mov " anywhere else.)
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
    ShapeJudged_ = 1;
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
    // The first offset that starts a complete "mov" shape. An offset whose bytes so far agree
    // with one stays open: no later end may be taken before it is decided, and no later offset
    // can be complete while it is not.
    qsizetype shape = -1;
    qsizetype open = -1;
    for (qsizetype at = ShapeJudged_; at < Buffer_.size(); ++at) {
        const TShape s = MoveShapeAt(Buffer_, at);
        if (s == TShape::No) {
            ShapeJudged_ = at + 1;
            continue;
        }
        (s == TShape::Yes ? shape : open) = at;
        break;
    }
    // Read starts whose four bytes are there and begin no message are done with for good.
    std::erase_if(ReadStarts_, [this](qsizetype start) {
        return start + 4 <= Buffer_.size() && !StartsTextMessage(Buffer_, start);
    });
    qsizetype end = shape;
    if (!ReadStarts_.empty() && ReadStarts_.front() + 4 <= Buffer_.size() &&
        (end < 0 || ReadStarts_.front() < end))
        end = ReadStarts_.front();
    if (end >= 0 && open >= 0 && end > open)
        return -1;
    return end;
}

void TNetReceiveBuffer::Take(qsizetype length, std::vector<TNetMessage>& out) {
    out.push_back(ParseMessage(Buffer_.left(length)));
    Buffer_.remove(0, length);
    std::vector<qsizetype> starts;
    for (qsizetype s : ReadStarts_)
        if (s > length)
            starts.push_back(s - length);
    ReadStarts_ = std::move(starts);
    ShapeJudged_ = 1;
}
