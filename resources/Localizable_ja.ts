<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@、%2$d 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld 項目</numerusform>
        </translation>
    </message>
    <message><source>Name</source><translation>名前</translation></message>
    <message><source>Date Modified</source><translation>変更日</translation></message>
    <message><source>Date Created</source><translation>作成日</translation></message>
    <message><source>Date Last Opened</source><translation>最後に開いた日</translation></message>
    <message><source>Date Added</source><translation>追加日</translation></message>
    <message><source>Size</source><translation>サイズ</translation></message>
    <message><source>Kind</source><translation>種類</translation></message>
    <message><source>Tags</source><translation>タグ</translation></message>
    <message><source>Dimensions</source><translation>寸法</translation></message>
    <message><source>File not found.</source><translation>ファイルが見つかりません。</translation></message>
    <message><source>Failed to unzip file.</source><translation>ファイルを展開できませんでした。</translation></message>
    <message><source>Failed to zip file.</source><translation>ファイルを圧縮できませんでした。</translation></message>
    <message><source>The archive is password-protected.</source><translation>アーカイブはパスワードで保護されています。</translation></message>
    <message><source>The password is not correct.</source><translation>パスワードが正しくありません。</translation></message>
    <message><source>%@ (not extracted)</source><translation>%@（未展開）</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>内容は暗号化されているため、展開されていません。</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>%@ 項目を除外</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>パスがアーカイブのフォルダーの外を指しています</translation></message>
    <message><source>a link that leads out of the archive</source><translation>アーカイブの外を指すリンク</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>同じ名前の後の項目で置き換えられます</translation></message>
    <message><source>a file and a folder of the same name</source><translation>同じ名前のファイルとフォルダー</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>アーカイブが途中で終わっています。切り詰められている可能性があります</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>この種類の暗号化には対応していません: %1。</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>アーカイブが途中で終わっています。切り詰められている可能性があります</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>このファイルは読み取れるアーカイブではないか、破損しています</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>アーカイブを読み取るためのメモリが足りません</translation></message>
    <message><source>The archive is damaged</source><translation>アーカイブが破損しています</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>読み込み中… %@ 項目</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>展開中… %1%、%3 中 %2</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>スキャン中… %@ 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>一覧を途中で打ち切りました: これまでに %@ 項目</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@（不完全）</translation></message>
    <message><source>“%1” does not exist.</source><translation>「%1」は存在しません。</translation></message>
    <message><source>“%1” cannot be read.</source><translation>「%1」を読み込めません。</translation></message>
    <message><source>“%1” is not a folder or an archive that can be previewed.</source><translation>「%1」はプレビューできるフォルダでもアーカイブでもありません。</translation></message>
    <message><source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source><translation>「%1」はアーカイブキャッシュには大きすぎます: %2、cacheLimit 設定の上限は %3 です。</translation></message>
    <message><source>The archive is too large.</source><translation>アーカイブが大きすぎます。</translation></message>
    <message><source>The extraction was cancelled.</source><translation>展開はキャンセルされました。</translation></message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message><source>Zero KB</source><translation>0 KB</translation></message>
    <message><source>%1 byte</source><translation>%1 バイト</translation></message>
    <message><source>%1 bytes</source><translation>%1 バイト</translation></message>
    <message><source>%1 KB</source><translation>%1 KB</translation></message>
    <message><source>%1 MB</source><translation>%1 MB</translation></message>
    <message><source>%1 GB</source><translation>%1 GB</translation></message>
    <message><source>%1 TB</source><translation>%1 TB</translation></message>
    <message><source>%1 PB</source><translation>%1 PB</translation></message>
    <message><source>%1 EB</source><translation>%1 EB</translation></message>
</context>
<context>
    <name>Host</name>
    <message><source>The password is not correct. Try again:</source><translation>パスワードが正しくありません。もう一度入力してください:</translation></message>
    <message><source>“%1” is password-protected. Enter its password:</source><translation>「%1」はパスワードで保護されています。パスワードを入力してください:</translation></message>
    <message><source>“%1” cannot be previewed.</source><translation>「%1」をプレビューできません。</translation></message>
    <message><source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source><translation>アーカイブのプレビューはオフになっています。Trellin 設定で「アーカイブをプレビュー」をオンにするか、「trellin-settings set previewZipFiles true」を実行してください。</translation></message>
</context>
<context>
    <name>ItemActions</name>
    <message><source>Open</source><translation>開く</translation></message>
    <message><source>Reveal in File Manager</source><translation>ファイルマネージャで表示</translation></message>
    <message><source>Copy Path</source><translation>パスをコピー</translation></message>
    <message><source>The item cannot be opened.</source><translation>項目を開けません。</translation></message>
</context>
<context>
    <name>SettingsWindow</name>
    <message><source>Trellin Settings</source><translation>Trellin の設定</translation></message>
    <message><source>Show hidden files</source><translation>隠しファイルを表示</translation></message>
    <message><source>Expand all rows</source><translation>すべての行を展開</translation></message>
    <message><source>Small</source><translation>小</translation></message>
    <message><source>Large</source><translation>大</translation></message>
    <message><source>Preview archives</source><translation>アーカイブをプレビュー</translation></message>
    <message><source>Preview</source><translation>プレビュー</translation></message>
    <message><source>Folder levels:</source><translation>フォルダの階層:</translation></message>
    <message><source>Icon size:</source><translation>アイコンのサイズ:</translation></message>
    <message><source>File managers</source><translation>ファイルマネージャ</translation></message>
    <message><source>“Preview Contents” in Thunar</source><translation>Thunar の「内容をプレビュー」</translation></message>
    <message><source>“Preview Contents” script in GNOME Files</source><translation>GNOME ファイルの「内容をプレビュー」スクリプト</translation></message>
    <message><source>Clear archive cache (%1 MB)</source><translation>アーカイブのキャッシュを消去 (%1 MB)</translation></message>
    <message><source>Could not remove everything from %1.</source><translation>%1 の中身をすべて削除できませんでした。</translation></message>
    <message><source>The settings cannot be stored.</source><translation>設定を保存できません。</translation></message>
    <message><source>Always, behind the listed rows</source><translation>常に（一覧の表示後に）</translation></message>
    <message><source>Only when an item is opened</source><translation>項目を開くときだけ</translation></message>
    <message><source>Extract archives:</source><translation>アーカイブの展開:</translation></message>
    <message><source>1 extraction in use was kept.</source><translation>使用中の展開 1 件は残しました。</translation></message>
    <message><source>%1 extractions in use were kept.</source><translation>使用中の展開 %1 件は残しました。</translation></message>
</context>
<context>
    <name>Integration</name>
    <message><source>Preview Contents</source><translation>内容をプレビュー</translation></message>
    <message><source>Show the contents as a sortable tree</source><translation>内容を並べ替えできるツリーで表示します</translation></message>
    <message><source>Trellin is no longer installed (%1 is missing).</source><translation>Trellin はインストールされていません（%1 が見つかりません）。</translation></message>
    <message><source>“%1” was removed from Thunar.</source><translation>Thunar から「%1」を削除しました。</translation></message>
    <message><source>The script “%1” was removed from GNOME Files.</source><translation>GNOME ファイルから「%1」スクリプトを削除しました。</translation></message>
</context>
</TS>
