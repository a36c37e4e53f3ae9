#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the customer workbooks the tests and benchmarks read, into the
# directory given as the only argument. The workbooks are generated rather
# than committed so that every cell they hold is visible here.
#
#   customers.xls   mixed cells: Japanese text, numbers, dates, a key gap,
#                   a key with a half-width space, a key with a line break;
#                   a second, active worksheet that readers must ignore
#   many.xls        250 customers (more than a read takes)
#   emptyfirst.xls  row 1 has no keys, row 2 has
#   nancell.xls     two good rows, then a number cell no text can show
#   bench.xls       200 customers of eight text cells
#
# With --bench it writes only what the benchmarks add: bench-65536.xls (a
# full sheet of the same cells) and trivial.xls (one customer).
use strict;
use warnings;
use utf8;
use Spreadsheet::WriteExcel;

my $bench = 0;
if (@ARGV && $ARGV[0] eq '--bench') { $bench = 1; shift @ARGV; }
my $dir = shift @ARGV or die "usage: $0 [--bench] OUTPUT_DIRECTORY\n";
-d $dir or die "$0: no directory $dir\n";

sub book {
    my ($name) = @_;
    my $book = Spreadsheet::WriteExcel->new("$dir/$name")
        or die "$0: cannot create $dir/$name: $!\n";
    return $book;
}

sub bench_book {
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
    bench_book('bench-65536.xls', 65536);
    bench_book('trivial.xls', 1);
    exit 0;
}

# A cell holding a small integer the way Excel itself stores it (an RK
# record), which readers see as an integer rather than a floating value.
sub write_rk_integer {
    my ($sheet, $row, $col, $value) = @_;
    my $rk = (($value << 2) | 2) & 0xFFFFFFFF;
    $sheet->_append(pack('vv', 0x027E, 10), pack('vvvV', $row, $col, 0x0F, $rk));
}

# Columns A..H; the company key is B, the person key C.
{
    my $book = book('customers.xls');
    my $sheet = $book->add_worksheet('顧客');
    my $other = $book->add_worksheet('別シート');
    my $date = $book->add_format(num_format => 'yyyy/mm/dd');
    my $datetime = $book->add_format(num_format => 'yyyy/mm/dd hh:mm:ss');
    my $time = $book->add_format(num_format => 'hh:mm:ss');

    # Row 1: the half-width space and the 0x5C trail bytes (ソ 表 能).
    $sheet->write_string(0, 0, 'No.1');
    $sheet->write_string(0, 1, '株式会社 山田');
    $sheet->write_string(0, 2, '山田 太郎');
    $sheet->write_string(0, 3, '東京都ソ表能区1-2-3');
    $sheet->write_number(0, 4, 3);
    $sheet->write_number(0, 5, 0.5);
    $sheet->write_number(0, 6, 1e20);
    $sheet->write_string(0, 7, '〒100-0001');

    # Row 2: a negative number, dates and times, an integer, an ideographic
    # space and a character code page 932 lacks.
    $sheet->write_number(1, 0, -12.25);
    $sheet->write_string(1, 1, 'ソニー表示能力');
    $sheet->write_string(1, 2, '佐藤　花子');
    $sheet->write_date_time(1, 3, '2024-03-05T', $date);
    $sheet->write_date_time(1, 4, '2024-03-05T13:45:10', $datetime);
    $sheet->write_date_time(1, 5, 'T13:45:10', $time);
    write_rk_integer($sheet, 1, 6, 42);
    $sheet->write_string(1, 7, "Ω①\x{1F600}");

    # Row 3: keys holding line breaks.
    $sheet->write_string(2, 1, "第一行\r\n第二行");
    $sheet->write_string(2, 2, "鈴木\n一郎");
    $sheet->write_string(2, 3, '大阪府');
    $sheet->write_string(2, 7, '三行目');

    # Row 4: no company, a person: the company list ends above it.
    $sheet->write_string(3, 2, '高橋');
    $sheet->write_string(3, 7, '四行目');

    # Row 5: both keys, below the company gap.
    $sheet->write_string(4, 1, '後続会社');
    $sheet->write_string(4, 2, '後続担当');

    # Row 6: a company, no person: the person list ends above it.
    $sheet->write_string(5, 1, '担当なし会社');

    $other->write_string(0, 1, '別シートの会社');
    $other->write_string(0, 2, '別シートの担当');
    $other->activate();
    $book->close() or die "$0: cannot write customers.xls\n";
}

{
    my $book = book('many.xls');
    my $sheet = $book->add_worksheet();
    for my $row (0 .. 249) {
        my $n = $row + 1;
        $sheet->write_string($row, 1, "会社$n");
        $sheet->write_string($row, 2, "担当$n");
        $sheet->write_string($row, 7, "住所$n");
    }
    $book->close() or die "$0: cannot write many.xls\n";
}

{
    my $book = book('emptyfirst.xls');
    my $sheet = $book->add_worksheet();
    $sheet->write_string(0, 0, '一行目');
    $sheet->write_string(1, 1, '二行目の会社');
    $sheet->write_string(1, 2, '二行目の担当');
    $book->close() or die "$0: cannot write emptyfirst.xls\n";
}

{
    my $book = book('nancell.xls');
    my $sheet = $book->add_worksheet();
    for my $row (0 .. 2) {
        my $n = $row + 1;
        $sheet->write_string($row, 0, "A$n");
        $sheet->write_string($row, 1, "会社 $n");
        $sheet->write_string($row, 2, "担当 $n");
        $sheet->write_string($row, 3, "D$n");
    }
    # Not a number: a value no cell text can show.
    my $nan = unpack("d", pack("VV", 0, 0x7FF80000));
    $sheet->write_number(2, 4, $nan);
    $sheet->write_string(2, 5, 'F3');
    $book->close() or die "$0: cannot write nancell.xls\n";
}

bench_book('bench.xls', 200);
