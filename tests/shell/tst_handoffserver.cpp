// SPDX-License-Identifier: GPL-3.0-or-later
#include "../testrig.h"
#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/handoffserver.h"
#include "shell/singleinstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// What a hand-made client saw of the server.
struct RawOutcome
{
    bool connected = false;
    bool closedByServer = false; // the server ended the connection
    QByteArray received;
    qint64 elapsedMs = 0; // from connect to the close
};

// A client that does not follow the rules: connects, sends `bytes` as they
// are, then waits up to `waitMs` for the server to end the connection.
RawOutcome rawClient(const QString &socketPath, const QByteArray &bytes, int waitMs,
                     std::atomic<bool> *connected = nullptr)
{
    RawOutcome outcome;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return outcome;
    }
    outcome.connected = true;
    if (connected)
        *connected = true;
    QElapsedTimer timer;
    timer.start();
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server hung up on us, as it should for excess
        sent += n;
    }
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int left = waitMs - int(timer.elapsed());
        if (left <= 0 || ::poll(&p, 1, left) <= 0)
            break;
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            outcome.received.append(buffer, n);
            continue;
        }
        outcome.closedByServer = true; // EOF or reset
        break;
    }
    outcome.elapsedMs = timer.elapsed();
    ::close(fd);
    return outcome;
}

QByteArray header(quint32 bodyLength)
{
    char length[4];
    qToBigEndian(bodyLength, length);
    return QByteArray(QByteArray("TVHO\x01", 5) + QByteArray(length, 4));
}

bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T> bool isReady(const std::future<T> &future)
{
    return future.wait_for(0s) == std::future_status::ready;
}

struct Delivery
{
    int exitCode = -1;
    int appliedBeforeReturn = -1; // receiver calls seen when the client returned
};

} // namespace

class TestHandOffServer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // delivery
    void deliveryAppliesOnceAndAcks_data();
    void deliveryAppliesOnceAndAcks();
    void consecutiveHandOffsApplyInOrder();
    void clientRetriesUntilServerListens();
    void clientWithoutServerFails_data();
    void clientWithoutServerFails();
    void secondStartWithoutAnswerExitsOneAfterFiveSeconds();
    void answeredWhileOwnerIsNotFree_data();
    void answeredWhileOwnerIsNotFree();
    void senderThatGaveUpIsNeverApplied_data();
    void senderThatGaveUpIsNeverApplied();

    // misbehaving clients
    void misbehavingClientIsDropped_data();
    void misbehavingClientIsDropped();
    void silentClientDoesNotBlockOthers();
    void staleSocketIsReplaced();

    // the lock
    void lockIsHeldAgainstOtherProcesses();
    void lockOfKilledInstanceIsFree();
    void lockWithoutDirectoryMakesAFirstStart();
    void runtimeDirectory_data();
    void runtimeDirectory();
    void fallbackOfAnotherUserIsRefused();

private:
    std::unique_ptr<HandOffServer> makeServer(int clientTimeoutMs = 2000);
    QProcessEnvironment childEnvironment() const;
    std::future<Delivery> deliverAsync(const QString &addressee,
                                       std::chrono::milliseconds window = 3s);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_socketPath;
    std::atomic<int> m_applied{0};
    QList<handoff::Message> m_received;
};

void TestHandOffServer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_socketPath = m_dir->filePath(u"_qelvo.socket"_qs);
    m_applied = 0;
    m_received.clear();
}

void TestHandOffServer::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<HandOffServer> TestHandOffServer::makeServer(int clientTimeoutMs)
{
    auto server =
        std::make_unique<HandOffServer>([this](const QString &marker, const QString &addressee) {
            m_received.append({marker, addressee});
            ++m_applied;
        });
    server->setClientTimeout(clientTimeoutMs);
    if (const Result<void> listening = server->listen(m_socketPath); !listening)
        qWarning() << "listen failed:" << listening.error();
    return server;
}

QProcessEnvironment TestHandOffServer::childEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_RUNTIME_DIR"_qs, m_dir->path());
    return env;
}

