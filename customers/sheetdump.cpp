// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/sheetdump.h"

#include "platform/companion.h"
#include "platform/lazylibrary.h"

#include <QDeadlineTimer>
#include <QFile>

#include <freexl.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sheetdump {

namespace {

constexpr char kHelperName[] = "tavrint-sheetdump";
constexpr char kFreeXLName[] = "libfreexl.so.1";

// Report layout, native byte order (the helper comes with the program, from
// the same build):
//   "TXD1", int32 open code;
//   if open succeeded: uint32 password info, int32 select code;
//   if selected: int32 dimensions code;
//   if known: uint32 rows, uint16 columns, then per cell of the part read,
//     row after row: uint8 readable; if readable: uint8 type and its value
//     (int32 / float64 / uint32 length + bytes / nothing);
//   "END!".
constexpr char kHead[4] = {'T', 'X', 'D', '1'};
constexpr char kTail[4] = {'E', 'N', 'D', '!'};
// A cell holds at most 32767 characters; anything larger is not a report.
constexpr qsizetype kMaxReport = qsizetype(Sheet::kRows) * Sheet::kColumns * 32767 * 4 + 4096;

// FreeXL's functions as the helper calls them, from libfreexl.so.1, opened
// at the helper's first need.
struct FreeXL
{
    decltype(&freexl_open) open = nullptr;
    decltype(&freexl_get_info) getInfo = nullptr;
    decltype(&freexl_select_active_worksheet) selectActiveWorksheet = nullptr;
    decltype(&freexl_worksheet_dimensions) worksheetDimensions = nullptr;
    decltype(&freexl_get_cell_value) getCellValue = nullptr;
    decltype(&freexl_close) close = nullptr;
};

const std::optional<FreeXL> &freexl()
{
    static const std::optional<FreeXL> functions = []() -> std::optional<FreeXL> {
        LazyLibrary library(kFreeXLName);
        FreeXL f;
        if (library.load() && library.resolve("freexl_open", f.open) &&
            library.resolve("freexl_get_info", f.getInfo) &&
            library.resolve("freexl_select_active_worksheet", f.selectActiveWorksheet) &&
            library.resolve("freexl_worksheet_dimensions", f.worksheetDimensions) &&
            library.resolve("freexl_get_cell_value", f.getCellValue) &&
            library.resolve("freexl_close", f.close))
            return f;
        return std::nullopt;
    }();
    return functions;
}

bool isText(unsigned char type)
{
    return type == FREEXL_CELL_TEXT || type == FREEXL_CELL_SST_TEXT || type == FREEXL_CELL_DATE ||
           type == FREEXL_CELL_DATETIME || type == FREEXL_CELL_TIME;
}

template <typename T> void put(QByteArray &out, T value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    template <typename T> bool get(T &value)
    {
        if (m_bytes.size() - m_pos < qsizetype(sizeof value))
            return false;
        std::memcpy(&value, m_bytes.data() + m_pos, sizeof value);
        m_pos += qsizetype(sizeof value);
        return true;
    }

    bool get(QByteArray &text, qsizetype length)
    {
        if (length < 0 || m_bytes.size() - m_pos < length)
            return false;
        text = m_bytes.sliced(m_pos, length).toByteArray();
        m_pos += length;
        return true;
    }

    bool expect(const char (&tag)[4])
    {
        if (m_bytes.size() - m_pos < 4 || std::memcmp(m_bytes.data() + m_pos, tag, 4) != 0)
            return false;
        m_pos += 4;
        return true;
    }

    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// One cell of the report, as the sheet holds it; false when the report is
// malformed there.
bool readCell(Reader &in, Cell &cell)
{
    quint8 readable = 0;
    if (!in.get(readable) || readable > 1)
        return false;
    if (readable == 0) {
        cell = Cell::unreadable(); // FreeXL had no value to give
        return true;
    }
    quint8 type = 0;
    if (!in.get(type))
        return false;
    if (type == FREEXL_CELL_INT) {
        qint32 value = 0;
        if (!in.get(value))
            return false;
        cell = Cell::ofInteger(value);
    } else if (type == FREEXL_CELL_DOUBLE) {
        double value = 0;
        if (!in.get(value))
            return false;
        cell = Cell::ofNumber(value);
    } else if (isText(type)) {
        quint32 length = 0;
        QByteArray text;
        if (!in.get(length) || !in.get(text, qsizetype(length)))
            return false;
        // A NUL inside would cut the text short; FreeXL's texts have none.
        if (text.contains('\0'))
            return false;
        if (type == FREEXL_CELL_TEXT || type == FREEXL_CELL_SST_TEXT)
            cell = Cell::ofText(QString::fromUtf8(text));
        else
            cell = Cell::ofDate(type == FREEXL_CELL_DATE       ? Cell::Kind::Date
                                : type == FREEXL_CELL_DATETIME ? Cell::Kind::DateTime
                                                               : Cell::Kind::Time,
                                QString::fromLatin1(text));
    } else if (type == FREEXL_CELL_NULL) {
        cell = Cell();
    } else {
        cell = Cell::unreadable(); // a kind of value this program has no text for
    }
    return true;
}

QString describeFreeXLError(int freexlError)
{
    switch (freexlError) {
    case FREEXL_FILE_NOT_FOUND:
        return QString::fromUtf8("ファイルが見つからないか、読み取れません");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QString::fromUtf8("メモリが不足しています");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
        return QString::fromUtf8("Excel 97-2003 ブック (.xls) の形式ではありません");
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
        // Also what a file shorter than a workbook header gives.
        return QString::fromUtf8("ファイルが途中で切れているか、.xls 形式ではありません");
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_INVALID_MINI_STREAM:
    case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_INVALID_SST:
    case FREEXL_BIFF_ILLEGAL_SST_INDEX:
    case FREEXL_CRAFTED_FILE:
        return sheetreason::damaged();
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QString::fromUtf8("ファイルにブックのデータがありません");
    case FREEXL_BIFF_ILLEGAL_SHEET_INDEX:
    case FREEXL_BIFF_UNSELECTED_SHEET:
        return sheetreason::noSheet();
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
        return QString::fromUtf8("ブックの文字コードを変換できません");
    default:
        return QString::fromUtf8("ブックを読み取れません (FreeXL のエラー %1)").arg(freexlError);
    }
}

QString errorText(Failure kind, int freexlError, int systemError)
{
    switch (kind) {
    case Failure::FreeXL:
        return describeFreeXLError(freexlError);
    case Failure::Encrypted:
        return sheetreason::encrypted();
    case Failure::Crashed:
    case Failure::Garbled:
        return sheetreason::damaged();
    case Failure::TimedOut:
        return QString::fromUtf8("ブックの読み取りが時間内に終わりません");
    case Failure::NoProcess:
        if (systemError == ENOENT)
            return QString::fromUtf8("ブックを読むためのプログラム %1 が見つかりません")
                .arg(QLatin1String(kHelperName));
        return QString::fromLocal8Bit(std::strerror(systemError));
    case Failure::NoLibrary:
        return sheetreason::missingLibrary(kFreeXLName);
    }
    return QString();
}

// Starts the helper on the workbook with its standard output on `reportFd`,
// its standard input on /dev/null and no other file of this process open,
// whatever another thread opened without O_CLOEXEC meanwhile: a report pipe
// held open by a stray helper would keep its reader waiting for the end.
// posix_spawn runs the helper in the new process at once: no code of this
// program runs there, so no lock that another thread of it held at that
// moment is ever waited for. Returns 0 or the error number.
int spawnHelper(const QByteArray &program, const QByteArray &path, int reportFd, pid_t &pid)
{
    posix_spawn_file_actions_t actions;
    if (const int failed = ::posix_spawn_file_actions_init(&actions))
        return failed;
    posix_spawnattr_t attributes;
    if (const int failed = ::posix_spawnattr_init(&attributes)) {
        ::posix_spawn_file_actions_destroy(&actions);
        return failed;
    }
    // No signal of this process's handlers, ignored or blocked, is the helper's.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    int failed = ::posix_spawn_file_actions_adddup2(&actions, reportFd, STDOUT_FILENO);
    if (!failed)
        failed =
            ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!failed)
        failed = ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    if (!failed)
        failed =
            ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (!failed)
        failed = ::posix_spawnattr_setsigmask(&attributes, &none);
    if (!failed)
        failed = ::posix_spawnattr_setsigdefault(&attributes, &all);
    if (!failed) {
        char *argv[] = {const_cast<char *>(program.constData()),
                        const_cast<char *>(path.constData()), nullptr};
        failed = ::posix_spawn(&pid, program.constData(), &actions, &attributes, argv, environ);
    }
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    return failed;
}

} // namespace

