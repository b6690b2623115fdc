<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>imagefile</name>
    <message>
        <source>Invalid bitmap image</source>
        <translation>ビットマップイメージが不正です</translation>
    </message>
    <message>
        <source>Invalid icon image</source>
        <translation>アイコンイメージが不正です</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <translation>JPEG エラー #%1</translation>
    </message>
    <message>
        <source>Invalid %1 image</source>
        <translation>%1 イメージが不正です</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>ファイルが見つかりません</translation>
    </message>
    <message>
        <source>The file name is not valid</source>
        <translation>ファイル名の指定が間違っています</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>オープンしたファイルが多すぎます</translation>
    </message>
    <message>
        <source>Access to the file was denied</source>
        <translation>ファイルへのアクセスが拒否されました</translation>
    </message>
    <message>
        <source>Not enough free disk space</source>
        <translation>ディスクの空き容量が足りません</translation>
    </message>
    <message>
        <source>Cannot save to a folder</source>
        <translation>フォルダには保存できません</translation>
    </message>
    <message>
        <source>I/O error (%1)</source>
        <translation>I/O エラー (%1)</translation>
    </message>
    <message>
        <source>An Icon file can hold<byte value="xd"/>
<byte value="xd"/>
only a picture of Icon size (32x32) pixels</source>
        <translation>Icon ファイルとして保存できるのは<byte value="xd"/>
<byte value="xd"/>
Iconサイズ(32x32)ピクセルの画像だけです</translation>
    </message>
</context>
</TS>