std::future<Delivery> TestHandOffServer::deliverAsync(const QString &addressee,
                                                      std::chrono::milliseconds window)
{
    return std::async(std::launch::async, [this, addressee, window] {
        Delivery d;
        d.exitCode = handoffclient::deliver(m_socketPath, handoff::marker(), addressee, window);
        d.appliedBeforeReturn = m_applied;
        return d;
    });
}

void TestHandOffServer::deliveryAppliesOnceAndAcks_data()
{
    QTest::addColumn<QString>("addressee");

    QTest::newRow("address block") << u"株式会社　山田商事\r\n山田\u3000太郎　様"_qs;
    QTest::newRow("empty text") << QString();
    QTest::newRow("near the size limit, many reads")
        << QString((handoff::kMaxMessageBytes - 100) / 3, u'宛');
}

void TestHandOffServer::deliveryAppliesOnceAndAcks()
{
    QFETCH(QString, addressee);
    const auto server = makeServer();

    auto delivery = deliverAsync(addressee);
    QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
    const Delivery d = delivery.get();
    QCOMPARE(d.exitCode, 0);
    // Applied on this thread's next turn, once and only once: texts are
    // applied in the order they came, so a second application of this one
    // would come before the next start's.
    QTRY_COMPARE(m_received.size(), 1);
    auto next = deliverAsync(u"next"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(isReady(next), 5000);
    QTRY_COMPARE(m_received.size(), 2);
    QCOMPARE(m_received[0].marker, u"01"_qs);
    QCOMPARE(m_received[0].addressee, addressee);
    QCOMPARE(m_received[1].addressee, u"next"_qs);
}

void TestHandOffServer::consecutiveHandOffsApplyInOrder()
{
    const auto server = makeServer();
    for (const QString &text : {u"first"_qs, u"second"_qs}) {
        auto delivery = deliverAsync(text);
        QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
        QCOMPARE(delivery.get().exitCode, 0);
    }
    QTRY_COMPARE(m_received.size(), 2);
    QCOMPARE(m_received[0].addressee, u"first"_qs);
    QCOMPARE(m_received[1].addressee, u"second"_qs);
}

void TestHandOffServer::clientRetriesUntilServerListens()
{
    // The running instance is still building its window.
    // Given 3 s, the start keeps trying: after 400 ms (several of its
    // tries) it has neither given up nor delivered.
    auto delivery = deliverAsync(u"late"_qs, 3s);
    QTest::qWait(400);
    QVERIFY(!isReady(delivery));
    const auto server = makeServer();
    QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
    QCOMPARE(delivery.get().exitCode, 0);
    QTRY_COMPARE(m_received.size(), 1);
}

void TestHandOffServer::clientWithoutServerFails_data()
{
    QTest::addColumn<bool>("staleSocketFile");
    QTest::newRow("no socket file") << false;
    QTest::newRow("socket file of a dead instance") << true;
}

void TestHandOffServer::clientWithoutServerFails()
{
    QFETCH(bool, staleSocketFile);
    if (staleSocketFile) {
        // A socket file with nobody listening, as a crash leaves it.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(m_socketPath);
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFile::exists(m_socketPath));
    }
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(handoffclient::deliver(m_socketPath, handoff::marker(), u"lost"_qs, 300ms), 1);
    QVERIFY2(timer.elapsed() >= 300, QByteArray::number(timer.elapsed()).constData());
    QVERIFY2(timer.elapsed() < 2000, QByteArray::number(timer.elapsed()).constData());
}

void TestHandOffServer::secondStartWithoutAnswerExitsOneAfterFiveSeconds()
{
    // An instance holds the lock but never answers (closing, or stuck).
    SingleInstanceLock lock(m_dir->path());
    QVERIFY(lock.acquire());
    QVERIFY(lock.isHeld());

    QProcess sender;
    sender.setProcessEnvironment(childEnvironment());
    QElapsedTimer timer;
    timer.start();
    sender.start(QStringLiteral(HANDOFF_SENDER), {u"a;;b"_qs});
    QVERIFY(sender.waitForFinished(15000));
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(sender.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sender.exitCode(), 1);
    QVERIFY2(elapsed >= 5000 && elapsed < 8000, QByteArray::number(elapsed).constData());
    QCOMPARE(sender.readAllStandardOutput(), QByteArray());
    QCOMPARE(sender.readAllStandardError(), QByteArray());
}

