// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/faxservice.h"

#include "letter/settingsfile.h"
#include "platform/atomicfile.h"
#include "print/cupsjob.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <map>

namespace fax {

namespace {

constexpr int kServerTimeoutMs = 60000;

QString defaultHost()
{
    const QString fromEnvironment = qEnvironmentVariable("FAXSERVER");
    return fromEnvironment.isEmpty() ? QStringLiteral("localhost") : fromEnvironment;
}

// A HylaFAX client tool's run: its output, or why it failed.
Result<QString> runClient(const QString &program, const QStringList &arguments,
                          const QString &home = QString())
{
    QProcess process;
    if (!home.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    if (!process.waitForStarted())
        return fail(
            QStringLiteral("%1 を起動できません (hylafax-client をインストールしてください)")
                .arg(program));
    process.closeWriteChannel();
    if (!process.waitForFinished(kServerTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return fail(QStringLiteral("FAXサーバーが応答しません"));
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    // faxstat says it cannot reach the server and still exits 0.
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        err.contains(QStringLiteral("Can not reach")))
        return fail(
            QStringLiteral("FAXサーバーに送れません: %1").arg(err.isEmpty() ? out.trimmed() : err));
    return out;
}

Result<Job> sendThroughHylaFax(const QString &host, const QByteArray &pdf, const QString &number,
                               const QString &recipient)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter.pdf"));
    if (!dir.isValid() || !atomicfile::write(path, pdf))
        return fail(QStringLiteral("FAXの文書を用意できません"));
    // No cover page of the server's: the letter is the cover.
    QString name = recipient;
    name.remove(u'@');
    const Result<QString> answer =
        runClient(QStringLiteral("sendfax"),
                  {QStringLiteral("-n"), QStringLiteral("-h"), host, QStringLiteral("-d"),
                   name.isEmpty() ? number : name + u'@' + number, path});
    if (!answer)
        return answer.failure();
    static const QRegularExpression requestId(QStringLiteral("request id is (\\d+)"));
    const QRegularExpressionMatch match = requestId.match(*answer);
    if (!match.hasMatch())
        return fail(QStringLiteral("FAXサーバーの答えが読めません: %1").arg(answer->trimmed()));
    return Job{match.captured(1), QStringLiteral("hylafax://%1/%2").arg(host, match.captured(1))};
}

QString stateWord(QChar state)
{
    switch (state.unicode()) {
    case 'R':
        return QStringLiteral("送信中");
    case 'D':
        return QStringLiteral("完了");
    case 'F':
        return QStringLiteral("失敗");
    default: // pending, sleeping, blocked, waiting
        return QStringLiteral("待機中");
    }
}

// Every job the HylaFAX server at `host` knows, sent or waiting: id to state.
Result<QHash<QString, QString>> hylaFaxStates(const QString &host)
{
    // faxstat's job lines in a form of our own, through its per-user file.
    QTemporaryDir home;
    QFile rc(home.filePath(QStringLiteral(".hylarc")));
    if (!home.isValid() || !rc.open(QIODevice::WriteOnly) || rc.write("JobFmt: \"%j|%a\"\n") < 0)
        return fail(QStringLiteral("FAXサーバーに問い合わせられません"));
    rc.close();
    const Result<QString> listed = runClient(
        QStringLiteral("faxstat"),
        {QStringLiteral("-s"), QStringLiteral("-d"), QStringLiteral("-h"), host}, home.path());
    if (!listed)
        return listed.failure();
    QHash<QString, QString> states;
    static const QRegularExpression line(QStringLiteral("^(\\d+)\\|([A-Z])"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(*listed); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        states.insert(m.captured(1), stateWord(m.captured(2).at(0)));
    }
    return states;
}

} // namespace

QString Service::description() const
{
    if (kind == Kind::CupsQueue)
        return QStringLiteral("CUPS (%1)").arg(queue);
    return QStringLiteral("HylaFAX (%1)").arg(host.isEmpty() ? defaultHost() : host);
}

QString settingsPath(const QString &programDir)
{
    return programDir + settingsfile::kInitDirName.toString() + QStringLiteral("/fax.ini");
}

Result<Service> configured(const QString &programDir)
{
    QFile file(settingsPath(programDir));
    if (!file.exists())
        return Service{};
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 を読めません: %2").arg(file.fileName(), file.errorString()));
    Service service;
    for (const QByteArray &raw : file.read(64 * 1024).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Service")) {
            if (value == QLatin1String("hylafax"))
                service.kind = Kind::HylaFax;
            else if (value == QLatin1String("cups"))
                service.kind = Kind::CupsQueue;
            else
                return fail(
                    QStringLiteral("%1: 知らないFAXサービスです: %2").arg(file.fileName(), value));
        } else if (key == QLatin1String("Host")) {
            service.host = value;
        } else if (key == QLatin1String("Queue")) {
            service.queue = value;
        }
    }
    if (service.kind == Kind::CupsQueue && service.queue.isEmpty())
        return fail(QStringLiteral("%1: FAXのキューがありません").arg(file.fileName()));
    return service;
}

Result<void> save(const QString &programDir, const Service &service)
{
    QByteArray bytes = "[fax]\n";
    bytes += service.kind == Kind::CupsQueue ? "Service=cups\n" : "Service=hylafax\n";
    if (!service.host.isEmpty())
        bytes += "Host=" + service.host.toUtf8() + '\n';
    if (!service.queue.isEmpty())
        bytes += "Queue=" + service.queue.toUtf8() + '\n';
    return atomicfile::write(settingsPath(programDir), bytes);
}

Result<QString> dialledNumber(const QString &text)
{
    QString digits;
    const QString trimmed = text.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c >= u'0' && c <= u'9') {
            digits += c;
        } else if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) {
            // Full-width digits, as a Japanese input method types them.
            digits += QChar(u'0' + (c.unicode() - 0xFF10));
        } else if (c == u'+' && digits.isEmpty() && i == 0) {
            digits += QStringLiteral("00");
        } else if (c != u' ' && c != u'-' && c != u'(' && c != u')' && c != QChar(0x3000) &&
                   c != QChar(0xFF0D) && c != QChar(0x30FC) && c != QChar(0xFF08) &&
                   c != QChar(0xFF09)) {
            return fail(QStringLiteral("FAX番号に使えない文字があります: %1").arg(text));
        }
    }
    if (digits.isEmpty() || digits == QLatin1String("00"))
        return fail(text.trimmed().isEmpty()
                        ? QStringLiteral("FAX番号がありません")
                        : QStringLiteral("FAX番号に数字がありません: %1").arg(text));
    if (digits.size() > 32)
        return fail(QStringLiteral("FAX番号が長すぎます: %1").arg(text));
    return digits;
}

