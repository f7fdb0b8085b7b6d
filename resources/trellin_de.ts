<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>ArchiveError</name>
    <message>
        <source>This kind of encryption is not supported: %1.</source>
        <translation>Diese Art der Verschlüsselung wird nicht unterstützt: %1.</translation>
    </message>
    <message>
        <source>The archive ends early; it may be cut short</source>
        <translation>Das Archiv endet vorzeitig; es ist womöglich abgeschnitten</translation>
    </message>
    <message>
        <source>The file is not an archive that can be read, or it is damaged</source>
        <translation>Die Datei ist kein lesbares Archiv, oder sie ist beschädigt</translation>
    </message>
    <message>
        <source>There is not enough memory to read the archive</source>
        <translation>Es ist nicht genug Speicher frei, um das Archiv zu lesen</translation>
    </message>
    <message>
        <source>The archive is damaged</source>
        <translation>Das Archiv ist beschädigt</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>Datei nicht gefunden.</translation>
    </message>
    <message>
        <source>Failed to unzip file.</source>
        <translation>Die Datei konnte nicht entpackt werden.</translation>
    </message>
    <message>
        <source>Failed to zip file.</source>
        <translation>Die Datei konnte nicht komprimiert werden.</translation>
    </message>
    <message>
        <source>The archive is password-protected.</source>
        <translation>Das Archiv ist passwortgeschützt.</translation>
    </message>
    <message>
        <source>The password is not correct.</source>
        <translation>Das Passwort ist nicht korrekt.</translation>
    </message>
    <message>
        <source>The archive is too large.</source>
        <translation>Das Archiv ist zu groß.</translation>
    </message>
    <message>
        <source>The extraction was cancelled.</source>
        <translation>Das Entpacken wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>ArchivePreview</name>
    <message>
        <source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source>
        <translation>„%1“ ist zu groß für den Archiv-Cache: %2, und die Einstellung cacheLimit erlaubt %3.</translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Null KB</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
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
        <translation>%1 (unvollständig)</translation>
    </message>
    <message>
        <source>%1 (not extracted)</source>
        <translation>%1 (nicht entpackt)</translation>
    </message>
    <message>
        <source>%1 (not opened)</source>
        <translation>%1 (nicht geöffnet)</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>The password is not correct. Try again:</source>
        <translation>Das Passwort ist nicht korrekt. Bitte erneut eingeben:</translation>
    </message>
    <message>
        <source>“%1” is password-protected. Enter its password:</source>
        <translation>„%1“ ist passwortgeschützt. Passwort eingeben:</translation>
    </message>
    <message>
        <source>“%1” cannot be previewed.</source>
        <translation>„%1“ kann nicht in der Vorschau gezeigt werden.</translation>
    </message>
    <message>
        <source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source>
        <translation>Die Vorschau von Archiven ist ausgeschaltet: Schalten Sie „Archive in der Vorschau zeigen“ in den Trellin-Einstellungen ein, oder führen Sie „trellin-settings set previewZipFiles true“ aus.</translation>
    </message>
    <message>
        <source>choose one of --dump, --text and --screenshot</source>
        <translation>nur eines von --dump, --text und --screenshot wählen</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, for example 900x560</source>
        <translation>--size erwartet BREITExHÖHE, etwa 900x560</translation>
    </message>
    <message>
        <source>--sort takes KEY, KEY:asc or KEY:desc</source>
        <translation>--sort erwartet KEY, KEY:asc oder KEY:desc</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>give exactly one path</source>
        <translation>genau einen Pfad angeben</translation>
    </message>
    <message>
        <source>give the path of a folder or zip archive to preview</source>
        <translation>den Pfad eines Ordners oder ZIP-Archivs für die Vorschau angeben</translation>
    </message>
    <message>
        <source>no display to show a window on: use --text, --dump or --screenshot</source>
        <translation>kein Bildschirm für ein Fenster: --text, --dump oder --screenshot verwenden</translation>
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
        <translation>Aufruf: trellin-preview [OPTION]... PFAD
