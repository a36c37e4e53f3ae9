#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the sample customer files that installing places beside the
# program, into the directory given as the only argument (examples/ in the
# repository holds the result). One table of customers feeds all three, so
# the text file and the workbooks always name the same people.
#
#   smpl1.txt  "TXTから取得": code page 932, CR LF, one customer a line:
#              company, person, department, postcode, address, telephone, fax
#   smpl2.xls  "XLSから取得": first worksheet from row 1, no header:
#              A number, B company, C person, D department, E postcode,
#              F telephone, G fax, H address
#   smpl3.xls  "XLSから差込": the same customers with a header row, for a
#              merge in a spreadsheet application
use strict;
use warnings;
use utf8;
use Encode qw(encode);
use Spreadsheet::WriteExcel;

my $dir = shift @ARGV or die "usage: $0 OUTPUT_DIRECTORY\n";
-d $dir or die "$0: no directory $dir\n";

# company, person, department, postcode, address, telephone, fax
my @customers = (
    ['株式会社　山田商事', '山田　太郎', '営業部', '〒100-0005', '東京都千代田区丸の内1-2-3', '03-3211-0001', '03-3211-0002'],
    ['有限会社　青葉印刷', '佐藤　花子', '総務課', '〒980-0811', '宮城県仙台市青葉区一番町4-5-6', '022-261-0101', '022-261-0102'],
    ['北斗運輸株式会社', '鈴木　一郎', '物流部,第二課', '〒060-0001', '北海道札幌市中央区北一条西7-8', '011-231-0303', '011-231-0304'],
    ['株式会社　みなと電機', '高橋　健二', '購買部', '〒231-0023', '神奈川県横浜市中区山下町10-1', '045-641-0505', '045-641-0506'],
    ['中部精工株式会社', '田中　美咲', '技術部　設計課', '〒460-0008', '愛知県名古屋市中区栄3-15-2', '052-251-0707', '052-251-0708'],
    ['株式会社　浪速フーズ', '伊藤　誠', '仕入部', '〒530-0001', '大阪府大阪市北区梅田1-1-1, 梅田ビル8F', '06-6341-0909', '06-6341-0910'],
    ['京都織物株式会社', '渡辺　由美', '営業企画室', '〒604-8005', '京都府京都市中京区河原町通三条上る', '075-221-1111', '075-221-1112'],
    ['株式会社　瀬戸内造船', '山本　浩', '資材部', '〒730-0011', '広島県広島市中区基町6-78', '082-221-1313', '082-221-1314'],
    ['博多商会', '中村　恵子', '経理部', '〒812-0011', '福岡県福岡市博多区博多駅前2-1-1', '092-431-1515', '092-431-1516'],
    ['株式会社　信州ソフト', '小林　大輔', '開発部', '〒380-0836', '長野県長野市南県町1000', '026-232-1717', '026-232-1718'],
    ['四国化学工業株式会社', '加藤　直樹', '品質保証部', '〒760-0019', '香川県高松市サンポート2-1, シンボルタワー', '087-822-1919', '087-822-1920'],
    ['株式会社　琉球トラベル', '吉田　さくら', '法人営業課', '〒900-0015', '沖縄県那覇市久茂地1-1-1', '098-866-2121', '098-866-2122'],
);

# A field that holds a comma or a double quote goes in double quotes, with
# its quotes doubled.
sub text_field {
    my ($value) = @_;
    return $value unless $value =~ /[",]/;
    (my $quoted = $value) =~ s/"/""/g;
    return "\"$quoted\"";
}

{
    my $text = '';
    for my $c (@customers) {
        my ($company, $person, $dept, $post, $address, $tel, $fax) = @$c;
        $text .= join(',', map { text_field($_) } $company, $person, $dept, $post, $address, $tel, $fax) . "\r\n";
    }
    open(my $out, '>:raw', "$dir/smpl1.txt") or die "$0: cannot create $dir/smpl1.txt: $!\n";
    print $out encode('cp932', $text, Encode::FB_CROAK);
    close($out) or die "$0: cannot write $dir/smpl1.txt: $!\n";
}

sub write_rows {
    my ($sheet, $first_row, $header) = @_;
    if ($header) {
        $sheet->write_row(0, 0, ['番号', '会社名', '担当者名', '部署', '郵便番号', '電話', 'FAX', '住所']);
    }
    my $row = $first_row;
    for my $i (0 .. $#customers) {
        my ($company, $person, $dept, $post, $address, $tel, $fax) = @{ $customers[$i] };
        $sheet->write_number($row, 0, $i + 1);
        $sheet->write_string($row, $_->[0], $_->[1])
            for [1, $company], [2, $person], [3, $dept], [4, $post], [5, $tel], [6, $fax], [7, $address];
        ++$row;
    }
}

{
    my $book = Spreadsheet::WriteExcel->new("$dir/smpl2.xls") or die "$0: cannot create $dir/smpl2.xls: $!\n";
    write_rows($book->add_worksheet('顧客'), 0, 0);
    $book->close() or die "$0: cannot write $dir/smpl2.xls\n";
}
{
    my $book = Spreadsheet::WriteExcel->new("$dir/smpl3.xls") or die "$0: cannot create $dir/smpl3.xls: $!\n";
    write_rows($book->add_worksheet('差込'), 1, 1);
    $book->close() or die "$0: cannot write $dir/smpl3.xls\n";
}
