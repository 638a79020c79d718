// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/lobby/LobbyProtocol.h"

namespace LobbyProtocol {

namespace {

bool Blank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

QByteArray Quoted(const QByteArray& field) {
    QByteArray out = field;
    out.replace('"', "\"\"");
    return '"' + out + '"';
}

} // namespace

TMessage ParseMessage(const QByteArray& bytes) {
    static const struct {
        const char* Text;
        TTag Tag;
    } tags[] = {{"err", TTag::Err},  {"kck", TTag::Kick},     {"bnd", TTag::Banned},
                {"lst", TTag::List}, {"msg", TTag::Msg},      {"inf", TTag::Info},
                {"djn", TTag::Join}, {"jns", TTag::Identify}, {"gtl", TTag::GetList},
                {"prt", TTag::Part}, {"ctg", TTag::Create},   {"jng", TTag::JoinGame}};
    TMessage m;
    const QByteArray tag = bytes.left(3);
    for (const auto& t : tags)
        if (tag == t.Text)
            m.Tag = t.Tag;
    if (bytes.size() > 4)
        m.Payload = bytes.mid(4);
    return m;
}

QByteArray FormatIdentify(const QByteArray& password, const QByteArray& name,
                          const QByteArray& region, const QByteArray& skill) {
    return "jns \"" + password + "\",\"" + name + "\",\"" + region + "\",\"" + skill + '"';
}

QByteArray FormatGetList() {
    return "gtl";
}

QByteArray FormatPart() {
    return "prt";
}

QByteArray FormatCreate() {
    return "ctg w";
}

QByteArray FormatJoin(int row) {
    return "jng " + QByteArray::number(row);
}

QByteArray FormatSay(const QByteArray& name, const QByteArray& text) {
    return "msg <<" + name + ">> " + text;
}

QByteArray FormatError(const QByteArray& text) {
    return "err " + text;
}

QByteArray FormatKick(const QByteArray& reason) {
    return "kck " + reason;
}

QByteArray FormatBanned() {
    return "bnd ";
}

QByteArray FormatListRow(const QList<QByteArray>& fields) {
    QByteArray out = "lst ";
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += Quoted(fields[i]);
    }
    return out;
}

QByteArray FormatChat(const QByteArray& line) {
    return "msg " + line;
}

QByteArray FormatInfo(const QByteArray& text) {
    return "inf " + text;
}

QByteArray FormatJoined(const QByteArray& address) {
    return "djn " + address;
}

