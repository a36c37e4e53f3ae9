// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pdffiles.h"

#include <QFile>
#include <QFileInfo>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <vector>

namespace pdffiles {

namespace {

QString missingText(const QString &path)
{
    return QStringLiteral("添付ファイルが見つかりません: %1").arg(path);
}

QString notPdfText(const QString &path)
{
    return QStringLiteral("添付ファイルはPDFではありません: %1").arg(path);
}

QString encryptedText(const QString &path)
{
    return QStringLiteral("添付ファイルは暗号化されているため送れません: %1").arg(path);
}

QString damagedText(const QString &path)
{
    return QStringLiteral("添付ファイルが壊れています: %1").arg(path);
}

// An opened PDF; its bytes live as long as the parser that reads them.
struct Opened
{
    QByteArray bytes;
    std::unique_ptr<QPDF> pdf;
    std::vector<QPDFPageObjectHelper> pages;
};

Result<std::shared_ptr<Opened>> parse(QByteArray bytes, const QString &name, const QString &path)
{
    // A PDF starts with its header, give or take a little junk before it.
    if (bytes.left(1024).indexOf("%PDF-") < 0)
        return fail(notPdfText(path));
    auto opened = std::make_shared<Opened>();
    opened->bytes = std::move(bytes);
    opened->pdf = std::make_unique<QPDF>();
    QPDF &pdf = *opened->pdf;
    pdf.setSuppressWarnings(true);
    try {
        pdf.processMemoryFile(name.toUtf8().constData(), opened->bytes.constData(),
                              static_cast<size_t>(opened->bytes.size()));
        if (pdf.isEncrypted())
            return fail(encryptedText(path));
        opened->pages = QPDFPageDocumentHelper(pdf).getAllPages();
    } catch (const QPDFExc &e) {
        // A file that wants a password to be opened at all.
        if (e.getErrorCode() == qpdf_e_password)
            return fail(encryptedText(path));
        return fail(damagedText(path));
    } catch (const std::exception &) {
        return fail(damagedText(path));
    }
    // What qpdf had to repair (a cut-off file, a broken table of objects)
    // may be missing pages or parts of them: refused rather than guessed.
    if (pdf.anyWarnings() || opened->pages.empty())
        return fail(damagedText(path));
    return opened;
}

Result<std::shared_ptr<Opened>> open(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return fail(missingText(path));
    if (file.size() > kMaxFileBytes)
        return fail(QStringLiteral("添付ファイルが大きすぎます: %1").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("添付ファイルを開けません: %1\n%2").arg(path, file.errorString()));
    return parse(file.readAll(), QFileInfo(path).fileName(), path);
}

} // namespace

Result<int> pageCount(const QString &path)
{
    const Result<std::shared_ptr<Opened>> opened = open(path);
    if (!opened)
        return opened.failure();
    return static_cast<int>((*opened)->pages.size());
}

Result<QByteArray> join(const QByteArray &covers, const QStringList &attachments)
{
    if (attachments.isEmpty())
        return covers;
    std::vector<std::shared_ptr<Opened>> documents;
    for (const QString &path : attachments) {
        Result<std::shared_ptr<Opened>> opened = open(path);
        if (!opened)
            return opened.failure();
        documents.push_back(*opened);
    }
    const Result<std::shared_ptr<Opened>> cover =
        parse(covers, QStringLiteral("cover"), QStringLiteral("cover"));
    if (!cover)
        return cover.failure();

    try {
        QPDF out;
        out.emptyPDF();
        QPDFPageDocumentHelper pages(out);
        // Each attachment's pages are copied once; a later letter of a merge
        // takes shallow copies, which share their contents and fonts.
        std::vector<QPDFPageObjectHelper> attached;
        for (const std::shared_ptr<Opened> &document : documents) {
            for (QPDFPageObjectHelper &page : document->pages)
                attached.emplace_back(out.copyForeignObject(page.getObjectHandle()));
        }
        bool first = true;
        for (QPDFPageObjectHelper &page : (*cover)->pages) {
            pages.addPage(page, false);
            for (QPDFPageObjectHelper &copy : attached)
                pages.addPage(first ? copy : copy.shallowCopyPage(), false);
            first = false;
        }
        QPDFWriter writer(out);
        writer.setOutputMemory();
        writer.setStaticID(false);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                          static_cast<qsizetype>(buffer->getSize()));
    } catch (const std::exception &e) {
        return fail(QStringLiteral("PDFを組み立てられません: %1").arg(QString::fromUtf8(e.what())));
    }
}

} // namespace pdffiles
