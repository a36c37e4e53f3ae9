// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/sendlog.h"

#include <QDir>
#include <QFile>

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

QString row(const Entry &entry)
{
    const QStringList fields = {
        entry.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
        entry.method == Method::Print ? QStringLiteral("印刷") : QStringLiteral("PDF"),
        quoted(entry.addressee), quoted(entry.title), quoted(entry.destination)};
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

} // namespace sendlog