void TestHandOffServer::answeredWhileOwnerIsNotFree_data()
{
    QTest::addColumn<bool>("threadBlocked"); // else a modal box stands in the way
    QTest::newRow("window busy reading a long file") << true;
    QTest::newRow("window showing a modal box") << false;
}

void TestHandOffServer::answeredWhileOwnerIsNotFree()
{
    QFETCH(bool, threadBlocked);
    const auto server = makeServer();
    std::atomic<bool> free = threadBlocked;
    std::atomic<int> asked = 0;
    server->setReadyCheck([&free, &asked] {
        ++asked;
        return free.load();
    });

    // Each second start is answered and exits 0, in the order sent, while
    // the owner cannot take its text.
    for (const QString &text : {u"first"_qs, u"second"_qs, u"third"_qs}) {
        auto delivery = std::async(std::launch::async, [this, text] {
            return handoffclient::deliver(m_socketPath, handoff::marker(), text, 5000ms);
        });
        if (threadBlocked) {
            // The owner's thread does not turn its event loop at all.
            QVERIFY(delivery.wait_for(4s) == std::future_status::ready);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
        }
        QCOMPARE(delivery.get(), 0);
    }
    QCOMPARE(m_received.size(), 0);

    if (!threadBlocked) {
        // Held while the box is up: the server has asked again since (its
        // retry), and still applied nothing.
        const int before = asked.load();
        QTRY_VERIFY_WITH_TIMEOUT(asked.load() >= before + 2, 5000);
        QCOMPARE(m_received.size(), 0);
    }
    free = true;
    QTRY_COMPARE(m_received.size(), 3);
    QCOMPARE(m_received[0].addressee, u"first"_qs);
    QCOMPARE(m_received[2].addressee, u"third"_qs);
    QCOMPARE(server->pendingCount(), 0);
}

void TestHandOffServer::senderThatGaveUpIsNeverApplied_data()
{
    QTest::addColumn<int>("giveUps"); // second starts that time out while stopped
    QTest::newRow("one sender gave up") << 1;
    QTest::newRow("three senders gave up") << 3;
}

void TestHandOffServer::senderThatGaveUpIsNeverApplied()
{
    QFETCH(int, giveUps);
    const QString output = m_dir->filePath(u"out.txt"_qs);
    QProcess receiver;
    receiver.setProcessEnvironment(childEnvironment());
    receiver.start(QStringLiteral(HANDOFF_RECEIVER), {output});
    QVERIFY(receiver.waitForReadyRead(5000));
    const pid_t pid = pid_t(receiver.processId());

    // The instance is stopped: its socket still takes connections and
    // bytes, but nobody answers them.
    QCOMPARE(::kill(pid, SIGSTOP), 0);
    for (int i = 0; i < giveUps; ++i) {
        QProcess sender;
        sender.setProcessEnvironment(childEnvironment());
        sender.start(QStringLiteral(HANDOFF_SENDER), {u"gave up %1"_qs.arg(i), u"600"_qs});
        QVERIFY(sender.waitForFinished(5000));
        QCOMPARE(sender.exitCode(), 1);
    }
    QCOMPARE(::kill(pid, SIGCONT), 0);

    // The instance works on, and a caller that retries delivers once. The
    // receiver writes how many texts it applied: one, so none of the
    // senders that gave up was applied before it (texts apply in order).
    QProcess sender;
    sender.setProcessEnvironment(childEnvironment());
    sender.start(QStringLiteral(HANDOFF_SENDER), {u"retried"_qs});
    QVERIFY(sender.waitForFinished(5000));
    QCOMPARE(sender.exitCode(), 0);
    QTRY_COMPARE(QString::fromUtf8(readFile(output)), u"1\n01\nretried"_qs);

    receiver.kill();
    QVERIFY(receiver.waitForFinished(5000));
}

