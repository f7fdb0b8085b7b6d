<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@, %2$d elemento</numerusform>
            <numerusform>%1$@, %2$d elementos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld elemento</numerusform>
            <numerusform>%lld elementos</numerusform>
        </translation>
    </message>
    <message><source>Name</source><translation>Nombre</translation></message>
    <message><source>Date Modified</source><translation>Fecha de modificación</translation></message>
    <message><source>Date Created</source><translation>Fecha de creación</translation></message>
    <message><source>Date Last Opened</source><translation>Fecha de última apertura</translation></message>
    <message><source>Date Added</source><translation>Fecha de adición</translation></message>
    <message><source>Size</source><translation>Tamaño</translation></message>
    <message><source>Kind</source><translation>Clase</translation></message>
    <message><source>Tags</source><translation>Etiquetas</translation></message>
    <message><source>Dimensions</source><translation>Dimensiones</translation></message>
    <message><source>File not found.</source><translation>No se encontró el archivo.</translation></message>
    <message><source>Failed to unzip file.</source><translation>No se pudo descomprimir el archivo.</translation></message>
    <message><source>Failed to zip file.</source><translation>No se pudo comprimir el archivo.</translation></message>
    <message><source>The archive is password-protected.</source><translation>El archivo comprimido está protegido con contraseña.</translation></message>
    <message><source>The password is not correct.</source><translation>La contraseña no es correcta.</translation></message>
    <message><source>%@ (not extracted)</source><translation>%@ (no extraído)</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>El contenido está cifrado y no se ha extraído.</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>%@ entrada omitida</numerusform>
            <numerusform>%@ entradas omitidas</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>su ruta sale de la carpeta del archivo</translation></message>
    <message><source>a link that leads out of the archive</source><translation>un enlace que sale del archivo</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>una entrada posterior con el mismo nombre la sustituye</translation></message>
    <message><source>a file and a folder of the same name</source><translation>un archivo y una carpeta con el mismo nombre</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>el archivo termina antes de tiempo; puede estar cortado</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>Este tipo de cifrado no es compatible: %1.</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>El archivo termina antes de tiempo; puede estar cortado</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>El archivo no es un archivo comprimido legible, o está dañado</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>No hay memoria suficiente para leer el archivo</translation></message>
    <message><source>The archive is damaged</source><translation>El archivo está dañado</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>Leyendo… %@ entrada</numerusform>
            <numerusform>Leyendo… %@ entradas</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>Extrayendo… %1 %, %2 de %3</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>Analizando… %@ elemento</numerusform>
            <numerusform>Analizando… %@ elementos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>Lista recortada: %@ elemento por ahora</numerusform>
            <numerusform>Lista recortada: %@ elementos por ahora</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@ (incompleto)</translation></message>
    <message><source>“%1” does not exist.</source><translation>«%1» no existe.</translation></message>
    <message><source>“%1” cannot be read.</source><translation>«%1» no se puede leer.</translation></message>
    <message><source>“%1” is not a folder or an archive that can be previewed.</source><translation>«%1» no es una carpeta ni un archivo comprimido que se pueda previsualizar.</translation></message>
    <message><source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source><translation>«%1» es demasiado grande para la caché de archivos: %2, y el ajuste cacheLimit permite %3.</translation></message>
    <message><source>The archive is too large.</source><translation>El archivo comprimido es demasiado grande.</translation></message>
    <message><source>The extraction was cancelled.</source><translation>Se ha cancelado la extracción.</translation></message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message><source>Zero KB</source><translation>Cero KB</translation></message>
    <message><source>%1 byte</source><translation>%1 byte</translation></message>
    <message><source>%1 bytes</source><translation>%1 bytes</translation></message>
    <message><source>%1 KB</source><translation>%1 KB</translation></message>
    <message><source>%1 MB</source><translation>%1 MB</translation></message>
    <message><source>%1 GB</source><translation>%1 GB</translation></message>
    <message><source>%1 TB</source><translation>%1 TB</translation></message>
    <message><source>%1 PB</source><translation>%1 PB</translation></message>
    <message><source>%1 EB</source><translation>%1 EB</translation></message>
