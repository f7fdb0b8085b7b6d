<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@, %2$d Objekt</numerusform>
            <numerusform>%1$@, %2$d Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld Objekt</numerusform>
            <numerusform>%lld Objekte</numerusform>
        </translation>
    </message>
    <message><source>Name</source><translation>Name</translation></message>
    <message><source>Date Modified</source><translation>Änderungsdatum</translation></message>
    <message><source>Date Created</source><translation>Erstellungsdatum</translation></message>
    <message><source>Date Last Opened</source><translation>Zuletzt geöffnet</translation></message>
    <message><source>Date Added</source><translation>Hinzugefügt am</translation></message>
    <message><source>Size</source><translation>Größe</translation></message>
    <message><source>Kind</source><translation>Art</translation></message>
    <message><source>Tags</source><translation>Tags</translation></message>
    <message><source>Dimensions</source><translation>Abmessungen</translation></message>
    <message><source>File not found.</source><translation>Datei nicht gefunden.</translation></message>
    <message><source>Failed to unzip file.</source><translation>Die Datei konnte nicht entpackt werden.</translation></message>
    <message><source>Failed to zip file.</source><translation>Die Datei konnte nicht komprimiert werden.</translation></message>
    <message><source>The archive is password-protected.</source><translation>Das Archiv ist passwortgeschützt.</translation></message>
    <message><source>The password is not correct.</source><translation>Das Passwort ist nicht korrekt.</translation></message>
    <message><source>%@ (not extracted)</source><translation>%@ (nicht entpackt)</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>Der Inhalt ist verschlüsselt und wurde nicht entpackt.</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>%@ Eintrag ausgelassen</numerusform>
            <numerusform>%@ Einträge ausgelassen</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>sein Pfad führt aus dem Ordner des Archivs heraus</translation></message>
    <message><source>a link that leads out of the archive</source><translation>ein Link, der aus dem Archiv herausführt</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>ein späterer Eintrag gleichen Namens ersetzt ihn</translation></message>
    <message><source>a file and a folder of the same name</source><translation>eine Datei und ein Ordner gleichen Namens</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>das Archiv endet vorzeitig; es ist womöglich abgeschnitten</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>Diese Art der Verschlüsselung wird nicht unterstützt: %1.</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>Das Archiv endet vorzeitig; es ist womöglich abgeschnitten</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>Die Datei ist kein lesbares Archiv, oder sie ist beschädigt</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>Es ist nicht genug Speicher frei, um das Archiv zu lesen</translation></message>
    <message><source>The archive is damaged</source><translation>Das Archiv ist beschädigt</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>Wird gelesen … %@ Eintrag</numerusform>
            <numerusform>Wird gelesen … %@ Einträge</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>Wird entpackt … %1 %, %2 von %3</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>Wird durchsucht … %@ Objekt</numerusform>
            <numerusform>Wird durchsucht … %@ Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>Liste gekürzt: bisher %@ Objekt</numerusform>
            <numerusform>Liste gekürzt: bisher %@ Objekte</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@ (unvollständig)</translation></message>
    <message><source>“%1” does not exist.</source><translation>„%1“ existiert nicht.</translation></message>
    <message><source>“%1” cannot be read.</source><translation>„%1“ kann nicht gelesen werden.</translation></message>
    <message><source>“%1” is not a folder or an archive that can be previewed.</source><translation>„%1“ ist weder ein Ordner noch ein Archiv, das sich in der Vorschau zeigen lässt.</translation></message>
    <message><source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source><translation>„%1“ ist zu groß für den Archiv-Cache: %2, und die Einstellung cacheLimit erlaubt %3.</translation></message>
    <message><source>The archive is too large.</source><translation>Das Archiv ist zu groß.</translation></message>
    <message><source>The extraction was cancelled.</source><translation>Das Entpacken wurde abgebrochen.</translation></message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message><source>Zero KB</source><translation>Null KB</translation></message>
    <message><source>%1 byte</source><translation>%1 Byte</translation></message>
    <message><source>%1 bytes</source><translation>%1 Byte</translation></message>
    <message><source>%1 KB</source><translation>%1 KB</translation></message>
    <message><source>%1 MB</source><translation>%1 MB</translation></message>
    <message><source>%1 GB</source><translation>%1 GB</translation></message>
    <message><source>%1 TB</source><translation>%1 TB</translation></message>
    <message><source>%1 PB</source><translation>%1 PB</translation></message>
    <message><source>%1 EB</source><translation>%1 EB</translation></message>
