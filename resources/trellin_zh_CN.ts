<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>ArchiveError</name>
    <message>
        <source>This kind of encryption is not supported: %1.</source>
        <translation>不支持此类加密：%1。</translation>
    </message>
    <message>
        <source>The archive ends early; it may be cut short</source>
        <translation>归档提前结束，可能已被截断</translation>
    </message>
    <message>
        <source>The file is not an archive that can be read, or it is damaged</source>
        <translation>该文件不是可读取的归档，或已损坏</translation>
    </message>
    <message>
        <source>There is not enough memory to read the archive</source>
        <translation>内存不足，无法读取归档</translation>
    </message>
    <message>
        <source>The archive is damaged</source>
        <translation>归档已损坏</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>找不到文件。</translation>
    </message>
    <message>
        <source>Failed to unzip file.</source>
        <translation>无法解压缩文件。</translation>
    </message>
    <message>
        <source>Failed to zip file.</source>
        <translation>无法压缩文件。</translation>
    </message>
    <message>
        <source>The archive is password-protected.</source>
        <translation>该归档受密码保护。</translation>
    </message>
    <message>
        <source>The password is not correct.</source>
        <translation>密码不正确。</translation>
    </message>
    <message>
        <source>The archive is too large.</source>
        <translation>归档太大。</translation>
    </message>
    <message>
        <source>The extraction was cancelled.</source>
        <translation>解压已取消。</translation>
    </message>
</context>
<context>
    <name>ArchivePreview</name>
    <message>
        <source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source>
        <translation>“%1”对归档缓存来说太大：%2，而 cacheLimit 设置允许 %3。</translation>
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
        <translation>%1 字节</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 字节</translation>
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
        <translation>%1（不完整）</translation>
    </message>
    <message>
        <source>%1 (not extracted)</source>
        <translation>%1（未解压）</translation>
    </message>
    <message>
        <source>%1 (not opened)</source>
        <translation>%1（未打开）</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>The password is not correct. Try again:</source>
        <translation>密码不正确。请重试：</translation>
    </message>
    <message>
        <source>“%1” is password-protected. Enter its password:</source>
        <translation>“%1”受密码保护。请输入密码：</translation>
    </message>
    <message>
        <source>“%1” cannot be previewed.</source>
        <translation>无法预览“%1”。</translation>
    </message>
    <message>
        <source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source>
        <translation>归档预览已关闭：请在 Trellin 设置中打开“预览归档”，或运行“trellin-settings set previewZipFiles true”。</translation>
    </message>
    <message>
        <source>choose one of --dump, --text and --screenshot</source>
        <translation>只能选择 --dump、--text 和 --screenshot 中的一个</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 需要一个值</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, for example 900x560</source>
        <translation>--size 需要 宽x高，例如 900x560</translation>
    </message>
    <message>
        <source>--sort takes KEY, KEY:asc or KEY:desc</source>
        <translation>--sort 需要 键、键:asc 或 键:desc</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>未知选项 %1</translation>
    </message>
    <message>
        <source>give exactly one path</source>
        <translation>请只给出一个路径</translation>
    </message>
    <message>
        <source>give the path of a folder or zip archive to preview</source>
        <translation>请给出要预览的文件夹或 zip 归档文件的路径</translation>
    </message>
    <message>
        <source>no display to show a window on: use --text, --dump or --screenshot</source>
        <translation>没有可显示窗口的屏幕：请使用 --text、--dump 或 --screenshot</translation>
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
        <translation>用法：trellin-preview [选项]... 路径
预览路径所指的文件夹或归档文件。

  （无模式）             在窗口中显示预览；按空格键或 Esc 键关闭。
                         如果已有打开的窗口，则由该窗口显示路径
  --new-window           即使已有窗口打开，也打开一个自己的窗口
  --dump                 以 JSON 格式输出完成的预览
  --text                 以表格形式输出完成的预览
  --screenshot 文件.png  将完成的预览绘制到 PNG 文件中
  --size 宽x高           绘制的尺寸（默认为 900x560）
  --columns 列表         显示这些列（以逗号分隔的标识符，如 &quot;Name,Size,Tags&quot;），
                         隐藏其余的列，仅限本次运行
  --sort 键[:asc|:desc]  预览就绪后，按点击该列标题的方式排序（name、
                         dateModified、dateCreated、dateLastOpened、size、kind）
  --filter TEXT          只显示名称包含 TEXT 的项目（不区分大小写和重音）
                         以及包含它们的文件夹
  --password-file 文件   用文件第一行中的密码打开加密的归档文件
                         （窗口会改为询问密码）
  --timing               在标准错误输出上打印从启动到窗口出现、到首次显示
                         项目数、到首次显示行以及到显示内容所用的时间
  --plugin 文件          从文件加载插件
  -h, --help             输出此文本
