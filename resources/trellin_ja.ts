<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>ArchiveError</name>
    <message>
        <source>This kind of encryption is not supported: %1.</source>
        <translation>この種類の暗号化には対応していません: %1。</translation>
    </message>
    <message>
        <source>The archive ends early; it may be cut short</source>
        <translation>アーカイブが途中で終わっています。切り詰められている可能性があります</translation>
    </message>
    <message>
        <source>The file is not an archive that can be read, or it is damaged</source>
        <translation>このファイルは読み取れるアーカイブではないか、破損しています</translation>
    </message>
    <message>
        <source>There is not enough memory to read the archive</source>
        <translation>アーカイブを読み取るためのメモリが足りません</translation>
    </message>
    <message>
        <source>The archive is damaged</source>
        <translation>アーカイブが破損しています</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>ファイルが見つかりません。</translation>
    </message>
    <message>
        <source>Failed to unzip file.</source>
        <translation>ファイルを展開できませんでした。</translation>
    </message>
    <message>
        <source>Failed to zip file.</source>
        <translation>ファイルを圧縮できませんでした。</translation>
    </message>
    <message>
        <source>The archive is password-protected.</source>
        <translation>アーカイブはパスワードで保護されています。</translation>
    </message>
    <message>
        <source>The password is not correct.</source>
        <translation>パスワードが正しくありません。</translation>
    </message>
    <message>
        <source>The archive is too large.</source>
        <translation>アーカイブが大きすぎます。</translation>
    </message>
    <message>
        <source>The extraction was cancelled.</source>
        <translation>展開はキャンセルされました。</translation>
    </message>
</context>
<context>
    <name>ArchivePreview</name>
    <message>
        <source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source>
        <translation>「%1」はアーカイブキャッシュには大きすぎます: %2、cacheLimit 設定の上限は %3 です。</translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>0 KB</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 バイト</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 バイト</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 EB</translation>
    </message>
</context>
<context>
    <name>Cells</name>
    <message>
        <source>%1 (incomplete)</source>
        <translation>%1（不完全）</translation>
    </message>
    <message>
        <source>%1 (not extracted)</source>
        <translation>%1（未展開）</translation>
    </message>
    <message>
        <source>%1 (not opened)</source>
        <translation>%1（開いていません）</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>The password is not correct. Try again:</source>
        <translation>パスワードが正しくありません。もう一度入力してください:</translation>
    </message>
    <message>
        <source>“%1” is password-protected. Enter its password:</source>
        <translation>「%1」はパスワードで保護されています。パスワードを入力してください:</translation>
    </message>
    <message>
        <source>“%1” cannot be previewed.</source>
        <translation>「%1」をプレビューできません。</translation>
    </message>
    <message>
        <source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source>
        <translation>アーカイブのプレビューはオフになっています。Trellin 設定で「アーカイブをプレビュー」をオンにするか、「trellin-settings set previewZipFiles true」を実行してください。</translation>
    </message>
    <message>
        <source>choose one of --dump, --text and --screenshot</source>
        <translation>--dump、--text、--screenshot のうち 1 つだけを選んでください</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, for example 900x560</source>
        <translation>--size には 幅x高さ を指定してください (例: 900x560)</translation>
    </message>
    <message>
        <source>--sort takes KEY, KEY:asc or KEY:desc</source>
        <translation>--sort には キー、キー:asc、キー:desc のいずれかを指定してください</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>不明なオプション %1</translation>
    </message>
    <message>
        <source>give exactly one path</source>
        <translation>パスを 1 つだけ指定してください</translation>
    </message>
    <message>
        <source>give the path of a folder or zip archive to preview</source>
        <translation>プレビューするフォルダーまたは zip アーカイブのパスを指定してください</translation>
    </message>
    <message>
        <source>no display to show a window on: use --text, --dump or --screenshot</source>
        <translation>ウィンドウを表示する画面がありません。--text、--dump、--screenshot のいずれかを使ってください</translation>
    </message>
    <message>
        <source>Usage: trellin-preview [OPTION]... PATH
Preview PATH, a folder or an archive.

  (no mode)              show the preview in a window; Space or Escape closes
                         it. A window that is open already shows PATH instead
  --new-window           open a window of its own even when one is open
  --dump                 print the finished preview as JSON
  --text                 print the finished preview as a table
  --screenshot FILE.png  render the finished preview into a PNG file
  --size WxH             the size of the rendering (default 900x560)
  --columns LIST         show these columns (comma-separated identifiers, such
                         as &quot;Name,Size,Tags&quot;), hide the others, for this run
  --sort KEY[:asc|:desc] once the preview is ready, sort as a click on that
                         column&apos;s header would (name, dateModified,
                         dateCreated, dateLastOpened, size, kind)
  --filter TEXT          show only the items whose name contains TEXT (case
                         and accents aside), and the folders that hold them
  --password-file FILE   open an encrypted archive with the password on the
                         first line of FILE (the window asks for it instead)
  --timing               print on standard error the time from start to the
                         window on screen, to the first count of items shown,
                         to the first rows shown, and to the content shown
  --plugin FILE          load the plug-in from FILE
  -h, --help             print this text