QList<QByteArray> SplitFields(const QByteArray& bytes) {
    // The list ends at a zero byte, as a C string would.
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArray payload = zero < 0 ? bytes : bytes.left(zero);
    QList<QByteArray> fields;
    const qsizetype n = payload.size();
    qsizetype i = 0;
    while (i < n && Blank(payload[i]))
        ++i;
    while (i < n) {
        QByteArray field;
        if (payload[i] == '"') {
            ++i;
            while (i < n) {
                if (payload[i] == '"') {
                    if (i + 1 < n && payload[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i; // the closing quote
                    break;
                }
                field += payload[i++];
            }
        } else {
            while (i < n && payload[i] != ',' && !Blank(payload[i]))
                field += payload[i++];
        }
        fields.append(field);
        while (i < n && Blank(payload[i]))
            ++i;
        if (i < n && payload[i] == ',') {
            ++i;
            while (i < n && Blank(payload[i]))
                ++i;
            // A comma at the very end leaves one empty field behind it.
            if (i == n)
                fields.append(QByteArray());
        }
    }
    return fields;
}

std::optional<QByteArray> ListRow(const QByteArray& payload) {
    const QList<QByteArray> f = SplitFields(payload);
    if (f.size() < 4)
        return std::nullopt;
    return f[0] + "  " + f[1] + "  " + f[2] + "  " + f[3];
}

std::optional<TIdentity> ParseIdentify(const QByteArray& payload) {
    QByteArray body = payload.trimmed();
    if (body.size() < 2 || !body.startsWith('"') || !body.endsWith('"'))
        return std::nullopt;
    body = body.mid(1, body.size() - 2);
    QList<QByteArray> p;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = body.indexOf("\",\"", from);
        if (at < 0) {
            p.append(body.mid(from));
            break;
        }
        p.append(body.mid(from, at - from));
        from = at + 3;
    }
    if (p.size() < 4)
        return std::nullopt;
    TIdentity id;
    id.Password = p.first();
    id.Skill = p.last();
    id.Region = p[p.size() - 2];
    QList<QByteArray> name = p.mid(1, p.size() - 3);
    id.Name = name.join("\",\"");
    return id;
}

bool PasswordCanBeEntered(const QByteArray& password) {
    return !password.contains("\",\"") && !password.endsWith("\",");
}

QByteArray ChatText(const QByteArray& payload) {
    if (payload.startsWith("<<")) {
        const qsizetype at = payload.indexOf(">> ", 2);
        if (at >= 0)
            return payload.mid(at + 3);
    }
    return payload;
}

std::optional<int> JoinRow(const QByteArray& payload) {
    if (payload.isEmpty() || payload.size() > 9)
        return std::nullopt;
    for (char c : payload)
        if (c < '0' || c > '9')
            return std::nullopt;
    return payload.toInt();
}

namespace {

// The length of the identification at the front of `bytes`, or 0 when its fourth field never
// closes there.
qsizetype IdentifyLength(const QByteArray& bytes) {
    qsizetype at = bytes.indexOf('"');
    for (int separator = 0; at >= 0 && separator < 3; ++separator) {
        at = bytes.indexOf("\",\"", at + 1);
        if (at >= 0)
            at += 2;
    }
    if (at < 0)
        return 0;
    const qsizetype close = bytes.indexOf('"', at + 1);
    return close < 0 ? 0 : close + 1;
}

} // namespace

QList<QByteArray> SplitClientRead(const QByteArray& read) {
    QList<QByteArray> out;
    qsizetype at = 0;
    const qsizetype n = read.size();
    while (at < n) {
        const QByteArray rest = read.mid(at);
        qsizetype length = 0;
        if (rest.startsWith("gtl") || rest.startsWith("prt")) {
            length = 3;
        } else if (rest.startsWith("ctg w")) {
            length = 5;
        } else if (rest.startsWith("jng ")) {
            length = 4;
            while (length < rest.size() && length < 13 && rest[length] >= '0' &&
                   rest[length] <= '9')
                ++length;
        } else if (rest.startsWith("jns ")) {
            // The identification ends with the quote after its fourth field (the fields are
            // cut at "," as ParseIdentify cuts them); a window sends its first request the
            // moment it is welcomed, and a loaded server can read both at once.
            length = IdentifyLength(rest);
            if (length == 0) {
                out.append(rest);
                break;
            }
        } else {
            out.append(rest);
            break;
        }
        out.append(rest.left(length));
        at += length;
    }
    return out;
}

namespace {

bool ServerTagAt(const QByteArray& bytes, qsizetype at) {
    static const char* const tags[] = {"err ", "kck ", "bnd", "lst ", "msg ", "inf ", "djn "};
    for (const char* tag : tags)
        if (bytes.mid(at, static_cast<qsizetype>(qstrlen(tag))) == tag)
            return true;
    return false;
}

} // namespace

QList<QByteArray> SplitServerRead(const QByteArray& read) {
    QList<QByteArray> out;
    const qsizetype n = read.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype cut = -1;
        if (read.mid(start, 4) == "lst ") {
            bool quoted = false;
            for (qsizetype i = start + 4; i < n && cut < 0; ++i) {
                if (read[i] != '"')
                    continue;
                if (!quoted) {
                    quoted = true;
                } else if (i + 1 < n && read[i + 1] == '"') {
                    ++i; // a doubled quote inside the field
                } else {
                    quoted = false;
                    if (ServerTagAt(read, i + 1))
                        cut = i + 1;
                }
            }
        }
        if (cut < 0) {
            out.append(read.mid(start));
            break;
        }
        out.append(read.mid(start, cut - start));
        start = cut;
    }
    return out;
}

QByteArray CleanBytes(const QByteArray& bytes, qsizetype max) {
    QByteArray out;
    out.reserve(std::min(bytes.size(), max));
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            continue;
        out += c;
    }
    if (out.size() > max) {
        qsizetype cut = max;
        // Step back over UTF-8 continuation bytes so no character is cut in half.
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.truncate(cut);
    }
    return out;
}

} // namespace LobbyProtocol
