#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

class CustomerTable;

// The customer text file (code page 932 or UTF-8, see textcharset.h): one
// customer per line, fields split by the delimited-text rule after every
// half-width space became an ideographic space. Fields 0 to 5 go into table
// columns 0 to 5, and a seventh field, the fax number, where a line has one,
// into column 6; the key field (0 company, 1 person) becomes the customer's
// list entry.
namespace textcustomerreader {

struct Result
{
    enum class Status {
        Read,       // every line read
        Missing,    // no file: nothing read, table untouched
        OpenFailed, // the file exists but could not be read; table untouched
        BadLine,    // a line with an open quote before field 5
    };

    Status status = Status::Read;
    // The customer count: the number of lines in the file, also after a bad
    // line; 0 when the file is missing or could not be opened.
    int count = 0;
    // Entry k is the key of row k. Empty unless every line was read. The
    // ideographic spaces are still in; see listEntriesWithout().
    QStringList entries;
    // The error to report; empty for Read and Missing.
    QString errorMessage;

    bool ok() const { return status == Status::Read || status == Status::Missing; }
};

// Reads the file at `path`. `keyIndex` is the selector's item index.
Result read(const QString &path, int keyIndex, CustomerTable &table);

// Called now and then during a read with the offset below which the bytes
// are still needed; everything from there on has been read.
using ReleaseRead = std::function<void(qsizetype from)>;

// The same for the file's bytes (a NUL byte ends the text).
Result readBytes(QByteArrayView bytes, int keyIndex, CustomerTable &table,
                 const ReleaseRead &release = {});

// Turns one line's bytes into text.
using LineDecoder = QString (*)(QByteArrayView line);
// The decoder for a file's lines, chosen once from the whole file's bytes:
// UTF-8 or code page 932, by the rule of textcharset::detect.
LineDecoder lineDecoderFor(QByteArrayView bytes);

} // namespace textcustomerreader