</source>
        <translation>使い方: trellin-preview [オプション]... パス
パス (フォルダーまたはアーカイブ) をプレビューします。

  (モードなし)           プレビューをウィンドウに表示します。スペースキーか
                         Esc キーで閉じます。すでに開いているウィンドウが
                         あれば、そのウィンドウにパスを表示します
  --new-window           ウィンドウが開いていても、専用のウィンドウを開く
  --dump                 完成したプレビューを JSON で出力する
  --text                 完成したプレビューを表として出力する
  --screenshot ファイル.png
                         完成したプレビューを PNG ファイルに描画する
  --size 幅x高さ         描画のサイズ (既定は 900x560)
  --columns リスト       これらの列 (カンマ区切りの識別子。例: &quot;Name,Size,Tags&quot;)
                         を表示し、ほかの列を隠す (今回の実行のみ)
  --sort キー[:asc|:desc]
                         プレビューの準備ができたら、その列の見出しをクリック
                         したときと同じように並べ替える (name, dateModified,
                         dateCreated, dateLastOpened, size, kind)
  --filter TEXT          名前に TEXT を含む項目（大文字小文字とアクセントは
                         区別しない）と、それを含むフォルダだけを表示
  --password-file ファイル
                         暗号化されたアーカイブを、ファイルの 1 行目の
                         パスワードで開く (ウィンドウでは代わりに尋ねます)
  --timing               起動から、ウィンドウの表示、項目数の最初の表示、
                         最初の行の表示、内容の表示までの時間を標準エラー
                         出力に出力する
  --plugin ファイル      プラグインをファイルから読み込む
  -h, --help             このテキストを出力する
</translation>
    </message>
</context>
<context>
    <name>InnerArchive</name>
    <message>
        <source>Not opened: %1</source>
        <translation>開いていません: %1</translation>
    </message>
    <message>
        <source>archives nested more than %1 deep</source>
        <translation>アーカイブの入れ子が %1 階層を超えています</translation>
    </message>
    <message>
        <source>the entry is no file of its own</source>
        <translation>このエントリは単独のファイルではありません</translation>
    </message>
</context>
<context>
    <name>Integration</name>
    <message>
        <source>Preview Contents</source>
        <translation>内容をプレビュー</translation>
    </message>
    <message>
        <source>Show the contents as a sortable tree</source>
        <translation>内容を並べ替えできるツリーで表示します</translation>
    </message>
    <message>
        <source>Trellin is no longer installed (%1 is missing).</source>
        <translation>Trellin はインストールされていません（%1 が見つかりません）。</translation>
    </message>
    <message>
        <source>“%1” was removed from Thunar.</source>
        <translation>Thunar から「%1」を削除しました。</translation>
    </message>
    <message>
        <source>The script “%1” was removed from GNOME Files.</source>
        <translation>GNOME ファイルから「%1」スクリプトを削除しました。</translation>
    </message>