Result<Job> send(const Service &service, const QByteArray &pdf, const QString &number,
                 const QString &recipient, const QString &title)
{
    if (service.kind == Kind::HylaFax)
        return sendThroughHylaFax(service.host.isEmpty() ? defaultHost() : service.host, pdf,
                                  number, recipient);
    const Result<int> id =
        cupsjob::submit(service.queue, pdf, title, {{QStringLiteral("phone"), number}});
    if (!id)
        return id.failure();
    const QString jobId = QString::number(*id);
    return Job{jobId, QStringLiteral("cups://%1/%2").arg(service.queue, jobId)};
}

QHash<QString, QString> statesOf(const QStringList &references)
{
    QHash<QString, QString> states;
    std::map<QString, Result<QHash<QString, QString>>> servers; // one question a server
    for (const QString &reference : references) {
        const QUrl url(reference);
        const QString id = url.path().mid(1);
        if (url.scheme() == QLatin1String("cups")) {
            const QString state = cupsjob::stateOf(url.host(), id.toInt());
            if (!state.isEmpty())
                states.insert(reference, state);
            continue;
        }
        if (url.scheme() != QLatin1String("hylafax"))
            continue;
        const QString host =
            url.port() > 0 ? url.host() + u':' + QString::number(url.port()) : url.host();
        auto asked = servers.find(host);
        if (asked == servers.end())
            asked = servers.emplace(host, hylaFaxStates(host)).first;
        const Result<QHash<QString, QString>> &known = asked->second;
        if (!known)
            states.insert(reference, known.error());
        else if (known->contains(id))
            states.insert(reference, known->value(id));
    }
    return states;
}

} // namespace fax