void TestHandOffServer::misbehavingClientIsDropped_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("droppedAtOnce"); // else only by the time-out

    const QByteArray valid = *handoff::encode({u"01"_qs, u"abc"_qs});
    QTest::newRow("silent") << QByteArray() << false;
    QTest::newRow("half a message") << valid.first(valid.size() / 2) << false;
    QTest::newRow("header only") << header(100) << false;
    QTest::newRow("garbage") << QByteArray("GET / HTTP/1.0\r\n\r\n") << true;
    QTest::newRow("announces more than 1 MiB")
        << header(quint32(handoff::kMaxMessageBytes)) << true;
    // A legal announcement followed by more bytes than any message may hold.
    QTest::newRow("sends more than 1 MiB")
        << QByteArray(header(quint32(handoff::kMaxMessageBytes - handoff::kHeaderBytes)) +
                      QByteArray(handoff::kMaxMessageBytes + 4096, 'x'))
        << true;
    QTest::newRow("addressee not UTF-8") << QByteArray(header(13) + QByteArray("\0\0\0\x02"
                                                                               "01"
                                                                               "\0\0\0\x03"
                                                                               "\x8e\x52\x93",
                                                                               13))
                                         << true;
}

void TestHandOffServer::misbehavingClientIsDropped()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, droppedAtOnce);
    const int timeoutMs = 1000;
    const auto server = makeServer(timeoutMs);

    auto client = std::async(std::launch::async,
                             [this, bytes] { return rawClient(m_socketPath, bytes, 5000); });
    QTRY_VERIFY_WITH_TIMEOUT(isReady(client), 8000);
    const RawOutcome outcome = client.get();
    QVERIFY(outcome.connected);
    QVERIFY(outcome.closedByServer);
    QCOMPARE(outcome.received, QByteArray()); // no acknowledgement
    if (droppedAtOnce)
        QVERIFY2(outcome.elapsedMs < timeoutMs, QByteArray::number(outcome.elapsedMs).constData());
    else // held until the (coarse, up to 5 % early) time-out
        QVERIFY2(outcome.elapsedMs >= timeoutMs * 9 / 10,
                 QByteArray::number(outcome.elapsedMs).constData());
    QCOMPARE(m_applied.load(), 0);

    // The instance still answers the next, well-behaved start.
    auto delivery = deliverAsync(u"next"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
    QCOMPARE(delivery.get().exitCode, 0);
    QTRY_COMPARE(m_received.size(), 1);
    QCOMPARE(m_received[0].addressee, u"next"_qs);
}

void TestHandOffServer::silentClientDoesNotBlockOthers()
{
    const auto server = makeServer(3000);
    std::atomic<bool> silentConnected = false;
    auto silent = std::async(std::launch::async, [this, &silentConnected] {
        return rawClient(m_socketPath, {}, 6000, &silentConnected);
    });
    QTRY_VERIFY(silentConnected.load()); // first in the server's queue

    QElapsedTimer timer;
    timer.start();
    auto delivery = deliverAsync(u"meanwhile"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
    QCOMPARE(delivery.get().exitCode, 0);
    // Well before the silent client's 3 s, which would have held it.
    QVERIFY2(timer.elapsed() < 2000, QByteArray::number(timer.elapsed()).constData());
    QVERIFY(!isReady(silent)); // still connected, still waiting

    QTRY_VERIFY_WITH_TIMEOUT(isReady(silent), 8000);
    QVERIFY(silent.get().closedByServer);
    QTRY_COMPARE(m_applied.load(), 1);
}

void TestHandOffServer::staleSocketIsReplaced()
{
    // The receiver of a crashed instance leaves its socket file behind.
    QProcess receiver;
    receiver.setProcessEnvironment(childEnvironment());
    receiver.start(QStringLiteral(HANDOFF_RECEIVER), {m_dir->filePath(u"out.txt"_qs)});
    QVERIFY(receiver.waitForReadyRead(5000));
    QCOMPARE(receiver.readAllStandardOutput(), QByteArray("ready\n"));
    ::kill(pid_t(receiver.processId()), SIGKILL);
    QVERIFY(receiver.waitForFinished(5000));
    QVERIFY(QFile::exists(m_socketPath));

    const auto server = makeServer();
    auto delivery = deliverAsync(u"after the crash"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(isReady(delivery), 5000);
    QCOMPARE(delivery.get().exitCode, 0);
    QTRY_COMPARE(m_received.size(), 1);

    // Only its owner may connect.
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(m_socketPath).constData(), &st), 0);
    QCOMPARE(st.st_mode & 077, 0u);
}

