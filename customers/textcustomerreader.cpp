#include "customers/textcustomerreader.h"

#include "customers/customertable.h"
#include "customers/delimitedtext.h"
#include "platform/textcharset.h"

#include <QFile>
#include <QFileInfo>

#include <limits>
#include <utility>
#include <vector>

namespace textcustomerreader {

namespace {

constexpr int kStoredFields = 6;
constexpr char16_t kIdeographicSpace = u'\u3000';

// Line boundaries of the text: CR LF, lone LF and lone CR end a line; a break
// at the very end adds no line.
std::vector<std::pair<qsizetype, qsizetype>> lineSpans(QStringView text)
{
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    spans.reserve(size_t(text.size() / 32 + 1));
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        spans.emplace_back(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        spans.emplace_back(start, n - start);
    return spans;
}

// The line as the splitter sees it: half-width spaces made ideographic, so
// that they stay inside their field, and eight commas appended, so that
// fields 0 to 5 always exist unless a quote is left open.
QString preparedLine(QStringView line)
{
    QString prepared(line.size() + 8, Qt::Uninitialized);
    QChar *out = prepared.data();
    for (const QChar c : line)
        *out++ = c == u' ' ? QChar(kIdeographicSpace) : c;
    for (int i = 0; i < 8; ++i)
        *out++ = QLatin1Char(',');
    return prepared;
}

QString indexErrorMessage(qsizetype index)
{
    return QString::fromUtf8("リストのインデックスが範囲を超えています (%1)").arg(index);
}

} // namespace

Result readBytes(QByteArrayView bytes, int keyIndex, CustomerTable &table)
{
    const int key = keyIndex == 1 ? 1 : 0;
    const QString text = textcharset::decode(bytes);
    const auto spans = lineSpans(text);

    Result result;
    result.count = int(qMin<size_t>(spans.size(), size_t(std::numeric_limits<int>::max())));
    table.setRowCount(result.count);
    if (result.count == 0)
        return result;

    // The lines are handled last to first and the first malformed one met
    // ends the read, so the lines after it stay stored while the lines before
    // it are never touched.
    QStringList entries(result.count);
    for (int row = result.count - 1; row >= 0; --row) {
        const auto [start, length] = spans[size_t(row)];
        const QStringList fields =
            delimitedtext::split(preparedLine(QStringView(text).sliced(start, length)), kStoredFields);
        const int stored = int(qMin<qsizetype>(fields.size(), kStoredFields));
        for (int column = 0; column < stored; ++column)
            table.setCell(column, row, fields[column]);
        if (stored < kStoredFields) {
            result.status = Result::Status::BadLine;
            result.errorMessage = indexErrorMessage(stored);
            return result;
        }
        entries[row] = fields[key];
    }
    result.entries = std::move(entries);
    return result;
}

Result read(const QString &path, int keyIndex, CustomerTable &table)
{
    Result result;
    if (!QFileInfo(path).isFile()) {
        result.status = Result::Status::Missing;
        return result;
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        result.status = Result::Status::OpenFailed;
        result.errorMessage = QString::fromUtf8("ファイル \"%1\". %2 は開けません")
                                  .arg(path, file.errorString());
        return result;
    }
    return readBytes(bytes, keyIndex, table);
}

} // namespace textcustomerreader
