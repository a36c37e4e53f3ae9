#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the customer workbooks in today's formats that the tests and
# benchmarks read, into the directory given as the first argument: .xlsx with
# Excel::Writer::XLSX, .ods as a small ZIP of hand-written XML. The cells
# mirror those of make-test-workbooks.pl, so each format must give the same
# customer table. With --bench it writes only the benchmark workbooks.
#
#   customers.xlsx / .ods  mixed cells: Japanese text with its reading, numbers,
#                          dates and times, a key gap, a key with a half-width
#                          space, a key with a line break, a second sheet
#   many.xlsx / .ods       250 customers (more than a read takes)
#   emptyfirst.xlsx / .ods row 1 has no keys, row 2 has
#   errorcell.xlsx / .ods  two good rows, then a cell holding an error value
#   date1904.xlsx          a date in a workbook of the 1904 date system
#   handmade.xlsx          what Japanese Excel writes and the Perl writer does
#                          not: readings (<rPh>) beside shared strings, rich
#                          text runs, inline strings, rows and cells without
#                          their numbers, escaped control characters, an
#                          absolute part name
#   bomb.xlsx / .ods       a worksheet that inflates to 300 MiB of blanks
#   deep.xlsx              a worksheet nested a million elements deep
#   laughs.xlsx            a worksheet whose entities expand to gigabytes
#   strings-bomb.xlsx      shared strings that inflate past any limit
#   bench-200.xlsx, bench-65536.xlsx, trivial.xlsx (with --bench)
use strict;
use warnings;
use utf8;
use Excel::Writer::XLSX;
use IO::Compress::Zip qw(:all);
use Encode qw(encode_utf8);

my $bench = 0;
if (@ARGV && $ARGV[0] eq '--bench') { $bench = 1; shift @ARGV; }
my $dir = shift @ARGV or die "usage: $0 [--bench] OUTPUT_DIRECTORY\n";
-d $dir or die "$0: no directory $dir\n";

sub book {
    my ($name) = @_;
    my $book = Excel::Writer::XLSX->new("$dir/$name")
        or die "$0: cannot create $dir/$name: $!\n";
    return $book;
}

# --- OpenDocument -----------------------------------------------------------

sub xml_escape {
    my ($text) = @_;
    $text =~ s/&/&amp;/g;
    $text =~ s/</&lt;/g;
    $text =~ s/>/&gt;/g;
    $text =~ s/"/&quot;/g;
    return $text;
}

# A cell: a plain string, or a hash of value type, value and shown text.
sub ods_cell {
    my ($cell) = @_;
    return '<table:table-cell/>' unless defined $cell;
    if (!ref $cell) {
        my $paragraphs = join '', map { '<text:p>' . xml_escape($_) . '</text:p>' } split /\n/, $cell, -1;
        return qq{<table:table-cell office:value-type="string">$paragraphs</table:table-cell>};
    }
    return $cell->{raw} if $cell->{raw};
    my $attrs = $cell->{attrs} // '';
    my $text = defined $cell->{text} ? '<text:p>' . xml_escape($cell->{text}) . '</text:p>' : '';
    return qq{<table:table-cell $attrs>$text</table:table-cell>};
}

sub ods_rows {
    my (@rows) = @_;
    my $xml = '';
    for my $row (@rows) {
        if (!ref $row) {
            $xml .= $row; # spelled out by the caller
            next;
        }
        $xml .= '<table:table-row>' . join('', map { ods_cell($_) } @$row) . '</table:table-row>';
    }
    return $xml;
}

sub ods_content {
    my (@tables) = @_;
    my $body = '';
    while (my ($name, $rows) = splice @tables, 0, 2) {
        $body .= qq{<table:table table:name="$name">}
            . '<table:table-column table:number-columns-repeated="8"/>'
            . ods_rows(@$rows) . '</table:table>';
    }
    return '<?xml version="1.0" encoding="UTF-8"?>'
        . '<office:document-content'
        . ' xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"'
        . ' xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"'
        . ' xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"'
        . ' xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0"'
        . ' office:version="1.2"><office:body><office:spreadsheet>'
        . $body . '</office:spreadsheet></office:body></office:document-content>';
}

