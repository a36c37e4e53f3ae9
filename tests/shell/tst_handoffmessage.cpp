// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/handoffmessage.h"

#include <QTest>
#include <QtEndian>

using handoff::Decoded;
using handoff::Message;

namespace {

QByteArray header(quint8 version, quint32 bodyLength)
{
    QByteArray bytes("TVHO");
    bytes.append(char(version));
    char length[4];
    qToBigEndian(bodyLength, length);
    bytes.append(length, 4);
    return bytes;
}

QByteArray u32(quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    return QByteArray(bytes, 4);
}

// A message put together by hand, so that the decoder is checked against
// the layout rather than against the encoder.
QByteArray handMade(const QByteArray &marker, const QByteArray &addressee)
{
    const QByteArray body = QByteArray(u32(quint32(marker.size())) + marker +
                                       u32(quint32(addressee.size())) + addressee);
    return QByteArray(header(1, quint32(body.size())) + body);
}

} // namespace

class TestHandOffMessage : public QObject
{
    Q_OBJECT
private slots:
    void handOffText_data();
    void handOffText();

    void roundTrip_data();
    void roundTrip();
    void decodesTheDocumentedLayout();
    void everyPrefixNeedsMore();
    void consumedStopsAtTheMessageEnd();
    void encodeRefusesTextsOverTheLimit();

    void decodeRejects_data();
    void decodeRejects();
};

void TestHandOffMessage::handOffText_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");

    QTest::newRow("three lines") << u"a;;b;;c"_qs << u"a\r\nb\r\nc"_qs;
    QTest::newRow("three semicolons: break then one") << u";;;"_qs << u"\r\n;"_qs;
    QTest::newRow("four semicolons: two breaks") << u";;;;"_qs << u"\r\n\r\n"_qs;
    QTest::newRow("five semicolons") << u"x;;;;;y"_qs << u"x\r\n\r\n;y"_qs;
    QTest::newRow("single semicolon stays") << u"a;b"_qs << u"a;b"_qs;
    QTest::newRow("break at the end") << u"様;;"_qs << u"様\r\n"_qs;
    QTest::newRow("full-width spaces kept")
        << u"山田\u3000太郎;;\u3000様"_qs << u"山田\u3000太郎\r\n\u3000様"_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestHandOffMessage::handOffText()
{
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QCOMPARE(handoff::handOffText(argument), expected);
}

void TestHandOffMessage::roundTrip_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("addressee");

    QTest::newRow("both empty") << QString() << QString();
    QTest::newRow("marker and empty addressee") << u"01"_qs << QString();
    QTest::newRow("address block")
        << u"01"_qs << u"株式会社　山田商事\r\n営業部\r\n山田\u3000太郎　様"_qs;
    QTest::newRow("leading byte order mark kept") << u"01"_qs << u"\uFEFFabc"_qs;
    QTest::newRow("embedded NUL") << u"01"_qs << QString(u"a\0b"_qs.data(), 3);
    QTest::newRow("outside the BMP") << u"01"_qs << u"\U0001F600 𠮷野家"_qs;
    // 9 header + 8 lengths + 2 marker bytes: exactly the limit.
    QTest::newRow("largest that fits")
        << u"01"_qs << QString(handoff::kMaxMessageBytes - handoff::kHeaderBytes - 8 - 2, u'x');
}

void TestHandOffMessage::roundTrip()
{
    QFETCH(QString, marker);
    QFETCH(QString, addressee);

    const auto bytes = handoff::encode({marker, addressee});
    QVERIFY(bytes);
    const Decoded decoded = handoff::decode(*bytes);
    QCOMPARE(decoded.status, Decoded::Complete);
    QCOMPARE(decoded.consumed, bytes->size());
    QCOMPARE(decoded.message.marker, marker);
    QCOMPARE(decoded.message.addressee, addressee);
}

void TestHandOffMessage::decodesTheDocumentedLayout()
{
    const QByteArray bytes = handMade("01", QString(u"宛名\r\n様"_qs).toUtf8());
    const Decoded decoded = handoff::decode(bytes);
    QCOMPARE(decoded.status, Decoded::Complete);
    QCOMPARE(decoded.message, (Message{u"01"_qs, u"宛名\r\n様"_qs}));
    QCOMPARE(*handoff::encode(decoded.message), bytes);
}

void TestHandOffMessage::everyPrefixNeedsMore()
{
    const QByteArray bytes = *handoff::encode({u"01"_qs, u"山田;様"_qs});
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        const Decoded decoded = handoff::decode(QByteArrayView(bytes).first(n));
        QVERIFY2(decoded.status == Decoded::NeedMore, QByteArray::number(n).constData());
    }
}

void TestHandOffMessage::consumedStopsAtTheMessageEnd()
{
    const QByteArray bytes = *handoff::encode({u"01"_qs, u"a"_qs});
    const Decoded decoded = handoff::decode(QByteArray(bytes + "trailing"));
    QCOMPARE(decoded.status, Decoded::Complete);
    QCOMPARE(decoded.consumed, bytes.size());
}

void TestHandOffMessage::encodeRefusesTextsOverTheLimit()
{
    const QString tooLong(handoff::kMaxMessageBytes - handoff::kHeaderBytes - 8 - 2 + 1, u'x');
    QVERIFY(!handoff::encode({u"01"_qs, tooLong}));
    // Three UTF-8 bytes per character count, not characters.
    QVERIFY(!handoff::encode({u"01"_qs, QString(handoff::kMaxMessageBytes / 2, u'山')}));
}

void TestHandOffMessage::decodeRejects_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("garbage first byte") << QByteArray("G");
    QTest::newRow("HTTP request") << QByteArray("GET / HTTP/1.0\r\n\r\n");
    QTest::newRow("magic wrong in third byte") << QByteArray("TVX");
    QTest::newRow("unknown version") << header(2, 0);
    QTest::newRow("version 0 before the length") << QByteArray("TVHO\0", 5);
    // Refused from the header alone, before any of the body arrives.
    QTest::newRow("announced length over the limit")
        << header(1, quint32(handoff::kMaxMessageBytes));
    QTest::newRow("announced length 4 GiB") << header(1, 0xFFFFFFFFu);
    QTest::newRow("empty body") << header(1, 0);
    QTest::newRow("marker longer than the body") << QByteArray(header(1, 6) + u32(100) + "01");
    QTest::newRow("addressee length missing") << QByteArray(header(1, 6) + u32(2) + "01");
    QTest::newRow("addressee longer than the body")
        << QByteArray(header(1, 11) + u32(2) + "01" + u32(4) + "abc");
    QTest::newRow("body longer than its texts")
        << QByteArray(header(1, 14) + u32(2) + "01" + u32(3) + "abc" + "z");
    QTest::newRow("addressee not UTF-8 (Shift-JIS)") << handMade("01", "\x8e\x52\x93\x63");
    QTest::newRow("overlong UTF-8") << handMade("01", "\xc0\xaf");
    QTest::newRow("UTF-8 encoded surrogate") << handMade("01", "\xed\xa0\x80");
    QTest::newRow("truncated UTF-8 sequence") << handMade("01", "\xe5\xb1");
    QTest::newRow("marker not UTF-8") << handMade("\xff", "abc");
}

void TestHandOffMessage::decodeRejects()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(handoff::decode(bytes).status, Decoded::Invalid);
}

QTEST_APPLESS_MAIN(TestHandOffMessage)
#include "tst_handoffmessage.moc"