</translation>
    </message>
</context>
<context>
    <name>InnerArchive</name>
    <message>
        <source>Not opened: %1</source>
        <translation>未打开：%1</translation>
    </message>
    <message>
        <source>archives nested more than %1 deep</source>
        <translation>归档嵌套超过 %1 层</translation>
    </message>
    <message>
        <source>the entry is no file of its own</source>
        <translation>该条目不是独立的文件</translation>
    </message>
</context>
<context>
    <name>Integration</name>
    <message>
        <source>Preview Contents</source>
        <translation>预览内容</translation>
    </message>
    <message>
        <source>Show the contents as a sortable tree</source>
        <translation>以可排序的树形列表显示内容</translation>
    </message>
    <message>
        <source>Trellin is no longer installed (%1 is missing).</source>
        <translation>Trellin 已不再安装（找不到 %1）。</translation>
    </message>
    <message>
        <source>“%1” was removed from Thunar.</source>
        <translation>已从 Thunar 中移除“%1”。</translation>
    </message>
    <message>
        <source>The script “%1” was removed from GNOME Files.</source>
        <translation>已从 GNOME 文件中移除“%1”脚本。</translation>
    </message>
</context>
<context>
    <name>ItemActions</name>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Reveal in File Manager</source>
        <translation>在文件管理器中显示</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>复制路径</translation>
    </message>
    <message>
        <source>The item cannot be opened.</source>
        <translation>无法打开该项目。</translation>
    </message>
    <message>
        <source>Extract To…</source>
        <translation>解压到…</translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation>解压到</translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation>正在解压…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>The items cannot be extracted to “%1”.</source>
        <translation>无法将项目解压到“%1”。</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>已将 %n 个项目解压到“%1”。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemExport</name>
    <message>
        <source>“%1” cannot be written: %2</source>
        <translation>无法写入“%1”：%2</translation>
    </message>
    <message>
        <source>it cannot be extracted</source>
        <translation>无法解压</translation>
    </message>
    <message>
        <source>it is inside “%1”</source>
        <translation>它位于“%1”之内</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>无法读取“%1”。</translation>
    </message>
    <message>
        <source>“%1” is not a folder or an archive that can be previewed.</source>
        <translation>“%1”不是可预览的文件夹或归档。</translation>
    </message>
    <message>
        <source>Extracting… %1%, %2 of %3</source>
        <translation>正在解压… %1%，%2 / %3</translation>
    </message>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>正在读取… %Ln 个条目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>正在扫描… %Ln 项</numerusform>
        </translation>
    </message>
    <message>
        <source>The contents are encrypted and were not extracted.</source>
        <translation>内容已加密，未解压。</translation>
    </message>
    <message>
        <source>its path leads out of the archive&apos;s folder</source>
        <translation>其路径指向压缩包文件夹之外</translation>
    </message>
    <message>
        <source>a link that leads out of the archive</source>
        <translation>指向压缩包之外的链接</translation>
    </message>
    <message>
        <source>a later entry of the same name replaces it</source>
        <translation>被后面同名的条目取代</translation>
    </message>
    <message>
        <source>a file and a folder of the same name</source>
        <translation>同名的文件和文件夹</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>“%1”不存在。</translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>列表已截断：目前 %Ln 项</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1，%Ln 个项目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln 个项目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>已略去 %Ln 个条目</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive ends early; it may be cut short</source>
        <translation>归档提前结束，可能已被截断</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>按名称筛选</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 / %Ln 个项目</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” lies in an archive inside the one shown: only its files open.</source>
        <translation>“%1”位于所显示归档内的另一个归档中：只能打开其中的文件。</translation>
    </message>
</context>
<context>
    <name>PropertyColumn</name>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>修改日期</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>创建日期</translation>
    </message>
    <message>
        <source>Date Last Opened</source>
        <translation>上次打开日期</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>添加日期</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>种类</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>标签</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>尺寸</translation>
    </message>
