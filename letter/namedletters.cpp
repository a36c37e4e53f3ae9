// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/namedletters.h"

#include "letter/boxtextfile.h"
#include "letter/settingsfile.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString openError(const QString &path, const QString &reason)
{
    return boxtextfile::openErrorMessage(QDir::toNativeSeparators(path), reason);
}

QString createError(const QString &path, const QString &reason)
{
    return boxtextfile::createErrorMessage(QDir::toNativeSeparators(path), reason);
}

// A small file read whole; larger than `limit` is an error rather than a
// read, so a hostile file costs no memory.
Result<QByteArray> readSmallFile(const QString &path, qsizetype limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(openError(path, file.errorString()));
    if (file.size() > limit)
        return fail(
            openError(path, QStringLiteral("%1 MiB より大きいファイルです").arg(limit >> 20)));
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(openError(path, file.errorString()));
    return bytes;
}

} // namespace

NamedLetters::NamedLetters(const QString &programDir) : m_programDir(programDir) {}

Result<void> NamedLetters::checkName(const QString &name)
{
    const QString quoted = QStringLiteral("「%1」は文書の名前にできません: ").arg(name);
    if (name.trimmed().isEmpty())
        return fail(QStringLiteral("文書の名前がありません"));
    if (name.startsWith(QLatin1Char('.')))
        return fail(quoted + QStringLiteral("「.」で始まる名前は使えません"));
    if (name.contains(QLatin1Char('/')))
        return fail(quoted + QStringLiteral("「/」は使えません"));
    if (std::any_of(name.cbegin(), name.cend(),
                    [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        return fail(quoted + QStringLiteral("制御文字は使えません"));
    if (name.toUtf8().size() + kSuffix.toUtf8().size() > kMaxFileNameBytes)
        return fail(
            quoted +
            QStringLiteral("長すぎます（ファイル名として %1 バイトまで）").arg(kMaxFileNameBytes));
    return {};
}

QString NamedLetters::directory() const
{
    return m_programDir + kDirName.toString();
}

QString NamedLetters::path(const QString &name) const
{
    return directory() + QLatin1Char('/') + name + kSuffix.toString();
}

QStringList NamedLetters::names() const
{
    QStringList names;
    const QStringList files = QDir(directory())
                                  .entryList({QLatin1Char('*') + kSuffix.toString()},
                                             QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &file : files) {
        const QString name = file.chopped(kSuffix.size());
        if (checkName(name))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    return names;
}

bool NamedLetters::contains(const QString &name) const
{
    return checkName(name) && QFileInfo(path(name)).isFile();
}

QString NamedLetters::unknownMessage(const QString &name)
{
    return QStringLiteral("文書「%1」はありません").arg(name);
}

Result<NamedLetter> NamedLetters::read(const QString &name) const
{
    if (Result<void> checked = checkName(name); !checked)
        return checked.failure();
    if (!contains(name))
        return fail(unknownMessage(name));
    const QString file = path(name);
    const Result<QByteArray> bytes = readSmallFile(file, NamedLetter::kMaxFileSize);
    if (!bytes)
        return bytes.failure();
    Result<NamedLetter> letter = NamedLetter::fromBytes(*bytes);
    if (!letter)
        return fail(QStringLiteral("文書ファイル \"%1\" は壊れています: %2")
                        .arg(QDir::toNativeSeparators(file), letter.error()));
    return letter;
}

Result<void> NamedLetters::write(const QString &name, const NamedLetter &letter) const
{
    if (Result<void> checked = checkName(name); !checked)
        return checked;
    if (!QDir().mkpath(directory()))
        return fail(createError(directory(), QStringLiteral("フォルダを作れません")));
    const QString file = path(name);
    if (Result<void> written = atomicfile::write(file, letter.toBytes()); !written)
        return fail(createError(file, written.error()));
    return {};
}

Result<void> NamedLetters::rename(const QString &from, const QString &to) const
{
    if (!contains(from))
        return fail(unknownMessage(from));
    if (Result<void> checked = checkName(to); !checked)
        return checked;
    if (from == to)
        return {};
    // QFile::rename never replaces an existing file; asked first so the
    // user hears why.
    if (QFileInfo::exists(path(to)))
        return fail(QStringLiteral("文書「%1」はもうあります").arg(to));
    const bool wasCurrent = current() == from;
    QFile file(path(from));
    if (!file.rename(path(to)))
        return fail(createError(path(to), file.errorString()));
    if (wasCurrent)
        return setCurrent(to);
    return {};
}

Result<void> NamedLetters::remove(const QString &name) const
{
    if (!contains(name))
        return fail(unknownMessage(name));
    const bool wasCurrent = current() == name;
    QFile file(path(name));
    if (!file.remove())
        return fail(QStringLiteral("ファイル \"%1\". %2 を削除できません")
                        .arg(QDir::toNativeSeparators(path(name)), file.errorString()));
    if (wasCurrent)
        return setCurrent(QString());
    return {};
}

QString NamedLetters::current() const
{
    const QString file =
        m_programDir + settingsfile::kInitDirName.toString() + QLatin1Char('/') + kCurrentFile;
    const Result<QByteArray> bytes = readSmallFile(file, 4096);
    if (!bytes)
        return QString();
    QString name = QString::fromUtf8(*bytes);
    if (name.endsWith(QLatin1Char('\n')))
        name.chop(1);
    // A note of a letter that is gone (deleted by hand) names none.
    return contains(name) ? name : QString();
}

Result<void> NamedLetters::setCurrent(const QString &name) const
{
    const QString file =
        m_programDir + settingsfile::kInitDirName.toString() + QLatin1Char('/') + kCurrentFile;
    if (name.isEmpty()) {
        if (QFile::exists(file) && !QFile::remove(file))
            return fail(createError(file, QStringLiteral("削除できません")));
        return {};
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (Result<void> written = atomicfile::write(file, name.toUtf8() + '\n'); !written)
        return fail(createError(file, written.error()));
    return {};
}