void TestHandOffServer::lockIsHeldAgainstOtherProcesses()
{
    {
        SingleInstanceLock lock(m_dir->path());
        QVERIFY(lock.acquire());
        QVERIFY(lock.isHeld());
        // Another start sees it taken: it hands off (and, unanswered, fails)
        // instead of becoming a first start.
        QProcess sender;
        sender.setProcessEnvironment(childEnvironment());
        sender.start(QStringLiteral(HANDOFF_SENDER), {u"x"_qs, u"0"_qs});
        QVERIFY(sender.waitForFinished(5000));
        QCOMPARE(sender.exitCode(), 1);
        // So does a second lock object in this process.
        SingleInstanceLock again(m_dir->path());
        QVERIFY(!again.acquire());
        QVERIFY(!again.isHeld());
    }
    // Released with its owner: the next start is a first start.
    QProcess sender;
    sender.setProcessEnvironment(childEnvironment());
    sender.start(QStringLiteral(HANDOFF_SENDER), {u"x"_qs, u"0"_qs});
    QVERIFY(sender.waitForFinished(5000));
    QCOMPARE(sender.exitCode(), 2);
}

void TestHandOffServer::lockOfKilledInstanceIsFree()
{
    const QString output = m_dir->filePath(u"out.txt"_qs);
    QProcess receiver;
    receiver.setProcessEnvironment(childEnvironment());
    receiver.start(QStringLiteral(HANDOFF_RECEIVER), {output});
    QVERIFY(receiver.waitForReadyRead(5000));

    SingleInstanceLock lock(m_dir->path());
    QVERIFY(!lock.acquire());

    // A real second start across processes, while the holder runs.
    QProcess sender;
    sender.setProcessEnvironment(childEnvironment());
    sender.start(QStringLiteral(HANDOFF_SENDER), {u"山田\u3000太郎;;;様"_qs});
    QVERIFY(sender.waitForFinished(5000));
    QCOMPARE(sender.exitCode(), 0);
    QTRY_COMPARE(QString::fromUtf8(readFile(output)), u"1\n01\n山田\u3000太郎\r\n;様"_qs);

    ::kill(pid_t(receiver.processId()), SIGKILL);
    QVERIFY(receiver.waitForFinished(5000));
    QCOMPARE(receiver.exitStatus(), QProcess::CrashExit);
    QVERIFY(lock.acquire());
    QVERIFY(lock.isHeld());
}

void TestHandOffServer::lockWithoutDirectoryMakesAFirstStart()
{
    SingleInstanceLock lock{QString()};
    QVERIFY(lock.acquire());
    QVERIFY(!lock.isHeld());
    QCOMPARE(lock.socketPath(), QString());
}

