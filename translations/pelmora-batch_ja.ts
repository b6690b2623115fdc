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
    <message>
        <source>nothing but background: the result is empty</source>
        <translation>背景しかありません: 結果は空です</translation>
    </message>
    <message>
        <source>--with-picture needs an SVG or PDF output</source>
        <translation>--with-picture には SVG か PDF の出力が必要です</translation>
    </message>
    <message>
        <source>pictures from JPEG files are outlined or filled only with --fuzz (for example --fuzz 10)</source>
        <translation>JPEG ファイルの画像は --fuzz を指定したときだけ縁取りや塗りつぶしができます (例: --fuzz 10)</translation>
    </message>
    <message>
        <source>give either --smooth or --hard, once</source>
        <translation>--smooth か --hard のどちらかを一度だけ指定してください</translation>
    </message>
    <message>
        <source>fill the subject with COLOUR
(pictures from JPEG files only with --fuzz; COLOUR is
#RRGGBB or a colour name such as black or navy,
opaque)</source>
        <translation>被写体を COLOUR で塗りつぶす
(JPEG ファイルの画像は --fuzz があるときだけ。COLOUR は
#RRGGBB か black や navy などの色の名前で、
不透明な色)</translation>
    </message>
    <message>
        <source>in a picture with transparency, a pixel less opaque
than PERCENT is background (default 50)</source>
        <translation>透明度を持つ画像で、不透明度が PERCENT 未満の
ピクセルを背景とする (既定は 50)</translation>
    </message>
    <message>
        <source>COLOUR is background instead of the top-left pixel&apos;s;
corner: the top-left colour for every picture, with
transparency drawn on white</source>
        <translation>左上のピクセルの色の代わりに COLOUR を背景とする。
corner: どの画像でも左上の色を背景とし、透明な部分は
白の上に描いたものとみなす</translation>
    </message>
    <message>
        <source>colours within PERCENT of the background colour are
background too (distance in RGB, 100 being black to
white); JPEG photos are outlined and filled with it</source>
        <translation>背景の色から PERCENT 以内の色も背景とする
(RGB での距離。黒から白までが 100)。JPEG の写真は
これで縁取りや塗りつぶしができる</translation>
    </message>
    <message>
        <source>islands of subject and holes in it of fewer than AREA
pixels are removed</source>
        <translation>AREA ピクセルより小さい被写体の島と
被写体の中の穴を取り除く</translation>
    </message>
    <message>
        <source>PNG: smooth edges drawn from the traced curves (for a
fill or the picture itself, not an outline)</source>
        <translation>PNG: トレースした曲線からなめらかな縁を描く
(塗りつぶしか画像そのもの。縁取りには効かない)</translation>
    </message>
    <message>
        <source>PNG: every pixel fully opaque or fully transparent;
without either, a picture with transparency keeps
its own soft edge</source>
        <translation>PNG: どのピクセルも完全に不透明か完全に透明にする。
どちらもなければ、透明度を持つ画像は自身の
柔らかな縁を保つ</translation>
    </message>
    <message>
        <source>grow the subject by LENGTH (negative: shrink it), with
round corners, in pixels (12, 12px) or millimetres
(3mm); the picture grows by it on every side. With
--outline, the line is drawn at that distance</source>
        <translation>被写体を LENGTH だけ太らせる (負なら細らせる)。角は丸く、
ピクセル (12、12px) かミリメートル (3mm) で指定し、
画像はその分だけ四方に広がる。--outline と
組み合わせると、その距離に線を引く</translation>
    </message>
    <message>
        <source>the picture&apos;s resolution in dots per inch, over what
its file says (96 when neither says)</source>
        <translation>画像の解像度 (1 インチあたりのドット数)。ファイルの
値より優先する (どちらもなければ 96)</translation>
    </message>
    <message>
        <source>SVG and PDF: the picture beneath the traced line; the
line&apos;s SVG path is named CutContour</source>
        <translation>SVG と PDF: トレースした線の下に画像を置く。
SVG の線のパスの名前は CutContour</translation>
    </message>
    <message>
        <source>how round traced curves are: 0 polygons to 1.33 (1)</source>
        <translation>トレースする曲線の丸さ: 0 は多角形、最大 1.33 (既定 1)</translation>
    </message>
    <message>
        <source>Usage: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...
       pelmora-batch --info INPUT...

Makes shadow images from pictures (BMP, JPEG, icon, WMF, EMF, PNG, GIF,
TIFF, WebP; each file&apos;s kind is read from its first bytes), the way Pelmora
does: every pixel of the top-left pixel&apos;s colour is background. In a picture
with transparent pixels, the transparent ones are background instead,
whatever their colour. Of an animation or a multi-page file, the first
picture is read, and of an icon, its largest. An INPUT of - reads standard
input. An input is never replaced by an output.

</source>
        <translation>使い方: pelmora-batch [OPTION]... (-o FILE | --out-dir DIR) INPUT...
        pelmora-batch --info INPUT...