PFAD, einen Ordner oder ein Archiv, in der Vorschau zeigen.

  (ohne Modus)           die Vorschau in einem Fenster zeigen; Leertaste oder
                         Escape schließt es. Ein schon offenes Fenster zeigt
                         dann PFAD
  --new-window           ein eigenes Fenster öffnen, auch wenn eines offen ist
  --dump                 die fertige Vorschau als JSON ausgeben
  --text                 die fertige Vorschau als Tabelle ausgeben
  --screenshot DATEI.png die fertige Vorschau in eine PNG-Datei zeichnen
  --size BxH             die Größe der Zeichnung (Vorgabe 900x560)
  --columns LISTE        diese Spalten zeigen (Kennungen mit Kommas getrennt,
                         etwa &quot;Name,Size,Tags&quot;), die übrigen ausblenden, nur
                         für diesen Aufruf
  --sort KEY[:asc|:desc] sobald die Vorschau fertig ist, so sortieren, wie ein
                         Klick auf den Kopf dieser Spalte es täte (name,
                         dateModified, dateCreated, dateLastOpened, size, kind)
  --filter TEXT          nur Objekte zeigen, deren Name TEXT enthält (ohne
                         Rücksicht auf Groß-/Kleinschreibung und Akzente),
                         und die Ordner, die sie enthalten
  --password-file DATEI  ein verschlüsseltes Archiv mit dem Passwort aus der
                         ersten Zeile von DATEI öffnen (das Fenster fragt
                         sonst danach)
  --timing               auf der Standardfehlerausgabe die Zeit vom Start bis
                         zum Fenster auf dem Bildschirm, zur ersten gezeigten
                         Anzahl der Objekte, zu den ersten gezeigten Zeilen
                         und zum gezeigten Inhalt ausgeben
  --plugin DATEI         das Plug-in aus DATEI laden
  -h, --help             diesen Text ausgeben
</translation>
    </message>
</context>
<context>
    <name>InnerArchive</name>
    <message>
        <source>Not opened: %1</source>
        <translation>Nicht geöffnet: %1</translation>
    </message>
    <message>
        <source>archives nested more than %1 deep</source>
        <translation>Archive mehr als %1 Ebenen tief ineinander</translation>
    </message>
    <message>
        <source>the entry is no file of its own</source>
        <translation>der Eintrag ist keine eigene Datei</translation>
    </message>
</context>
<context>
    <name>Integration</name>
    <message>
        <source>Preview Contents</source>
        <translation>Inhalt anzeigen</translation>
    </message>
    <message>
        <source>Show the contents as a sortable tree</source>
        <translation>Zeigt den Inhalt als sortierbaren Baum</translation>
    </message>
    <message>
        <source>Trellin is no longer installed (%1 is missing).</source>
        <translation>Trellin ist nicht mehr installiert (%1 fehlt).</translation>
    </message>
    <message>
        <source>“%1” was removed from Thunar.</source>
        <translation>„%1“ wurde aus Thunar entfernt.</translation>
    </message>
    <message>
        <source>The script “%1” was removed from GNOME Files.</source>
        <translation>Das Skript „%1“ wurde aus GNOME Dateien entfernt.</translation>
    </message>