bool freexlAvailable()
{
    return freexl().has_value();
}

QByteArray report(const char *path)
{
    // Without FreeXL there is nothing to report; the helper says so in its
    // exit status.
    if (!freexl())
        return {};
    const FreeXL &x = *freexl();
    QByteArray out;
    out.append(kHead, 4);
    const void *handle = nullptr;
    const int openCode = x.open(path, &handle);
    put<qint32>(out, openCode);
    if (openCode == FREEXL_OK) {
        unsigned int password = FREEXL_UNKNOWN;
        x.getInfo(handle, FREEXL_BIFF_PASSWORD, &password);
        put<quint32>(out, password);
        const int selectCode = x.selectActiveWorksheet(handle, 0);
        put<qint32>(out, selectCode);
        if (selectCode == FREEXL_OK) {
            unsigned int rows = 0;
            unsigned short columns = 0;
            const int dimensionsCode = x.worksheetDimensions(handle, &rows, &columns);
            put<qint32>(out, dimensionsCode);
            if (dimensionsCode == FREEXL_OK) {
                put<quint32>(out, rows);
                put<quint16>(out, columns);
                const unsigned int lastRow = qMin(rows, unsigned(Sheet::kRows));
                const unsigned short lastColumn =
                    qMin(columns, static_cast<unsigned short>(Sheet::kColumns));
                for (unsigned int r = 0; r < lastRow; ++r) {
                    for (unsigned short c = 0; c < lastColumn; ++c) {
                        FreeXL_CellValue value{};
                        const bool readable = x.getCellValue(handle, r, c, &value) == FREEXL_OK;
                        put<quint8>(out, readable ? 1 : 0);
                        if (!readable)
                            continue;
                        put<quint8>(out, value.type);
                        if (value.type == FREEXL_CELL_INT) {
                            put<qint32>(out, value.value.int_value);
                        } else if (value.type == FREEXL_CELL_DOUBLE) {
                            put<double>(out, value.value.double_value);
                        } else if (isText(value.type)) {
                            const char *text = value.value.text_value ? value.value.text_value : "";
                            const size_t length = std::strlen(text);
                            put<quint32>(out, quint32(length));
                            out.append(text, qsizetype(length));
                        }
                    }
                }
            }
        }
    }
    x.close(handle);
    out.append(kTail, 4);
    return out;
}

