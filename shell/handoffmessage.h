// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The one message a second start sends to the running instance, and the
// two bytes that settle it: the instance answers kAck as soon as it holds the
// whole message, and the second start answers kConfirm if it is still
// waiting. Only a confirmed message is applied, so a second start that gave
// up (and exited 1) never has its text turn up later.
//
// Layout (integers big-endian):
//   "TVHO"  magic
//   u8      version (1)
//   u32     body length in bytes
//   body:   u32 marker length, marker UTF-8,
//           u32 addressee length, addressee UTF-8
// The whole message is at most kMaxMessageBytes; anything else is refused.
namespace handoff {

inline constexpr qsizetype kMaxMessageBytes = 1 << 20;
inline constexpr qsizetype kHeaderBytes = 9;
inline constexpr char kAck = '\x06';
inline constexpr char kConfirm = '\x02';

// The marker a hand-off writes into Edit2.
QString marker();

// The addressee text from command-line argument 1: each ";;" becomes CR LF,
// scanning from the left without overlaps (";;;" gives CR LF ";").
QString handOffText(QStringView argument);

struct Message
{
    QString marker;
    QString addressee;
    friend bool operator==(const Message &, const Message &) = default;
};

// Nothing when the texts do not fit in kMaxMessageBytes.
std::optional<QByteArray> encode(const Message &message);

struct Decoded
{
    enum Status { NeedMore, Complete, Invalid };
    Status status = NeedMore;
    Message message;        // when Complete
    qsizetype consumed = 0; // bytes of the message, when Complete
};

// Reads a message from the start of `bytes`, which may hold only its
// beginning so far. Garbage is refused as soon as the bytes seen show it,
// and so is a length beyond the limit, before the body arrives.
Decoded decode(QByteArrayView bytes);

} // namespace handoff