</context>
<context>
    <name>ItemActions</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Reveal in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message>
        <source>The item cannot be opened.</source>
        <translation>Das Objekt kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Extract To…</source>
        <translation>Entpacken nach …</translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation>Entpacken nach</translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation>Wird entpackt …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>The items cannot be extracted to “%1”.</source>
        <translation>Die Objekte können nicht nach „%1“ entpackt werden.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n Objekt nach „%1“ entpackt.</numerusform>
            <numerusform>%n Objekte nach „%1“ entpackt.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemExport</name>
    <message>
        <source>“%1” cannot be written: %2</source>
        <translation>„%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>it cannot be extracted</source>
        <translation>es kann nicht entpackt werden</translation>
    </message>
    <message>
        <source>it is inside “%1”</source>
        <translation>es liegt in „%1“</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>„%1“ kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>“%1” is not a folder or an archive that can be previewed.</source>
        <translation>„%1“ ist weder ein Ordner noch ein Archiv, das sich in der Vorschau zeigen lässt.</translation>
    </message>
    <message>
        <source>Extracting… %1%, %2 of %3</source>
        <translation>Wird entpackt … %1 %, %2 von %3</translation>
    </message>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>Wird gelesen … %Ln Eintrag</numerusform>
            <numerusform>Wird gelesen … %Ln Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>Wird durchsucht … %Ln Objekt</numerusform>
            <numerusform>Wird durchsucht … %Ln Objekte</numerusform>
        </translation>
    </message>
    <message>
        <source>The contents are encrypted and were not extracted.</source>
        <translation>Der Inhalt ist verschlüsselt und wurde nicht entpackt.</translation>
    </message>
    <message>
        <source>its path leads out of the archive&apos;s folder</source>
        <translation>sein Pfad führt aus dem Ordner des Archivs heraus</translation>
    </message>
    <message>
        <source>a link that leads out of the archive</source>
        <translation>ein Link, der aus dem Archiv herausführt</translation>
    </message>
    <message>
        <source>a later entry of the same name replaces it</source>
        <translation>ein späterer Eintrag gleichen Namens ersetzt ihn</translation>
    </message>
    <message>
        <source>a file and a folder of the same name</source>
        <translation>eine Datei und ein Ordner gleichen Namens</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>„%1“ existiert nicht.</translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>Liste gekürzt: bisher %Ln Objekt</numerusform>
            <numerusform>Liste gekürzt: bisher %Ln Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1, %Ln Objekt</numerusform>
            <numerusform>%1, %Ln Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln Objekt</numerusform>
            <numerusform>%Ln Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>%Ln Eintrag ausgelassen</numerusform>
            <numerusform>%Ln Einträge ausgelassen</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive ends early; it may be cut short</source>
        <translation>das Archiv endet vorzeitig; es ist womöglich abgeschnitten</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>Nach Namen filtern</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 von %Ln Objekt</numerusform>
            <numerusform>%1 von %Ln Objekten</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” lies in an archive inside the one shown: only its files open.</source>
        <translation>„%1“ liegt in einem Archiv im angezeigten: nur seine Dateien lassen sich öffnen.</translation>
    </message>
</context>
<context>
    <name>PropertyColumn</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>Erstellungsdatum</translation>
    </message>
    <message>
        <source>Date Last Opened</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>Hinzugefügt am</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Abmessungen</translation>
    </message>
</context>
<context>
    <name>SettingsTool</name>
    <message>
        <source>true or false</source>
        <translation>true oder false</translation>
    </message>
    <message>
        <source>a whole number from 2 to 5</source>
        <translation>eine ganze Zahl von 2 bis 5</translation>
    </message>
    <message>
        <source>small, large, 0 or 1</source>
        <translation>small, large, 0 oder 1</translation>
    </message>
    <message>
        <source>a whole number of 1 or more</source>
        <translation>eine ganze Zahl ab 1</translation>
    </message>
    <message>
        <source>a size in bytes, or with K, M, G or T (powers of 1024), such as 5G</source>
        <translation>eine Größe in Bytes oder mit K, M, G oder T (Potenzen von 1024), etwa 5G</translation>
    </message>
    <message>
        <source>always or whenNeeded</source>
        <translation>always oder whenNeeded</translation>
    </message>
    <message>
        <source>no display to show the window on: use a command</source>
        <translation>kein Bildschirm, auf dem sich das Fenster zeigen ließe: einen Befehl verwenden</translation>
    </message>
    <message>
        <source>integrate takes --user, and --remove to take the entries out</source>
        <translation>integrate erwartet --user, und --remove, um die Einträge zu entfernen</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>%1 takes nothing more</source>
        <translation>%1 erwartet nichts weiter</translation>
    </message>
    <message>
        <source>%1 takes a key</source>
        <translation>%1 erwartet einen Schlüssel</translation>
    </message>
    <message>
        <source>%1 takes a key and a value</source>
        <translation>%1 erwartet einen Schlüssel und einen Wert</translation>
    </message>
    <message>
        <source>%1 takes %2, not &quot;%3&quot;</source>
        <translation>%1 erwartet %2, nicht „%3“</translation>
    </message>
    <message>
        <source>listed or complete</source>
        <translation>listed oder complete</translation>
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
        <translation>Aufruf: trellin-settings
  oder: trellin-settings list | get SCHLÜSSEL | set SCHLÜSSEL WERT | reset SCHLÜSSEL
  oder: trellin-settings integrate --user [--remove]