Outcome decode(QByteArrayView bytes)
{
    Reader in(bytes);
    qint32 openCode = 0;
    if (!in.expect(kHead) || !in.get(openCode))
        return error(Failure::Garbled);
    if (openCode != FREEXL_OK)
        return in.expect(kTail) && in.atEnd() ? error(Failure::FreeXL, openCode)
                                              : error(Failure::Garbled);

    quint32 password = 0;
    qint32 selectCode = 0;
    if (!in.get(password) || !in.get(selectCode))
        return error(Failure::Garbled);
    qint32 dimensionsCode = selectCode;
    if (selectCode == FREEXL_OK && !in.get(dimensionsCode))
        return error(Failure::Garbled);

    std::optional<Sheet> sheet;
    if (dimensionsCode == FREEXL_OK) {
        quint32 rows = 0;
        quint16 columns = 0;
        if (!in.get(rows) || !in.get(columns))
            return error(Failure::Garbled);
        sheet.emplace();
        sheet->rows = int(qMin(rows, quint32(Sheet::kRows)));
        sheet->columns = qMin(int(columns), Sheet::kColumns);
        sheet->cells.resize(size_t(sheet->rows) * size_t(sheet->columns));
        for (Cell &cell : sheet->cells) {
            if (!readCell(in, cell))
                return error(Failure::Garbled);
        }
    }
    if (!in.expect(kTail) || !in.atEnd())
        return error(Failure::Garbled);
    if (password == FREEXL_BIFF_OBFUSCATED)
        return error(Failure::Encrypted);
    if (!sheet)
        return error(Failure::FreeXL, dimensionsCode);
    return std::move(*sheet);
}

Error error(Failure kind, int freexlError, int systemError)
{
    return Error{kind, freexlError, systemError, errorText(kind, freexlError, systemError)};
}

Outcome load(const QByteArray &path, int timeoutMs)
{
    const QString helper =
        companion::find(QLatin1String(kHelperName), QStringLiteral(TAVRINT_SHEETDUMP_BUILT));
    if (helper.isEmpty())
        return error(Failure::NoProcess, 0, ENOENT);
    return loadWith(helper, path, timeoutMs);
}

Outcome loadWith(const QString &helper, const QByteArray &path, int timeoutMs)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return error(Failure::NoProcess, 0, errno);
    pid_t pid = 0;
    const int spawnError = spawnHelper(QFile::encodeName(helper), path, fds[1], pid);
    // The helper holds the write end now: the pipe ends when it does.
    ::close(fds[1]);
    if (spawnError != 0) {
        ::close(fds[0]);
        return error(Failure::NoProcess, 0, spawnError);
    }

    QByteArray bytes;
    bool timedOut = false;
    bool tooLarge = false;
    const QDeadlineTimer deadline(timeoutMs);
    char buffer[65536];
    for (;;) {
        const qint64 remaining = deadline.remainingTime();
        if (remaining == 0) {
            timedOut = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, int(qMin<qint64>(remaining, 1000 * 60)));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (ready == 0)
            continue; // the deadline is checked at the top
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            break;
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
        if (bytes.size() > kMaxReport) {
            tooLarge = true;
            break;
        }
    }
    if (timedOut || tooLarge)
        ::kill(pid, SIGKILL);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }

    if (timedOut)
        return error(Failure::TimedOut);
    if (tooLarge)
        return error(Failure::Garbled);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kExitNoLibrary)
        return error(Failure::NoLibrary);
    // A sanitizer that catches FreeXL out ends the helper with a status
    // instead of a signal.
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return error(Failure::Crashed);
    return decode(bytes);
}

} // namespace sheetdump
