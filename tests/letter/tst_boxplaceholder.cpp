// SPDX-License-Identifier: GPL-3.0-or-later
// The grey role hint of an empty box: shown while the page is editable,
// gone in preview, and never part of what is printed or saved.

#include "../shell/formfixture.h"

#include "letter/boxmemo.h"
#include "letter/boxtable.h"
#include "platform/cp932.h"
#include "print/renderpage.h"

#include <QTest>
#include <QToolButton>

class TestBoxPlaceholder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void emptyBoxShowsRole_data();
    void emptyBoxShowsRole();
    void previewHidesRoles();
    void roleIsNeverPrinted();
    void roleIsNeverSaved();

private:
    TForm1 &form() { return m_fixture->form(); }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestBoxPlaceholder::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void TestBoxPlaceholder::emptyBoxShowsRole_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("role");
    QTest::newRow("box 1 body") << 0 << QStringLiteral("本文");
    QTest::newRow("box 2 addressee") << 1 << QStringLiteral("宛名");
    QTest::newRow("box 3 signature") << 2 << QStringLiteral("署名");
    QTest::newRow("box 4 issue date") << 3 << QStringLiteral("発行日");
    QTest::newRow("box 5 title") << 4 << QStringLiteral("標題");
    QTest::newRow("box 6 itemized notes") << 5 << QStringLiteral("記書き");
    QTest::newRow("box 7 notes heading") << 6 << QStringLiteral("記");
    QTest::newRow("box 8 closing mark") << 7 << QStringLiteral("結");
}

void TestBoxPlaceholder::emptyBoxShowsRole()
{
    QFETCH(int, box);
    QFETCH(QString, role);
    BoxMemo *memo = ui(form()).memos[box];
    memo->setText(QString());
    QCOMPARE(memo->placeholderText(), role);
    // The hint must be lighter than the text, so it never reads as content.
    const QColor hint = memo->palette().color(QPalette::PlaceholderText);
    const QColor text = memo->palette().color(QPalette::Text);
    QVERIFY2(hint.lightness() > text.lightness() + 100, qPrintable(hint.name()));
}

void TestBoxPlaceholder::previewHidesRoles()
{
    TForm1 &f = form();
    ui(f).spbA->click(); // preview
    for (BoxMemo *memo : ui(f).memos)
        QVERIFY2(memo->placeholderText().isEmpty(), qPrintable(memo->objectName()));
    ui(f).spbA->click(); // back to editing
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        QCOMPARE(ui(f).memos[box]->placeholderText(), boxtable::fieldName(box));
}

void TestBoxPlaceholder::roleIsNeverPrinted()
{
    TForm1 &f = form();
    for (BoxMemo *memo : ui(f).memos)
        memo->setText(QString());
    // The page is kept: runs() refers into it.
    const RenderPage page = renderPage(f);
    for (const RenderRun &run : page.runs()) {
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            QVERIFY2(!run.text.contains(boxtable::fieldName(box)), qPrintable(run.text));
    }
}

void TestBoxPlaceholder::roleIsNeverSaved()
{
    TForm1 &f = form();
    for (BoxMemo *memo : ui(f).memos)
        memo->setText(QString());
    QVERIFY(f.close());
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        if (box == 3)
            continue; // the issue date has no text file
        const QString name =
            QStringLiteral("Data/%1%2.txt").arg(box + 1).arg(boxtable::fieldName(box));
        QCOMPARE(m_fixture->readFile(name), QByteArray());
    }
}

QTEST_MAIN(TestBoxPlaceholder)
#include "tst_boxplaceholder.moc"
