// SPDX-License-Identifier: GPL-3.0-or-later
// The lobby's readers on any bytes, as a client or the server would receive them.
//
// Properties:
//  - Every field list the splitter finds comes back unchanged through the server's row format.
//  - A read cut into client messages loses and adds no byte.
//  - Cleaned text holds no control byte and is never longer than asked.
//  - An identity that parses formats back to a message that parses to the same identity.
#include "net/lobby/LobbyProtocol.h"
#include "tests/fuzz/FuzzInput.h"

using namespace LobbyProtocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QList<QByteArray> fields = SplitFields(bytes);
    FUZZ_CHECK(SplitFields(FormatListRow(fields).mid(4)) == fields,
               "a list row does not survive the row format");
    (void)ListRow(bytes);

    const QList<QByteArray> parts = SplitClientRead(bytes);
    FUZZ_CHECK(parts.join() == bytes, "cutting a read changed its bytes");
    FUZZ_CHECK(SplitServerRead(bytes).join() == bytes, "cutting a server read changed its bytes");
    for (const QByteArray& part : parts)
        (void)ParseMessage(part);

    const QByteArray clean = CleanBytes(bytes, 50);
    FUZZ_CHECK(clean.size() <= 50, "cleaned text too long");
    for (char c : clean)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && c != 127, "a control byte survived");

    if (const auto id = ParseIdentify(bytes)) {
        const auto again = ParseIdentify(
            ParseMessage(FormatIdentify(id->Password, id->Name, id->Region, id->Skill)).Payload);
        FUZZ_CHECK(again && again->Password == id->Password && again->Name == id->Name &&
                       again->Region == id->Region && again->Skill == id->Skill,
                   "an identity does not survive its own format");
    }
    (void)ChatText(bytes);
    (void)JoinRow(bytes);
    return 0;
}