</context>
<context>
    <name>ItemActions</name>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Reveal in File Manager</source>
        <translation>ファイルマネージャで表示</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>パスをコピー</translation>
    </message>
    <message>
        <source>The item cannot be opened.</source>
        <translation>項目を開けません。</translation>
    </message>
    <message>
        <source>Extract To…</source>
        <translation>展開先を指定…</translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation>展開先</translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation>展開中…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>キャンセルしました。</translation>
    </message>
    <message>
        <source>The items cannot be extracted to “%1”.</source>
        <translation>項目を「%1」に展開できません。</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n 項目を「%1」に展開しました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemExport</name>
    <message>
        <source>“%1” cannot be written: %2</source>
        <translation>「%1」を書き込めません: %2</translation>
    </message>
    <message>
        <source>it cannot be extracted</source>
        <translation>展開できません</translation>
    </message>
    <message>
        <source>it is inside “%1”</source>
        <translation>「%1」の中にあります</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>List</source>
        <translation>リスト</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>「%1」を読み込めません。</translation>
    </message>
    <message>
        <source>“%1” is not a folder or an archive that can be previewed.</source>
        <translation>「%1」はプレビューできるフォルダでもアーカイブでもありません。</translation>
    </message>
    <message>
        <source>Extracting… %1%, %2 of %3</source>
        <translation>展開中… %1%、%3 中 %2</translation>
    </message>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>読み込み中… %Ln 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>スキャン中… %Ln 項目</numerusform>
        </translation>
    </message>
    <message>
        <source>The contents are encrypted and were not extracted.</source>
        <translation>内容は暗号化されているため、展開されていません。</translation>
    </message>
    <message>
        <source>its path leads out of the archive&apos;s folder</source>
        <translation>パスがアーカイブのフォルダーの外を指しています</translation>
    </message>
    <message>
        <source>a link that leads out of the archive</source>
        <translation>アーカイブの外を指すリンク</translation>
    </message>
    <message>
        <source>a later entry of the same name replaces it</source>
        <translation>同じ名前の後の項目で置き換えられます</translation>
    </message>
    <message>
        <source>a file and a folder of the same name</source>
        <translation>同じ名前のファイルとフォルダー</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>「%1」は存在しません。</translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>一覧を途中で打ち切りました: これまでに %Ln 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1、%Ln 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>%Ln 項目を除外</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive ends early; it may be cut short</source>
        <translation>アーカイブが途中で終わっています。切り詰められている可能性があります</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>名前で絞り込む</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>絞り込み</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 / %Ln 項目</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” lies in an archive inside the one shown: only its files open.</source>
        <translation>「%1」は表示中のアーカイブ内のアーカイブにあります。開けるのはその中のファイルだけです。</translation>
    </message>
</context>
<context>
    <name>PropertyColumn</name>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>変更日</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>作成日</translation>
    </message>
    <message>
        <source>Date Last Opened</source>
        <translation>最後に開いた日</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>追加日</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>寸法</translation>
    </message>
</context>
<context>
    <name>SettingsTool</name>
    <message>
        <source>true or false</source>
        <translation>true または false</translation>
    </message>
    <message>
        <source>a whole number from 2 to 5</source>
        <translation>2 から 5 までの整数</translation>
    </message>
    <message>
        <source>small, large, 0 or 1</source>
        <translation>small、large、0、1 のいずれか</translation>
    </message>
    <message>
        <source>a whole number of 1 or more</source>
        <translation>1 以上の整数</translation>
    </message>
    <message>
        <source>a size in bytes, or with K, M, G or T (powers of 1024), such as 5G</source>
        <translation>バイト数、または K、M、G、T (1024 のべき乗) を付けたサイズ (例: 5G)</translation>
    </message>
    <message>
        <source>always or whenNeeded</source>
        <translation>always または whenNeeded</translation>
    </message>
    <message>
        <source>no display to show the window on: use a command</source>
        <translation>ウィンドウを表示する画面がありません。コマンドを使ってください</translation>
    </message>
    <message>
        <source>integrate takes --user, and --remove to take the entries out</source>
        <translation>integrate には --user を、項目を取り除くにはさらに --remove を指定してください</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>不明なコマンド「%1」</translation>
    </message>
    <message>
        <source>%1 takes nothing more</source>
        <translation>%1 にはほかに何も指定しません</translation>
    </message>
    <message>
        <source>%1 takes a key</source>
        <translation>%1 にはキーを指定してください</translation>
    </message>
    <message>
        <source>%1 takes a key and a value</source>
        <translation>%1 にはキーと値を指定してください</translation>
    </message>
    <message>
        <source>%1 takes %2, not &quot;%3&quot;</source>
        <translation>%1 には次を指定してください: %2 (「%3」は不可)</translation>
    </message>
    <message>
        <source>listed or complete</source>
        <translation>listed または complete</translation>
    </message>
    <message>
        <source>Usage: trellin-settings
  or:  trellin-settings list | get KEY | set KEY VALUE | reset KEY
  or:  trellin-settings integrate --user [--remove]
Without a command, open the settings window.

  list                   every setting, its value, and whether it is the default
  get KEY                print a setting&apos;s value
  set KEY VALUE          change a setting; exits 1 when it cannot be written
  reset KEY              go back to the default
  integrate --user       add &quot;Preview Contents&quot; to Thunar&apos;s custom actions and
                         a GNOME Files script, for this user
  integrate --user --remove  take them out again

Keys and values:
  showHiddenFiles        true | false: list items whose name starts with a dot
  depthLimit             2 to 5: how many folder levels are listed
  expandAllRows          true | false: open every folder of a new preview
  iconSize               small | large (or 0 | 1)
  previewZipFiles        true | false: preview archives at all
  itemLimit              1 or more: items listed at most; a bigger folder is cut short
  cacheLimit             SIZE: bytes the archive cache may hold (5G, 512M, ...);
                         by default a tenth of its disk, at most 20 GiB
  archiveExtraction      always | whenNeeded: extract an archive behind its listed
                         rows, or only when an entry is opened or a column needs
                         its files
  expandArchives         true | false: open the archives in a folder or an
                         archive as the tree is built, to the depth limit
  folderSizes            listed | complete: a folder&apos;s size is the sum of the
                         items listed, or its whole content, counted in the
                         background