void TestHandOffServer::runtimeDirectory_data()
{
    QTest::addColumn<QString>("xdg");      // relative to the test dir; "-" unset, "=" as is
    QTest::addColumn<int>("xdgMode");      // -1: do not create
    QTest::addColumn<QString>("fallback"); // "create", "open", "symlink", "none"
    QTest::addColumn<QString>("expected"); // "xdg", "fallback", "empty"

    QTest::newRow("private XDG dir") << u"xdg"_qs << 0700 << u"none"_qs << u"xdg"_qs;
    QTest::newRow("XDG unset: fallback created") << u"-"_qs << -1 << u"none"_qs << u"fallback"_qs;
    QTest::newRow("XDG open to others") << u"xdg"_qs << 0755 << u"none"_qs << u"fallback"_qs;
    QTest::newRow("XDG missing") << u"xdg"_qs << -1 << u"none"_qs << u"fallback"_qs;
    QTest::newRow("XDG relative") << u"=run/user/0"_qs << -1 << u"none"_qs << u"fallback"_qs;
    QTest::newRow("XDG too long for a socket")
        << QString(100, u'x') << 0700 << u"none"_qs << u"fallback"_qs;
    QTest::newRow("fallback reused") << u"-"_qs << -1 << u"create"_qs << u"fallback"_qs;
    QTest::newRow("fallback open to others refused") << u"-"_qs << -1 << u"open"_qs << u"empty"_qs;
    QTest::newRow("fallback symlink refused") << u"-"_qs << -1 << u"symlink"_qs << u"empty"_qs;
    QTest::newRow("fallback squatted by a plain file")
        << u"-"_qs << -1 << u"file"_qs << u"empty"_qs;
    QTest::newRow("home writable by others refused")
        << u"-"_qs << -1 << u"open home"_qs << u"empty"_qs;
}

void TestHandOffServer::runtimeDirectory()
{
    QFETCH(QString, xdg);
    QFETCH(int, xdgMode);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);

    const QByteArray base = QFile::encodeName(m_dir->path());
    QByteArray xdgValue;
    if (xdg.startsWith(u'='))
        xdgValue = xdg.mid(1).toUtf8();
    else if (xdg != u"-")
        xdgValue = base + '/' + xdg.toUtf8();
    if (xdgMode >= 0) {
        QCOMPARE(::mkdir(xdgValue.constData(), 0700), 0);
        QCOMPARE(::chmod(xdgValue.constData(), mode_t(xdgMode)), 0);
    }

    const QByteArray fallbackPath = base + "/.tavrint";
    if (fallback == u"file") {
        QVERIFY(writeFileBytes(QFile::decodeName(fallbackPath), "squatter"));
    } else if (fallback == u"open home") {
        QCOMPARE(::chmod(base.constData(), 0777), 0);
    } else if (fallback == u"create" || fallback == u"open") {
        QCOMPARE(::mkdir(fallbackPath.constData(), 0700), 0);
        if (fallback == u"open")
            QCOMPARE(::chmod(fallbackPath.constData(), 0777), 0);
    } else if (fallback == u"symlink") {
        const QByteArray elsewhere = base + "/elsewhere";
        QCOMPARE(::mkdir(elsewhere.constData(), 0700), 0);
        QCOMPARE(::symlink(elsewhere.constData(), fallbackPath.constData()), 0);
    }

    const QString result =
        SingleInstanceLock::runtimeDirectory(xdg == u"-" ? nullptr : xdgValue.constData(), base);
    if (expected == u"xdg") {
        QCOMPARE(result, QFile::decodeName(xdgValue));
    } else if (expected == u"fallback") {
        QCOMPARE(result, QFile::decodeName(fallbackPath));
        struct stat st;
        QCOMPARE(::lstat(fallbackPath.constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 0777, 0700u);
    } else {
        QCOMPARE(result, QString());
    }
}

void TestHandOffServer::fallbackOfAnotherUserIsRefused()
{
    if (geteuid() != 0)
        SKIP_MISSING_RIG("needs root to give a directory to another user");
    const QByteArray base = QFile::encodeName(m_dir->path());
    const QByteArray fallbackPath = base + "/.tavrint";
    QCOMPARE(::mkdir(fallbackPath.constData(), 0700), 0);
    QCOMPARE(::chown(fallbackPath.constData(), 65534, 65534), 0);
    QCOMPARE(SingleInstanceLock::runtimeDirectory(nullptr, base), QString());
}

QTEST_GUILESS_MAIN(TestHandOffServer)
#include "tst_handoffserver.moc"