</context>
<context>
    <name>Host</name>
    <message><source>The password is not correct. Try again:</source><translation>La contraseña no es correcta. Inténtelo de nuevo:</translation></message>
    <message><source>“%1” is password-protected. Enter its password:</source><translation>«%1» está protegido con contraseña. Introduzca su contraseña:</translation></message>
    <message><source>“%1” cannot be previewed.</source><translation>No se puede previsualizar «%1».</translation></message>
    <message><source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source><translation>La vista previa de archivos comprimidos está desactivada: active «Previsualizar archivos comprimidos» en la configuración de Trellin, o ejecute «trellin-settings set previewZipFiles true».</translation></message>
</context>
<context>
    <name>ItemActions</name>
    <message><source>Open</source><translation>Abrir</translation></message>
    <message><source>Reveal in File Manager</source><translation>Mostrar en el gestor de archivos</translation></message>
    <message><source>Copy Path</source><translation>Copiar ruta</translation></message>
    <message><source>The item cannot be opened.</source><translation>No se puede abrir el elemento.</translation></message>
</context>
<context>
    <name>SettingsWindow</name>
    <message><source>Trellin Settings</source><translation>Ajustes de Trellin</translation></message>
    <message><source>Show hidden files</source><translation>Mostrar archivos ocultos</translation></message>
    <message><source>Expand all rows</source><translation>Expandir todas las filas</translation></message>
    <message><source>Small</source><translation>Pequeño</translation></message>
    <message><source>Large</source><translation>Grande</translation></message>
    <message><source>Preview archives</source><translation>Previsualizar archivos comprimidos</translation></message>
    <message><source>Preview</source><translation>Vista previa</translation></message>
    <message><source>Folder levels:</source><translation>Niveles de carpetas:</translation></message>
    <message><source>Icon size:</source><translation>Tamaño de los iconos:</translation></message>
    <message><source>File managers</source><translation>Gestores de archivos</translation></message>
    <message><source>“Preview Contents” in Thunar</source><translation>«Previsualizar contenido» en Thunar</translation></message>
    <message><source>“Preview Contents” script in GNOME Files</source><translation>Script «Previsualizar contenido» en GNOME Archivos</translation></message>
    <message><source>Clear archive cache (%1 MB)</source><translation>Vaciar la caché de archivos (%1 MB)</translation></message>
    <message><source>Could not remove everything from %1.</source><translation>No se pudo eliminar todo de %1.</translation></message>
    <message><source>The settings cannot be stored.</source><translation>No se pueden guardar los ajustes.</translation></message>
    <message><source>Always, behind the listed rows</source><translation>Siempre, tras las filas listadas</translation></message>
    <message><source>Only when an item is opened</source><translation>Solo al abrir un elemento</translation></message>
    <message><source>Extract archives:</source><translation>Extraer archivos comprimidos:</translation></message>
    <message><source>1 extraction in use was kept.</source><translation>Se conservó 1 extracción en uso.</translation></message>
    <message><source>%1 extractions in use were kept.</source><translation>Se conservaron %1 extracciones en uso.</translation></message>
</context>
<context>
    <name>Integration</name>
    <message><source>Preview Contents</source><translation>Previsualizar contenido</translation></message>
    <message><source>Show the contents as a sortable tree</source><translation>Muestra el contenido como un árbol ordenable</translation></message>
    <message><source>Trellin is no longer installed (%1 is missing).</source><translation>Trellin ya no está instalado (falta %1).</translation></message>
    <message><source>“%1” was removed from Thunar.</source><translation>Se ha quitado «%1» de Thunar.</translation></message>
    <message><source>The script “%1” was removed from GNOME Files.</source><translation>Se ha quitado el script «%1» de GNOME Archivos.</translation></message>
</context>
</TS>
