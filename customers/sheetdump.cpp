#include "customers/sheetdump.h"

#include "platform/lazylibrary.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Set by libFuzzer under the sanitizers; a crash in the throwaway child must
// not be reported as the fuzzer's own.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace sheetdump {

namespace {

// Report layout, native byte order (parent and child are the same program):
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

// FreeXL's functions as the child calls them, from libfreexl.so.1 opened in
// this process before the first child is made, so that the child finds it
// open and never runs the loader itself.
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
        LazyLibrary library("libfreexl.so.1");
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

Outcome failed(Failure failure, int freexlError = FREEXL_OK)
{
    Outcome outcome;
    outcome.failure = failure;
    outcome.freexlError = freexlError;
    return outcome;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

[[noreturn]] void runChild(const char *path, int fd)
{
    // Die quietly: no crash handler of the parent (a test runner's stack
    // dump, a sanitizer's report) is to run for the child, nor a core dump.
    if (__sanitizer_set_death_callback)
        __sanitizer_set_death_callback(nullptr);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS})
        std::signal(sig, SIG_DFL);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0)
        ::dup2(devNull, STDERR_FILENO);
    const bool ok = writeAll(fd, report(path));
    ::_exit(ok ? 0 : 1);
}

} // namespace

QByteArray report(const char *path)
{
    // Without FreeXL there is nothing to report; load() says so before any
    // child is made.
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
        return failed(Failure::Garbled);
    if (openCode != FREEXL_OK)
        return in.expect(kTail) && in.atEnd() ? failed(Failure::FreeXL, openCode)
                                              : failed(Failure::Garbled);

    quint32 password = 0;
    qint32 selectCode = 0;
    if (!in.get(password) || !in.get(selectCode))
        return failed(Failure::Garbled);
    qint32 dimensionsCode = selectCode;
    if (selectCode == FREEXL_OK && !in.get(dimensionsCode))
        return failed(Failure::Garbled);

    Outcome outcome;
    if (dimensionsCode == FREEXL_OK) {
        quint32 rows = 0;
        quint16 columns = 0;
        if (!in.get(rows) || !in.get(columns))
            return failed(Failure::Garbled);
        Sheet sheet;
        sheet.rows = int(qMin(rows, quint32(Sheet::kRows)));
        sheet.columns = qMin(int(columns), Sheet::kColumns);
        sheet.cells.resize(size_t(sheet.rows) * size_t(sheet.columns));
        for (Cell &cell : sheet.cells) {
            if (!readCell(in, cell))
                return failed(Failure::Garbled);
        }
        outcome.sheet = std::move(sheet);
    } else {
        outcome = failed(Failure::FreeXL, dimensionsCode);
    }
    if (!in.expect(kTail) || !in.atEnd())
        return failed(Failure::Garbled);
    if (password == FREEXL_BIFF_OBFUSCATED)
        return failed(Failure::Encrypted);
    return outcome;
}

Outcome load(const QByteArray &path, int timeoutMs)
{
    if (!freexl())
        return failed(Failure::NoLibrary);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        Outcome outcome = failed(Failure::NoProcess);
        outcome.systemError = errno;
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        Outcome outcome = failed(Failure::NoProcess);
        outcome.systemError = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return outcome;
    }
    if (pid == 0) {
        ::close(fds[0]);
        runChild(path.constData(), fds[1]);
    }
    ::close(fds[1]);

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
        return failed(Failure::TimedOut);
    if (tooLarge)
        return failed(Failure::Garbled);
    // A sanitizer that catches FreeXL out ends the child with a status
    // instead of a signal.
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return failed(Failure::Crashed);
    return decode(bytes);
}

} // namespace sheetdump
