<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>batch</name>
    <message>
        <source>standard output could not be written</source>
        <translation>標準出力に書き込めませんでした</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>ファイルが見つかりません</translation>
    </message>
    <message>
        <source>is a folder</source>
        <translation>フォルダです</translation>
    </message>
    <message>
        <source>pictures from JPEG files are never outlined or filled</source>
        <translation>JPEG ファイルの画像は縁取りも塗りつぶしもできません</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a valid value</source>
        <translation>%1: &quot;%2&quot; は正しい値ではありません</translation>
    </message>
    <message>
        <source>give either --outline or --fill, once</source>
        <translation>--outline か --fill のどちらかを一度だけ指定してください</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not opaque; colours are drawn opaque, and a PNG output is already transparent where the background is</source>
        <translation>%1: &quot;%2&quot; は不透明ではありません。色は不透明に描かれ、PNG 出力では背景の部分がすでに透明になります</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>不明なオプション %1</translation>
    </message>
    <message>
        <source>no input files</source>
        <translation>入力ファイルがありません</translation>
    </message>
    <message>
        <source>standard input (-) can be read once only</source>
        <translation>標準入力 (-) は一度しか読めません</translation>
    </message>
    <message>
        <source>--info takes only input files</source>
        <translation>--info には入力ファイルしか指定できません</translation>
    </message>
    <message>
        <source>give either -o FILE or --out-dir DIR</source>
        <translation>-o FILE か --out-dir DIR のどちらかを指定してください</translation>
    </message>
    <message>
        <source>-o takes one input; use --out-dir for several</source>
        <translation>-o の入力は一つです。複数なら --out-dir を使ってください</translation>
    </message>
    <message>
        <source>-o - needs --type (%1)</source>
        <translation>-o - には --type (%1) が必要です</translation>
    </message>
    <message>
        <source>%1: not a type pelmora-batch writes; give --type, or end the name in one of: %2</source>
        <translation>%1: pelmora-batch の書き出せる種類ではありません。--type を指定するか、名前の末尾を次のどれかにしてください: %2</translation>
    </message>
    <message>
        <source>standard input (-) needs -o</source>
        <translation>標準入力 (-) には -o が必要です</translation>
    </message>
    <message>
        <source>two inputs would both be written to %1</source>
        <translation>二つの入力がどちらも %1 に書き込まれます</translation>
    </message>
    <message>
        <source>draw a one-pixel outline in COLOUR around the subject</source>
        <translation>被写体の周りに COLOUR で 1 ピクセルの縁取りを描く</translation>
    </message>
    <message>
        <source>fill the subject with COLOUR
(not for pictures from JPEG files; COLOUR is #RRGGBB
or a colour name such as black or navy, opaque)</source>
        <translation>被写体を COLOUR で塗りつぶす
(JPEG ファイルの画像には使えません。COLOUR は #RRGGBB か
black や navy などの色の名前で、透明は指定できません)</translation>
    </message>
    <message>
        <source>only background joined to the picture&apos;s border counts:
areas of its colour inside the subject are subject,
filled, never outlined, opaque in a PNG and inside
an SVG&apos;s shape</source>
        <translation>画像の縁につながった背景だけを背景とする:
被写体の内側にある同じ色の部分は被写体として
塗りつぶされ、縁取られず、PNG では不透明になり、
SVG では図形の内側になる</translation>
    </message>
    <message>
        <source>turn clockwise by that many degrees</source>
        <translation>時計回りにその角度だけ回転する</translation>
    </message>
    <message>
        <source>mirror left-right or top-bottom</source>
        <translation>左右 (lr) または上下 (tb) に反転する</translation>
    </message>
    <message>
        <source>scale both sides to PERCENT of their size</source>
        <translation>縦横を元の大きさの PERCENT に拡大縮小する</translation>
    </message>
    <message>
        <source>scale to W x H pixels; Wx or xH keeps the proportions</source>
        <translation>W x H ピクセルに拡大縮小する。Wx または xH なら縦横比を保つ</translation>
    </message>
    <message>
        <source>scale to fit inside W x H pixels, keeping the proportions
(turns, mirrors and scales apply in the order given,
after the outline or fill)</source>
        <translation>縦横比を保ったまま W x H ピクセルに収まるよう拡大縮小する
(回転、反転、拡大縮小は指定の順に、縁取りや
塗りつぶしの後に行われる)</translation>
    </message>
    <message>
        <source>write a PNG without transparent pixels</source>
        <translation>透明なピクセルのない PNG を書き出す</translation>
    </message>
    <message>
        <source>write the one input&apos;s result to FILE; - writes it to
standard output, and then needs --type</source>
        <translation>一つの入力の結果を FILE に書き出す。- なら標準出力に