</context>
<context>
    <name>SettingsTool</name>
    <message>
        <source>true or false</source>
        <translation>true 或 false</translation>
    </message>
    <message>
        <source>a whole number from 2 to 5</source>
        <translation>2 到 5 之间的整数</translation>
    </message>
    <message>
        <source>small, large, 0 or 1</source>
        <translation>small、large、0 或 1</translation>
    </message>
    <message>
        <source>a whole number of 1 or more</source>
        <translation>大于等于 1 的整数</translation>
    </message>
    <message>
        <source>a size in bytes, or with K, M, G or T (powers of 1024), such as 5G</source>
        <translation>以字节为单位的大小，或带 K、M、G 或 T（1024 的幂）的大小，如 5G</translation>
    </message>
    <message>
        <source>always or whenNeeded</source>
        <translation>always 或 whenNeeded</translation>
    </message>
    <message>
        <source>no display to show the window on: use a command</source>
        <translation>没有可显示窗口的屏幕：请使用命令</translation>
    </message>
    <message>
        <source>integrate takes --user, and --remove to take the entries out</source>
        <translation>integrate 需要 --user，要移除这些条目还需 --remove</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>未知命令“%1”</translation>
    </message>
    <message>
        <source>%1 takes nothing more</source>
        <translation>%1 不需要其他参数</translation>
    </message>
    <message>
        <source>%1 takes a key</source>
        <translation>%1 需要一个键</translation>
    </message>
    <message>
        <source>%1 takes a key and a value</source>
        <translation>%1 需要一个键和一个值</translation>
    </message>
    <message>
        <source>%1 takes %2, not &quot;%3&quot;</source>
        <translation>%1 需要 %2，而不是“%3”</translation>
    </message>
    <message>
        <source>listed or complete</source>
        <translation>listed 或 complete</translation>
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
        <translation>用法：trellin-settings
  或：  trellin-settings list | get 键 | set 键 值 | reset 键
  或：  trellin-settings integrate --user [--remove]
不带命令时，打开设置窗口。

  list                   列出每项设置、其值以及是否为默认值
  get 键                 输出一项设置的值
  set 键 值              更改一项设置；无法写入时以 1 退出
  reset 键               恢复为默认值
  integrate --user       为当前用户在 Thunar 的自定义操作中添加“预览内容”，
                         并在 GNOME 文件中添加一个脚本
  integrate --user --remove  再将它们移除

键和值：
  showHiddenFiles        true | false：列出名称以点开头的项目
  depthLimit             2 到 5：列出多少层文件夹
  expandAllRows          true | false：展开新预览中的每个文件夹
  iconSize               small | large（或 0 | 1）
  previewZipFiles        true | false：是否预览归档文件
  itemLimit              1 或更大：最多列出的项目数；更大的文件夹会被截断
  cacheLimit             大小：归档缓存最多可占用的字节数（5G、512M 等）；
                         默认为其所在磁盘的十分之一，最多 20 GiB
  archiveExtraction      always | whenNeeded：在列出的行背后解压归档文件，
                         或仅在打开某个条目或某列需要其文件时才解压
  expandArchives         true | false：构建树时打开文件夹或归档中的归档，
                         直到层级上限
  folderSizes            listed | complete：文件夹大小是所列项目之和，
                         还是在后台统计的全部内容
</translation>
    </message>
    <message>
        <source>there is no setting &quot;%1&quot;; the settings are showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes</source>
        <translation>没有设置“%1”；可用的设置为 showHiddenFiles、depthLimit、expandAllRows、iconSize、previewZipFiles、itemLimit、cacheLimit、archiveExtraction、expandArchives 和 folderSizes</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Trellin Settings</source>
        <translation>Trellin 设置</translation>
    </message>
    <message>
        <source>Show hidden files</source>
        <translation>显示隐藏文件</translation>
    </message>
    <message>
        <source>Expand all rows</source>
        <translation>展开所有行</translation>
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
        <translation>预览归档</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Folder levels:</source>
        <translation>文件夹层级：</translation>
    </message>
    <message>
        <source>Icon size:</source>
        <translation>图标大小：</translation>
    </message>
    <message>
        <source>File managers</source>
        <translation>文件管理器</translation>
    </message>
    <message>
        <source>“Preview Contents” in Thunar</source>
        <translation>Thunar 中的“预览内容”</translation>
    </message>
    <message>
        <source>“Preview Contents” script in GNOME Files</source>
        <translation>GNOME 文件中的“预览内容”脚本</translation>
    </message>
    <message>
        <source>Clear archive cache (%1 MB)</source>
        <translation>清除归档缓存（%1 MB）</translation>
    </message>
    <message>
        <source>Could not remove everything from %1.</source>
        <translation>无法删除 %1 中的全部内容。</translation>
    </message>
    <message>
        <source>Always, behind the listed rows</source>
        <translation>总是（在列出的行之后）</translation>
    </message>
    <message>
        <source>Only when an item is opened</source>
        <translation>仅在打开项目时</translation>
    </message>
    <message>
        <source>Extract archives:</source>
        <translation>解压归档：</translation>
    </message>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>保留了 %n 个正在使用的解压。</numerusform>
        </translation>
    </message>
    <message>
        <source>Folder sizes:</source>
        <translation>文件夹大小：</translation>
    </message>
    <message>
        <source>Of the items listed</source>
        <translation>所列项目之和</translation>
    </message>
    <message>
        <source>Whole content, counted in the background</source>
        <translation>全部内容（在后台统计）</translation>
    </message>
    <message>
        <source>Open archives inside as the tree is built</source>
        <translation>构建树时打开内部的归档</translation>
    </message>
</context>
</TS>