</context>
<context>
    <name>Host</name>
    <message><source>The password is not correct. Try again:</source><translation>Das Passwort ist nicht korrekt. Bitte erneut eingeben:</translation></message>
    <message><source>“%1” is password-protected. Enter its password:</source><translation>„%1“ ist passwortgeschützt. Passwort eingeben:</translation></message>
    <message><source>“%1” cannot be previewed.</source><translation>„%1“ kann nicht in der Vorschau gezeigt werden.</translation></message>
    <message><source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source><translation>Die Vorschau von Archiven ist ausgeschaltet: Schalten Sie „Archive in der Vorschau zeigen“ in den Trellin-Einstellungen ein, oder führen Sie „trellin-settings set previewZipFiles true“ aus.</translation></message>
</context>
<context>
    <name>ItemActions</name>
    <message><source>Open</source><translation>Öffnen</translation></message>
    <message><source>Reveal in File Manager</source><translation>Im Dateimanager zeigen</translation></message>
    <message><source>Copy Path</source><translation>Pfad kopieren</translation></message>
    <message><source>The item cannot be opened.</source><translation>Das Objekt kann nicht geöffnet werden.</translation></message>
</context>
<context>
    <name>SettingsWindow</name>
    <message><source>Trellin Settings</source><translation>Trellin-Einstellungen</translation></message>
    <message><source>Show hidden files</source><translation>Versteckte Dateien zeigen</translation></message>
    <message><source>Expand all rows</source><translation>Alle Zeilen aufklappen</translation></message>
    <message><source>Small</source><translation>Klein</translation></message>
    <message><source>Large</source><translation>Groß</translation></message>
    <message><source>Preview archives</source><translation>Archive in der Vorschau zeigen</translation></message>
    <message><source>Preview</source><translation>Vorschau</translation></message>
    <message><source>Folder levels:</source><translation>Ordnerebenen:</translation></message>
    <message><source>Icon size:</source><translation>Symbolgröße:</translation></message>
    <message><source>File managers</source><translation>Dateimanager</translation></message>
    <message><source>“Preview Contents” in Thunar</source><translation>„Inhalt anzeigen“ in Thunar</translation></message>
    <message><source>“Preview Contents” script in GNOME Files</source><translation>Skript „Inhalt anzeigen“ in GNOME Dateien</translation></message>
    <message><source>Clear archive cache (%1 MB)</source><translation>Archiv-Zwischenspeicher leeren (%1 MB)</translation></message>
    <message><source>Could not remove everything from %1.</source><translation>%1 konnte nicht vollständig geleert werden.</translation></message>
    <message><source>The settings cannot be stored.</source><translation>Die Einstellungen können nicht gespeichert werden.</translation></message>
    <message><source>Always, behind the listed rows</source><translation>Immer, hinter den gelisteten Zeilen</translation></message>
    <message><source>Only when an item is opened</source><translation>Nur wenn ein Objekt geöffnet wird</translation></message>
    <message><source>Extract archives:</source><translation>Archive entpacken:</translation></message>
    <message><source>1 extraction in use was kept.</source><translation>1 verwendete Entpackung wurde behalten.</translation></message>
    <message><source>%1 extractions in use were kept.</source><translation>%1 verwendete Entpackungen wurden behalten.</translation></message>
</context>
<context>
    <name>Integration</name>
    <message><source>Preview Contents</source><translation>Inhalt anzeigen</translation></message>
    <message><source>Show the contents as a sortable tree</source><translation>Zeigt den Inhalt als sortierbaren Baum</translation></message>
    <message><source>Trellin is no longer installed (%1 is missing).</source><translation>Trellin ist nicht mehr installiert (%1 fehlt).</translation></message>
    <message><source>“%1” was removed from Thunar.</source><translation>„%1“ wurde aus Thunar entfernt.</translation></message>
    <message><source>The script “%1” was removed from GNOME Files.</source><translation>Das Skript „%1“ wurde aus GNOME Dateien entfernt.</translation></message>
</context>
</TS>