書き出し、そのときは --type が必要</translation>
    </message>
    <message>
        <source>write each result to DIR, named after its input</source>
        <translation>各結果を入力にちなんだ名前で DIR に書き出す</translation>
    </message>
    <message>
        <source>keep outputs that exist; each is reported as skipped</source>
        <translation>既にある出力は残し、それぞれ飛ばしたと報告する</translation>
    </message>
    <message>
        <source>process N inputs at once (default: one per core)</source>
        <translation>N 個の入力を同時に処理する (既定: コアごとに一つ)</translation>
    </message>
    <message>
        <source>print each input&apos;s kind, width, height and file size</source>
        <translation>各入力の種類、幅、高さ、ファイルサイズを表示する</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>このヘルプを表示する</translation>
    </message>
    <message>
        <source>print the version and exit</source>
        <translation>バージョンを表示して終了する</translation>
    </message>
    <message>
        <source>Usage: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...
       pelmora-batch --info INPUT...

Makes shadow images from pictures (BMP, JPEG, icon, WMF, EMF, PNG, GIF,
TIFF, WebP; each file&apos;s kind is read from its first bytes), the way Pelmora
does: every pixel of the top-left pixel&apos;s colour is background. Transparent
pixels count as white; of an animation or a multi-page file, the first
picture is read, and of an icon, its largest. An INPUT of - reads standard
input. An input is never replaced by an output.

</source>
        <translation>使い方: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...
        pelmora-batch --info INPUT...

画像 (BMP、JPEG、アイコン、WMF、EMF、PNG、GIF、TIFF、WebP。
種類はファイルの先頭のバイトから読み取る) から、Pelmora と同じく
左上のピクセルの色のピクセルをすべて背景として、影画像を作ります。
透明なピクセルは白とみなします。アニメーションや複数ページの
ファイルは最初の画像を、アイコンは最も大きな画像を読みます。
INPUT が - なら標準入力を読みます。入力が出力で置き換えられることは
ありません。

</translation>
    </message>
    <message>
        <source>
A PNG is the result with its background transparent. An SVG is the subject
traced into smooth curves: filled in the --fill colour (black without it),
or drawn as a line in the --outline colour; its size is the picture&apos;s size
in pixels, after any turns, mirrors and scales.

Examples:
  pelmora-batch --solid --fill black -o shadow.png snowman.png
  pelmora-batch --solid --outline navy -o shadow.svg snowman.png
  cat snowman.png | pelmora-batch --fill black --type png -o - - &gt; shadow.png

Errors are printed as FILE: message, or as FILE -&gt; OUTPUT: message when the
result cannot be written; the other inputs are still done. Messages and
progress go to standard error.
Exit status: 0 when every input succeeded, 1 when any failed, 2 for a bad
command line.
</source>
        <translation>
PNG は背景を透明にした結果です。SVG は被写体をなめらかな曲線に
トレースしたもので、--fill の色 (なければ黒) で塗りつぶすか、
--outline の色の線で描きます。大きさは回転、反転、拡大縮小の後の
画像のピクセル数です。

例:
  pelmora-batch --solid --fill black -o shadow.png snowman.png
  pelmora-batch --solid --outline navy -o shadow.svg snowman.png
  cat snowman.png | pelmora-batch --fill black --type png -o - - &gt; shadow.png

エラーは FILE: メッセージ、結果を書き出せないときは
FILE -&gt; OUTPUT: メッセージの形で表示され、ほかの入力の処理は続きます。
メッセージと進み具合は標準エラー出力に出ます。
終了ステータス: すべての入力が成功すれば 0、一つでも失敗すれば 1、
コマンドラインが正しくなければ 2。
</translation>
    </message>
    <message>
        <source>exists; skipped</source>
        <translation>既にあるため飛ばしました</translation>
    </message>
    <message>
        <source>would replace an input</source>
        <translation>入力を置き換えてしまいます</translation>
    </message>
    <message>
        <source>would replace another output of this run</source>
        <translation>この実行の別の出力を置き換えてしまいます</translation>
    </message>
    <message>
        <source>not a picture file pelmora-batch reads (%1)</source>
        <translation>pelmora-batch の読む画像ファイルではありません (%1)</translation>
    </message>
    <message>
        <source>Try &apos;pelmora-batch --help&apos;.</source>
        <translation>&apos;pelmora-batch --help&apos; を参照してください。</translation>
    </message>
    <message>
        <source>not enough memory</source>
        <translation>メモリが足りません</translation>
    </message>
    <message>
        <source>one of %1;
without it, the -o name&apos;s extension decides, and
--out-dir keeps each input&apos;s type where it is one of
these, else writes png. JPEG is written at quality 90;
an icon needs a 32 x 32 picture and makes the
top-left colour transparent</source>
        <translation>%1 のどれか。
指定がなければ -o の名前の拡張子で決まり、
--out-dir では入力の種類がこの中にあればそのまま、
なければ png で書き出す。JPEG は品質 90 で書き出す。
アイコンには 32 x 32 の画像が必要で、
左上の色が透明になる</translation>
    </message>
</context>
</TS>