</source>
        <translation>使い方: trellin-settings
  または: trellin-settings list | get キー | set キー 値 | reset キー
  または: trellin-settings integrate --user [--remove]
コマンドを指定しないと、設定ウィンドウを開きます。

  list                   すべての設定とその値、既定値かどうか
  get キー               設定の値を出力する
  set キー 値            設定を変更する。書き込めないときは 1 で終了する
  reset キー             既定値に戻す
  integrate --user       このユーザーについて、Thunar のカスタムアクションに
                         「内容をプレビュー」を、GNOME ファイルにスクリプトを
                         追加する
  integrate --user --remove  それらを再び取り除く

キーと値:
  showHiddenFiles        true | false: 名前がドットで始まる項目も一覧に出す
  depthLimit             2 から 5: 一覧に出すフォルダーの階層数
  expandAllRows          true | false: 新しいプレビューのフォルダーをすべて開く
  iconSize               small | large (または 0 | 1)
  previewZipFiles        true | false: アーカイブをプレビューするかどうか
  itemLimit              1 以上: 一覧に出す項目の上限。これより大きい
                         フォルダーは途中で打ち切られる
  cacheLimit             サイズ: アーカイブのキャッシュが使えるバイト数
                         (5G、512M など)。既定はそのディスクの 10 分の 1、
                         最大 20 GiB
  archiveExtraction      always | whenNeeded: 一覧の行の裏でアーカイブを展開
                         するか、項目を開いたときや列がファイルを必要と
                         するときだけ展開するか
  expandArchives         true | false: フォルダーやアーカイブの中のアーカイブを、
                         ツリーの作成時に階層の上限まで開く
  folderSizes            listed | complete: フォルダのサイズを一覧にある項目の
                         合計にするか、バックグラウンドで数えた中身全体にするか
</translation>
    </message>
    <message>
        <source>there is no setting &quot;%1&quot;; the settings are showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes</source>
        <translation>設定「%1」はありません。設定は showHiddenFiles、depthLimit、expandAllRows、iconSize、previewZipFiles、itemLimit、cacheLimit、archiveExtraction、expandArchives、folderSizes です</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Trellin Settings</source>
        <translation>Trellin の設定</translation>
    </message>
    <message>
        <source>Show hidden files</source>
        <translation>隠しファイルを表示</translation>
    </message>
    <message>
        <source>Expand all rows</source>
        <translation>すべての行を展開</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>小</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>大</translation>
    </message>
    <message>
        <source>Preview archives</source>
        <translation>アーカイブをプレビュー</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>Folder levels:</source>
        <translation>フォルダの階層:</translation>
    </message>
    <message>
        <source>Icon size:</source>
        <translation>アイコンのサイズ:</translation>
    </message>
    <message>
        <source>File managers</source>
        <translation>ファイルマネージャ</translation>
    </message>
    <message>
        <source>“Preview Contents” in Thunar</source>
        <translation>Thunar の「内容をプレビュー」</translation>
    </message>
    <message>
        <source>“Preview Contents” script in GNOME Files</source>
        <translation>GNOME ファイルの「内容をプレビュー」スクリプト</translation>
    </message>
    <message>
        <source>Clear archive cache (%1 MB)</source>
        <translation>アーカイブのキャッシュを消去 (%1 MB)</translation>
    </message>
    <message>
        <source>Could not remove everything from %1.</source>
        <translation>%1 の中身をすべて削除できませんでした。</translation>
    </message>
    <message>
        <source>Always, behind the listed rows</source>
        <translation>常に（一覧の表示後に）</translation>
    </message>
    <message>
        <source>Only when an item is opened</source>
        <translation>項目を開くときだけ</translation>
    </message>
    <message>
        <source>Extract archives:</source>
        <translation>アーカイブの展開:</translation>
    </message>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>使用中の展開 %n 件は残しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Folder sizes:</source>
        <translation>フォルダのサイズ:</translation>
    </message>
    <message>
        <source>Of the items listed</source>
        <translation>一覧にある項目の合計</translation>
    </message>
    <message>
        <source>Whole content, counted in the background</source>
        <translation>中身全体 (バックグラウンドで集計)</translation>
    </message>
    <message>
        <source>Open archives inside as the tree is built</source>
        <translation>ツリーの作成時に内部のアーカイブを開く</translation>
    </message>
</context>
</TS>
