// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/sendlog.h"

#include <QDir>
#include <QFile>

#include <optional>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sendlog {

namespace {

QString quoted(const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    QString escaped = field;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

ErrorText notWritten(const QString &path, int error)
{
    return fail(QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path)) +
                QStringLiteral("\n") + qt_error_string(error));
}

} // namespace

QString headerRow()
{
    return QStringLiteral("日時,方法,宛先,標題,出力先\r\n");
}

QString methodName(Method method)
{
    switch (method) {
    case Method::Print:
        return QStringLiteral("印刷");
    case Method::Pdf:
        return QStringLiteral("PDF");
    case Method::Fax:
        return QStringLiteral("FAX");
    }
    return QString();
}

QString row(const Entry &entry)
{
    const QStringList fields = {entry.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                methodName(entry.method), quoted(entry.addressee),
                                quoted(entry.title), quoted(entry.destination)};
    return fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString firstLine(const QString &text)
{
    qsizetype end = text.indexOf(QLatin1Char('\r'));
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    if (end < 0 || (lf >= 0 && lf < end))
        end = lf;
    return (end < 0 ? text : text.left(end)).trimmed();
}

Result<void> append(const QString &programDir, const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return {};
    const QString path = programDir + QString::fromUtf8(kFileName);
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return notWritten(path, errno);

    struct stat before = {};
    if (::fstat(fd, &before) != 0) {
        const int error = errno;
        ::close(fd);
        return notWritten(path, error);
    }
    QString text;
    if (before.st_size == 0)
        text = headerRow();
    for (const Entry &entry : entries)
        text += row(entry);
    QByteArray bytes = text.toUtf8();
    if (before.st_size == 0)
        bytes.prepend("\xEF\xBB\xBF");

    // One write: appended whole, or, when it comes up short (a full disk),
    // cut back to where the file ended, so that no half row remains.
    qsizetype written = 0;
    int error = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += n;
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (error && written > 0) [[maybe_unused]]
        const int cut = ::ftruncate(fd, before.st_size);
    ::close(fd);
    if (error)
        return notWritten(path, error);
    return {};
}

namespace {
// The fields of each record of an RFC 4180 text: quoted fields may hold
// commas, doubled quotes and line breaks.
QList<QStringList> records(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            row.append(field);
            field.clear();
            rows.append(row);
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row.append(field);
        rows.append(row);
    }
    return rows;
}

std::optional<Method> methodNamed(const QString &name)
{
    for (Method method : {Method::Print, Method::Pdf, Method::Fax}) {
        if (methodName(method) == name)
            return method;
    }
    return std::nullopt;
}
} // namespace

Result<QList<Entry>> read(const QString &programDir)
{
    const QString path = programDir + QString::fromUtf8(kFileName);
    QFile file(path);
    if (!file.exists())
        return QList<Entry>();
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 を読めません\n%2").arg(path, file.errorString()));
    constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
    if (file.size() > kMaxBytes)
        return fail(QStringLiteral("%1 は大きすぎて読めません").arg(path));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringList> rows = records(text);
    if (rows.isEmpty())
        return QList<Entry>();
    if (rows.first().join(u',') + QStringLiteral("\r\n") != headerRow())
        return fail(QStringLiteral("%1 は送付記録として読めません").arg(path));
    QList<Entry> entries;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList &fields = rows.at(i);
        const std::optional<Method> method =
            fields.size() == 5 ? methodNamed(fields.at(1)) : std::nullopt;
        if (!method)
            continue; // a row another program broke is passed over
        entries.append({QDateTime::fromString(fields.at(0), QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        *method, fields.at(2), fields.at(3), fields.at(4)});
    }
    return entries;
}

} // namespace sendlog