Ohne Befehl öffnet sich das Einstellungsfenster.

  list                   alle Einstellungen, ihr Wert und ob er die Vorgabe ist
  get SCHLÜSSEL          den Wert einer Einstellung ausgeben
  set SCHLÜSSEL WERT     eine Einstellung ändern; endet mit 1, wenn sie sich
                         nicht schreiben lässt
  reset SCHLÜSSEL        zur Vorgabe zurückkehren
  integrate --user       „Inhalt anzeigen“ zu den benutzerdefinierten Aktionen
                         von Thunar und als Skript zu GNOME Dateien hinzufügen,
                         für diesen Benutzer
  integrate --user --remove  sie wieder entfernen

Schlüssel und Werte:
  showHiddenFiles        true | false: Objekte zeigen, deren Name mit einem
                         Punkt beginnt
  depthLimit             2 bis 5: wie viele Ordnerebenen aufgelistet werden
  expandAllRows          true | false: jeden Ordner einer neuen Vorschau
                         aufklappen
  iconSize               small | large (oder 0 | 1)
  previewZipFiles        true | false: Archive überhaupt in der Vorschau zeigen
  itemLimit              1 oder mehr: höchstens so viele Objekte auflisten;
                         ein größerer Ordner wird gekürzt
  cacheLimit             GRÖSSE: wie viele Bytes der Archiv-Cache belegen darf
                         (5G, 512M, ...); als Vorgabe ein Zehntel seines
                         Datenträgers, höchstens 20 GiB
  archiveExtraction      always | whenNeeded: ein Archiv hinter seinen
                         gelisteten Zeilen entpacken oder nur, wenn ein Eintrag
                         geöffnet wird oder eine Spalte seine Dateien braucht
  expandArchives         true | false: die Archive in einem Ordner oder Archiv
                         beim Aufbau des Baums öffnen, bis zur Ebenengrenze
  folderSizes            listed | complete: die Größe eines Ordners ist die Summe
                         der aufgelisteten Objekte oder sein ganzer Inhalt,
                         im Hintergrund gezählt
</translation>
    </message>
    <message>
        <source>there is no setting &quot;%1&quot;; the settings are showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes</source>
        <translation>es gibt keine Einstellung „%1“; die Einstellungen sind showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives und folderSizes</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Trellin Settings</source>
        <translation>Trellin-Einstellungen</translation>
    </message>
    <message>
        <source>Show hidden files</source>
        <translation>Versteckte Dateien zeigen</translation>
    </message>
    <message>
        <source>Expand all rows</source>
        <translation>Alle Zeilen aufklappen</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Preview archives</source>
        <translation>Archive in der Vorschau zeigen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Folder levels:</source>
        <translation>Ordnerebenen:</translation>
    </message>
    <message>
        <source>Icon size:</source>
        <translation>Symbolgröße:</translation>
    </message>
    <message>
        <source>File managers</source>
        <translation>Dateimanager</translation>
    </message>
    <message>
        <source>“Preview Contents” in Thunar</source>
        <translation>„Inhalt anzeigen“ in Thunar</translation>
    </message>
    <message>
        <source>“Preview Contents” script in GNOME Files</source>
        <translation>Skript „Inhalt anzeigen“ in GNOME Dateien</translation>
    </message>
    <message>
        <source>Clear archive cache (%1 MB)</source>
        <translation>Archiv-Zwischenspeicher leeren (%1 MB)</translation>
    </message>
    <message>
        <source>Could not remove everything from %1.</source>
        <translation>%1 konnte nicht vollständig geleert werden.</translation>
    </message>
    <message>
        <source>Always, behind the listed rows</source>
        <translation>Immer, hinter den gelisteten Zeilen</translation>
    </message>
    <message>
        <source>Only when an item is opened</source>
        <translation>Nur wenn ein Objekt geöffnet wird</translation>
    </message>
    <message>
        <source>Extract archives:</source>
        <translation>Archive entpacken:</translation>
    </message>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>%n verwendete Entpackung wurde behalten.</numerusform>
            <numerusform>%n verwendete Entpackungen wurden behalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Folder sizes:</source>
        <translation>Ordnergrößen:</translation>
    </message>
    <message>
        <source>Of the items listed</source>
        <translation>Aus den aufgelisteten Objekten</translation>
    </message>
    <message>
        <source>Whole content, counted in the background</source>
        <translation>Ganzer Inhalt, im Hintergrund gezählt</translation>
    </message>
    <message>
        <source>Open archives inside as the tree is built</source>
        <translation>Enthaltene Archive beim Aufbau des Baums öffnen</translation>
    </message>
</context>
</TS>