画像 (BMP、JPEG、アイコン、WMF、EMF、PNG、GIF、TIFF、WebP。
種類はファイルの先頭のバイトから読み取る) から、Pelmora と同じく
左上のピクセルの色のピクセルをすべて背景として、影画像を作ります。
透明なピクセルを含む画像では、透明なピクセルが色にかかわらず背景に
なります。アニメーションや複数ページのファイルは最初の画像を、
アイコンは最も大きな画像を読みます。INPUT が - なら標準入力を
読みます。入力が出力で置き換えられることはありません。

</translation>
    </message>
    <message>
        <source>
A PNG is the result with its background transparent, in the smallest lossless
PNG type; a WebP file the same, lossless. An SVG is the subject traced into
smooth curves: filled in the --fill colour (black without it), or drawn as a
line in the --outline colour; its view box is the picture&apos;s size in pixels,
after any turns, mirrors and scales, its size in millimetres when the
picture&apos;s resolution is known. A PDF is one page of the picture&apos;s size on
paper with the same curves; a DXF drawing has them as closed polylines in
millimetres.

Examples:
  pelmora-batch --solid --fill black -o shadow.png snowman.png
  pelmora-batch --solid --outline navy -o shadow.svg snowman.png
  cat snowman.png | pelmora-batch --fill black --type png -o - - &gt; shadow.png
  pelmora-batch --outline red --offset 3mm --with-picture -o sticker.pdf art.png
  pelmora-batch --alpha-threshold 20 --fill black -o shadow.png glow.png
  pelmora-batch --background white --fill black -o shadow.png flag.gif
  pelmora-batch --background corner --fill black -o shadow.png logo.png
  pelmora-batch --solid --fuzz 10 --fill black -o shadow.png photo.jpg
  pelmora-batch --solid --fuzz 10 --despeckle 50 --fill black -o s.png photo.jpg
  pelmora-batch --solid --fuzz 10 --smooth --fill black -o s.png photo.jpg
  pelmora-batch --hard --fill black -o shadow.png icon.png

Errors are printed as FILE: message, or as FILE -&gt; OUTPUT: message when the
result cannot be written; the other inputs are still done. Messages and
progress go to standard error.
A result with no subject at all is written, and said as FILE: nothing but
background: the result is empty.
Exit status: 0 when every input succeeded, 1 when any failed, 2 for a bad
command line.
</source>
        <translation>
PNG は背景を透明にした結果で、それを収める最も小さな可逆の PNG 形式で
書き出します。WebP も同じで、可逆です。SVG は被写体をなめらかな曲線に
トレースしたもので、--fill の色 (なければ黒) で塗りつぶすか、--outline の
色の線で描きます。viewBox は回転、反転、拡大縮小の後の画像のピクセル数で、
解像度が分かれば大きさをミリメートルで記します。PDF は画像の実寸の
1 ページに同じ曲線を描いたもの、DXF はそれをミリメートル単位の閉じた
ポリラインにした図面です。

例:
  pelmora-batch --solid --fill black -o shadow.png snowman.png
  pelmora-batch --solid --outline navy -o shadow.svg snowman.png
  cat snowman.png | pelmora-batch --fill black --type png -o - - &gt; shadow.png
  pelmora-batch --outline red --offset 3mm --with-picture -o sticker.pdf art.png
  pelmora-batch --alpha-threshold 20 --fill black -o shadow.png glow.png
  pelmora-batch --background white --fill black -o shadow.png flag.gif
  pelmora-batch --background corner --fill black -o shadow.png logo.png
  pelmora-batch --solid --fuzz 10 --fill black -o shadow.png photo.jpg
  pelmora-batch --solid --fuzz 10 --despeckle 50 --fill black -o s.png photo.jpg
  pelmora-batch --solid --fuzz 10 --smooth --fill black -o s.png photo.jpg
  pelmora-batch --hard --fill black -o shadow.png icon.png

エラーは FILE: メッセージ、結果を書き出せないときは
FILE -&gt; OUTPUT: メッセージの形で表示され、ほかの入力の処理は続きます。
メッセージと進み具合は標準エラー出力に出ます。
被写体のない結果も書き出し、FILE: 背景しかありません: 結果は空です
と伝えます。
終了ステータス: すべての入力が成功すれば 0、一つでも失敗すれば 1、
コマンドラインが正しくなければ 2。
</translation>
    </message>
    <message>
        <source>the DXF drawing could not be made</source>
        <translation>DXF 図面を作れませんでした</translation>
    </message>
    <message>
        <source>the offset leaves nothing of the subject</source>
        <translation>このオフセットでは被写体が何も残りません</translation>
    </message>
    <message>
        <source>the PDF could not be made</source>
        <translation>PDF を作れませんでした</translation>
    </message>
    <message>
        <source>the PNG could not be made: %1</source>
        <translation>PNG を作れませんでした: %1</translation>
    </message>
    <message>
        <source>a PNG cannot hold a picture of no pixels</source>
        <translation>PNG はピクセルのない画像を収められません</translation>
    </message>
    <message>
        <source>a WebP file cannot hold a picture of no pixels</source>
        <translation>WebP ファイルはピクセルのない画像を収められません</translation>
    </message>
    <message>
        <source>the WebP file could not be made: %1</source>
        <translation>WebP ファイルを作れませんでした: %1</translation>
    </message>
</context>
</TS>
