<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@，%2$d 个项目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld 个项目</numerusform>
        </translation>
    </message>
    <message><source>Name</source><translation>名称</translation></message>
    <message><source>Date Modified</source><translation>修改日期</translation></message>
    <message><source>Date Created</source><translation>创建日期</translation></message>
    <message><source>Date Last Opened</source><translation>上次打开日期</translation></message>
    <message><source>Date Added</source><translation>添加日期</translation></message>
    <message><source>Size</source><translation>大小</translation></message>
    <message><source>Kind</source><translation>种类</translation></message>
    <message><source>Tags</source><translation>标签</translation></message>
    <message><source>Dimensions</source><translation>尺寸</translation></message>
    <message><source>File not found.</source><translation>找不到文件。</translation></message>
    <message><source>Failed to unzip file.</source><translation>无法解压缩文件。</translation></message>
    <message><source>Failed to zip file.</source><translation>无法压缩文件。</translation></message>
    <message><source>The archive is password-protected.</source><translation>该归档受密码保护。</translation></message>
    <message><source>The password is not correct.</source><translation>密码不正确。</translation></message>
    <message><source>%@ (not extracted)</source><translation>%@（未解压）</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>内容已加密，未解压。</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>已略去 %@ 个条目</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>其路径指向压缩包文件夹之外</translation></message>
    <message><source>a link that leads out of the archive</source><translation>指向压缩包之外的链接</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>被后面同名的条目取代</translation></message>
    <message><source>a file and a folder of the same name</source><translation>同名的文件和文件夹</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>归档提前结束，可能已被截断</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>不支持此类加密：%1。</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>归档提前结束，可能已被截断</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>该文件不是可读取的归档，或已损坏</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>内存不足，无法读取归档</translation></message>
    <message><source>The archive is damaged</source><translation>归档已损坏</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>正在读取… %@ 个条目</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>正在解压… %1%，%2 / %3</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>正在扫描… %@ 项</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>列表已截断：目前 %@ 项</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@（不完整）</translation></message>
    <message><source>“%1” does not exist.</source><translation>“%1”不存在。</translation></message>
    <message><source>“%1” cannot be read.</source><translation>无法读取“%1”。</translation></message>
    <message><source>“%1” is not a folder or an archive that can be previewed.</source><translation>“%1”不是可预览的文件夹或归档。</translation></message>
    <message><source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source><translation>“%1”对归档缓存来说太大：%2，而 cacheLimit 设置允许 %3。</translation></message>
    <message><source>The archive is too large.</source><translation>归档太大。</translation></message>
    <message><source>The extraction was cancelled.</source><translation>解压已取消。</translation></message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message><source>Zero KB</source><translation>0 KB</translation></message>
    <message><source>%1 byte</source><translation>%1 字节</translation></message>
    <message><source>%1 bytes</source><translation>%1 字节</translation></message>
    <message><source>%1 KB</source><translation>%1 KB</translation></message>
    <message><source>%1 MB</source><translation>%1 MB</translation></message>
    <message><source>%1 GB</source><translation>%1 GB</translation></message>
    <message><source>%1 TB</source><translation>%1 TB</translation></message>
    <message><source>%1 PB</source><translation>%1 PB</translation></message>
    <message><source>%1 EB</source><translation>%1 EB</translation></message>
</context>
<context>
    <name>Host</name>
    <message><source>The password is not correct. Try again:</source><translation>密码不正确。请重试：</translation></message>
    <message><source>“%1” is password-protected. Enter its password:</source><translation>“%1”受密码保护。请输入密码：</translation></message>
    <message><source>“%1” cannot be previewed.</source><translation>无法预览“%1”。</translation></message>
    <message><source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source><translation>归档预览已关闭：请在 Trellin 设置中打开“预览归档”，或运行“trellin-settings set previewZipFiles true”。</translation></message>
</context>
<context>
    <name>ItemActions</name>
    <message><source>Open</source><translation>打开</translation></message>
    <message><source>Reveal in File Manager</source><translation>在文件管理器中显示</translation></message>
    <message><source>Copy Path</source><translation>复制路径</translation></message>
    <message><source>The item cannot be opened.</source><translation>无法打开该项目。</translation></message>
</context>
<context>
    <name>SettingsWindow</name>
    <message><source>Trellin Settings</source><translation>Trellin 设置</translation></message>
    <message><source>Show hidden files</source><translation>显示隐藏文件</translation></message>
    <message><source>Expand all rows</source><translation>展开所有行</translation></message>
    <message><source>Small</source><translation>小</translation></message>
    <message><source>Large</source><translation>大</translation></message>
    <message><source>Preview archives</source><translation>预览归档</translation></message>
    <message><source>Preview</source><translation>预览</translation></message>
    <message><source>Folder levels:</source><translation>文件夹层级：</translation></message>
    <message><source>Icon size:</source><translation>图标大小：</translation></message>
    <message><source>File managers</source><translation>文件管理器</translation></message>
    <message><source>“Preview Contents” in Thunar</source><translation>Thunar 中的“预览内容”</translation></message>
    <message><source>“Preview Contents” script in GNOME Files</source><translation>GNOME 文件中的“预览内容”脚本</translation></message>
    <message><source>Clear archive cache (%1 MB)</source><translation>清除归档缓存（%1 MB）</translation></message>
    <message><source>Could not remove everything from %1.</source><translation>无法删除 %1 中的全部内容。</translation></message>
    <message><source>The settings cannot be stored.</source><translation>无法保存设置。</translation></message>
    <message><source>Always, behind the listed rows</source><translation>总是（在列出的行之后）</translation></message>
    <message><source>Only when an item is opened</source><translation>仅在打开项目时</translation></message>
    <message><source>Extract archives:</source><translation>解压归档：</translation></message>
    <message><source>1 extraction in use was kept.</source><translation>保留了 1 个正在使用的解压。</translation></message>
    <message><source>%1 extractions in use were kept.</source><translation>保留了 %1 个正在使用的解压。</translation></message>
</context>
<context>
    <name>Integration</name>
    <message><source>Preview Contents</source><translation>预览内容</translation></message>
    <message><source>Show the contents as a sortable tree</source><translation>以可排序的树形列表显示内容</translation></message>
    <message><source>Trellin is no longer installed (%1 is missing).</source><translation>Trellin 已不再安装（找不到 %1）。</translation></message>
    <message><source>“%1” was removed from Thunar.</source><translation>已从 Thunar 中移除“%1”。</translation></message>
    <message><source>The script “%1” was removed from GNOME Files.</source><translation>已从 GNOME 文件中移除“%1”脚本。</translation></message>
</context>
</TS>