# The mimetype entry comes first and uncompressed, as the format asks.
sub write_ods {
    my ($name, $content) = @_;
    my $zip = IO::Compress::Zip->new("$dir/$name", Name => 'mimetype', Method => ZIP_CM_STORE)
        or die "$0: cannot create $dir/$name: $ZipError\n";
    $zip->print('application/vnd.oasis.opendocument.spreadsheet');
    $zip->newStream(Name => 'META-INF/manifest.xml', Method => ZIP_CM_DEFLATE);
    $zip->print('<?xml version="1.0" encoding="UTF-8"?><manifest:manifest'
        . ' xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">'
        . '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
        . '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
        . '</manifest:manifest>');
    $zip->newStream(Name => 'content.xml', Method => ZIP_CM_DEFLATE);
    if (ref $content eq 'CODE') {
        $content->($zip);
    } else {
        $zip->print(encode_utf8($content));
    }
    $zip->close();
}

# An .xlsx of hand-written parts, for shapes no writer makes on purpose.
sub write_raw_xlsx {
    my ($name, $sheet, $strings, $target) = @_;
    $target //= 'worksheets/sheet1.xml';
    my $zip = IO::Compress::Zip->new("$dir/$name", Name => '[Content_Types].xml', Method => ZIP_CM_DEFLATE)
        or die "$0: cannot create $dir/$name: $ZipError\n";
    $zip->print('<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>');
    $zip->newStream(Name => 'xl/workbook.xml');
    $zip->print('<?xml version="1.0" encoding="UTF-8"?>'
        . '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
        . ' xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
        . '<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>');
    $zip->newStream(Name => 'xl/_rels/workbook.xml.rels');
    $zip->print('<?xml version="1.0" encoding="UTF-8"?>'
        . '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        . '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="' . $target . '"/>'
        . '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        . '</Relationships>');
    $zip->newStream(Name => 'xl/worksheets/sheet1.xml');
    $sheet->($zip);
    if ($strings) {
        $zip->newStream(Name => 'xl/sharedStrings.xml');
        $strings->($zip);
    }
    $zip->close();
}

sub blanks {
    my ($zip, $mib) = @_;
    my $chunk = ' ' x (1 << 20);
    $zip->print($chunk) for 1 .. $mib;
}

my $sheet_head = '<?xml version="1.0" encoding="UTF-8"?>'
    . '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>';

# --- the benchmark workbooks --------------------------------------------------

sub bench_xlsx {
    my ($name, $rows) = @_;
    my $book = book($name);
    my $sheet = $book->add_worksheet();
    for my $row (0 .. $rows - 1) {
        my $n = $row + 1;
        $sheet->write_string($row, 0, "コード$n");
        $sheet->write_string($row, 1, "株式会社 ソ表能商事$n");
        $sheet->write_string($row, 2, "山田 太郎$n");
        $sheet->write_string($row, 3, "営業部 第${n}課");
        $sheet->write_number($row, 4, $n * 1.5);
        $sheet->write_string($row, 5, "03-1234-$n");
        $sheet->write_number($row, 6, $n);
        $sheet->write_string($row, 7, "東京都港区芝公園$n-1-1");
    }
    $book->close() or die "$0: cannot write $name\n";
}

if ($bench) {
    bench_xlsx('bench-200.xlsx', 200);
    bench_xlsx('bench-65536.xlsx', 65536);
    my $book = book('trivial.xlsx');
    $book->add_worksheet()->write_string(0, 1, '会社');
    $book->close() or die "$0: cannot write trivial.xlsx\n";
    exit 0;
}

# --- customers ------------------------------------------------------------------

{
    my $book = book('customers.xlsx');
    my $sheet = $book->add_worksheet('顧客');
    my $other = $book->add_worksheet('別シート');
    my $date = $book->add_format(num_format => 'yyyy/mm/dd');
    my $datetime = $book->add_format(num_format => 'yyyy/mm/dd hh:mm:ss');
    my $time = $book->add_format(num_format => 'hh:mm:ss');
    my $builtin = $book->add_format(num_format => 14);

    $sheet->write_string(0, 0, 'No.1');
    $sheet->write_string(0, 1, '株式会社 山田');
    $sheet->write_string(0, 2, '山田 太郎');
    $sheet->write_string(0, 3, '東京都ソ表能区1-2-3');
    $sheet->write_number(0, 4, 3);
    $sheet->write_number(0, 5, 0.5);
    $sheet->write_number(0, 6, 1e20);
    $sheet->write_string(0, 7, '〒100-0001');

    $sheet->write_number(1, 0, -12.25);
    $sheet->write_string(1, 1, 'ソニー表示能力');
    $sheet->write_string(1, 2, '佐藤　花子');
    $sheet->write_date_time(1, 3, '2024-03-05T', $date);
    $sheet->write_date_time(1, 4, '2024-03-05T13:45:10', $datetime);
    $sheet->write_date_time(1, 5, 'T13:45:10', $time);
    $sheet->write_number(1, 6, 42);
    $sheet->write_string(1, 7, "Ω①\x{1F600}");

    $sheet->write_string(2, 1, "第一行\r\n第二行");
    $sheet->write_string(2, 2, "鈴木\n一郎");
    $sheet->write_string(2, 3, '大阪府');
    $sheet->write_boolean(2, 4, 1);
    $sheet->write_boolean(2, 5, 0);
    $sheet->write_date_time(2, 6, '2024-12-31T', $builtin);
    $sheet->write_string(2, 7, '三行目');

    $sheet->write_string(3, 2, '高橋');
    $sheet->write_string(3, 7, '四行目');

    $sheet->write_string(4, 1, '後続会社');
    $sheet->write_string(4, 2, '後続担当');

    $sheet->write_string(5, 1, '担当なし会社');

    $other->write_string(0, 1, '別シートの会社');
    $other->write_string(0, 2, '別シートの担当');
    $other->activate();
    $book->close() or die "$0: cannot write customers.xlsx\n";
}

{
    my @rows = (
        ['No.1', '株式会社 山田', '山田 太郎', '東京都ソ表能区1-2-3',
         { attrs => 'office:value-type="float" office:value="3"', text => '3' },
         { attrs => 'office:value-type="percentage" office:value="0.5"', text => '50%' },
         { attrs => 'office:value-type="float" office:value="1E+20"', text => '1E+20' },
         '〒100-0001'],
        [{ attrs => 'office:value-type="currency" office:currency="JPY" office:value="-12.25"', text => '-¥12' },
         'ソニー表示能力', '佐藤　花子',
         { attrs => 'office:value-type="date" office:date-value="2024-03-05"', text => '2024/03/05' },
         { attrs => 'office:value-type="date" office:date-value="2024-03-05T13:45:10"', text => '2024/03/05 13:45:10' },
         { attrs => 'office:value-type="time" office:time-value="PT13H45M10S"', text => '13:45:10' },
         { attrs => 'office:value-type="float" office:value="42"', text => '42' },
         "Ω①\x{1F600}"],
        # A note on the company must not join its text; repeated columns.
        [undef,
         { raw => '<table:table-cell office:value-type="string"><office:annotation><text:p>メモ</text:p></office:annotation>'
               . '<text:p>第一行</text:p><text:p>第二行</text:p></table:table-cell>' },
         { raw => '<table:table-cell office:value-type="string"><text:p>鈴木<text:line-break/>一郎</text:p></table:table-cell>' },
         '大阪府',
         { attrs => 'office:value-type="boolean" office:boolean-value="true"', text => 'TRUE' },
         { attrs => 'office:value-type="boolean" office:boolean-value="false"', text => 'FALSE' },
         { attrs => 'office:value-type="date" office:date-value="2024-12-31"', text => '2024/12/31' },
         '三行目'],
        '<table:table-row><table:table-cell table:number-columns-repeated="2"/>'
            . '<table:table-cell office:value-type="string"><text:p>高<text:span>橋</text:span></text:p></table:table-cell>'
            . '<table:table-cell table:number-columns-repeated="4"/>'
            . '<table:table-cell office:value-type="string"><text:p>四行目</text:p></table:table-cell></table:table-row>',
        [undef, '後続会社', '後続担当'],
        [undef, '担当なし会社'],
        # The end of a sheet as spreadsheet programs save it.
        '<table:table-row table:number-rows-repeated="1048570"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>',
    );
    write_ods('customers.ods', ods_content('顧客' => \@rows,
                                           '別シート' => [[undef, '別シートの会社', '別シートの担当']]));
}

{
    my $book = book('many.xlsx');
    my $sheet = $book->add_worksheet();
    my @rows;
    for my $row (0 .. 249) {
        my $n = $row + 1;
        $sheet->write_string($row, 1, "会社$n");
        $sheet->write_string($row, 2, "担当$n");
        $sheet->write_string($row, 7, "住所$n");
        push @rows, [undef, "会社$n", "担当$n", undef, undef, undef, undef, "住所$n"];
    }
    $book->close() or die "$0: cannot write many.xlsx\n";
    write_ods('many.ods', ods_content('Sheet1' => \@rows));
}

{
    my $book = book('emptyfirst.xlsx');
    my $sheet = $book->add_worksheet();
    $sheet->write_string(0, 0, '一行目');
    $sheet->write_string(1, 1, '二行目の会社');
    $sheet->write_string(1, 2, '二行目の担当');
    $book->close() or die "$0: cannot write emptyfirst.xlsx\n";
    write_ods('emptyfirst.ods', ods_content('Sheet1' => [['一行目'], [undef, '二行目の会社', '二行目の担当']]));
}

{
    my $book = book('errorcell.xlsx');
    my $sheet = $book->add_worksheet();
    my @rows;
    for my $row (0 .. 2) {
        my $n = $row + 1;
        $sheet->write_string($row, 0, "A$n");
        $sheet->write_string($row, 1, "会社 $n");
        $sheet->write_string($row, 2, "担当 $n");
        $sheet->write_string($row, 3, "D$n");
        push @rows, ["A$n", "会社 $n", "担当 $n", "D$n"];
    }
    $sheet->write_formula(2, 4, '=1/0', undef, '#DIV/0!');
    $sheet->write_string(2, 5, 'F3');
    $book->close() or die "$0: cannot write errorcell.xlsx\n";
    push @{$rows[2]}, { attrs => 'table:formula="of:=1/0" office:value-type="float" office:value="0" calcext:value-type="error"',
                        text => '#DIV/0!' }, 'F3';
    write_ods('errorcell.ods', ods_content('Sheet1' => \@rows));
}

{
    my $book = book('date1904.xlsx');
    $book->set_1904();
    my $sheet = $book->add_worksheet();
    $sheet->write_string(0, 1, '会社');
    $sheet->write_string(0, 2, '担当');
    $sheet->write_date_time(0, 3, '2024-03-05T', $book->add_format(num_format => 'yyyy/mm/dd'));
    $book->close() or die "$0: cannot write date1904.xlsx\n";
}

write_raw_xlsx('handmade.xlsx', sub {
    my ($zip) = @_;
    $zip->print(encode_utf8($sheet_head
        . '<row><c t="str"><v>A1</v></c><c t="s"><v>0</v></c><c t="s"><v>1</v></c>'
        . '<c t="inlineStr"><is><r><t>大阪</t></r><r><t xml:space="preserve"> 北区</t></r></is></c></row>'
        . '<row><c r="B2" t="s"><v>2</v></c><c t="s"><v>0</v></c><c r="H2" t="str"><v>x_x000D_y</v></c></row>'
        . '</sheetData></worksheet>'));
}, sub {
    my ($zip) = @_;
    $zip->print(encode_utf8('<?xml version="1.0" encoding="UTF-8"?>'
        . '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="4" uniqueCount="3">'
        . '<si><t>山田商事</t><rPh sb="0" eb="2"><t>ヤマダ</t></rPh><phoneticPr fontId="1"/></si>'
        . '<si><r><rPr><b/></rPr><t>山田</t></r><r><t>太郎</t></r><rPh sb="0" eb="2"><t>ヤマダ</t></rPh></si>'
        . '<si><t>東西物産</t></si></sst>'));
}, '/xl/worksheets/sheet1.xml');
write_raw_xlsx('bomb.xlsx', sub {
    my ($zip) = @_;
    $zip->print($sheet_head);
    blanks($zip, 300);
    $zip->print('</sheetData></worksheet>');
});
write_ods('bomb.ods', sub {
    my ($zip) = @_;
    $zip->print(encode_utf8(ods_content()) =~ s/<\/office:spreadsheet>.*//r);
    blanks($zip, 300);
});
write_raw_xlsx('deep.xlsx', sub {
    my ($zip) = @_;
    $zip->print($sheet_head . '<row r="1"><c r="B1" t="inlineStr"><is>');
    $zip->print('<r>' x 1_000_000);
});
write_raw_xlsx('laughs.xlsx', sub {
    my ($zip) = @_;
    my $dtd = '<!ENTITY l0 "ha">';
    $dtd .= sprintf('<!ENTITY l%d "%s">', $_, join('', ('&l' . ($_ - 1) . ';') x 10)) for 1 .. 9;
    $zip->print('<?xml version="1.0" encoding="UTF-8"?><!DOCTYPE worksheet [' . $dtd . ']>'
        . '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
        . '<row r="1"><c r="B1" t="inlineStr"><is><t>&l9;</t></is></c></row></sheetData></worksheet>');
});
write_raw_xlsx('strings-bomb.xlsx', sub {
    my ($zip) = @_;
    $zip->print($sheet_head . '<row r="1"><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>1</v></c></row></sheetData></worksheet>');
}, sub {
    my ($zip) = @_;
    $zip->print('<?xml version="1.0" encoding="UTF-8"?>'
        . '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>');
    blanks($zip, 300);
});
