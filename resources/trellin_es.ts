<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>ArchiveError</name>
    <message>
        <source>This kind of encryption is not supported: %1.</source>
        <translation>Este tipo de cifrado no es compatible: %1.</translation>
    </message>
    <message>
        <source>The archive ends early; it may be cut short</source>
        <translation>El archivo termina antes de tiempo; puede estar cortado</translation>
    </message>
    <message>
        <source>The file is not an archive that can be read, or it is damaged</source>
        <translation>El archivo no es un archivo comprimido legible, o está dañado</translation>
    </message>
    <message>
        <source>There is not enough memory to read the archive</source>
        <translation>No hay memoria suficiente para leer el archivo</translation>
    </message>
    <message>
        <source>The archive is damaged</source>
        <translation>El archivo está dañado</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>No se encontró el archivo.</translation>
    </message>
    <message>
        <source>Failed to unzip file.</source>
        <translation>No se pudo descomprimir el archivo.</translation>
    </message>
    <message>
        <source>Failed to zip file.</source>
        <translation>No se pudo comprimir el archivo.</translation>
    </message>
    <message>
        <source>The archive is password-protected.</source>
        <translation>El archivo comprimido está protegido con contraseña.</translation>
    </message>
    <message>
        <source>The password is not correct.</source>
        <translation>La contraseña no es correcta.</translation>
    </message>
    <message>
        <source>The archive is too large.</source>
        <translation>El archivo comprimido es demasiado grande.</translation>
    </message>
    <message>
        <source>The extraction was cancelled.</source>
        <translation>Se ha cancelado la extracción.</translation>
    </message>
</context>
<context>
    <name>ArchivePreview</name>
    <message>
        <source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source>
        <translation>«%1» es demasiado grande para la caché de archivos: %2, y el ajuste cacheLimit permite %3.</translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Cero KB</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 bytes</translation>
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
        <translation>%1 (incompleto)</translation>
    </message>
    <message>
        <source>%1 (not extracted)</source>
        <translation>%1 (no extraído)</translation>
    </message>
    <message>
        <source>%1 (not opened)</source>
        <translation>%1 (no abierto)</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>The password is not correct. Try again:</source>
        <translation>La contraseña no es correcta. Inténtelo de nuevo:</translation>
    </message>
    <message>
        <source>“%1” is password-protected. Enter its password:</source>
        <translation>«%1» está protegido con contraseña. Introduzca su contraseña:</translation>
    </message>
    <message>
        <source>“%1” cannot be previewed.</source>
        <translation>No se puede previsualizar «%1».</translation>
    </message>
    <message>
        <source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source>
        <translation>La vista previa de archivos comprimidos está desactivada: active «Previsualizar archivos comprimidos» en la configuración de Trellin, o ejecute «trellin-settings set previewZipFiles true».</translation>
    </message>
    <message>
        <source>choose one of --dump, --text and --screenshot</source>
        <translation>elija solo uno de --dump, --text y --screenshot</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 necesita un valor</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, for example 900x560</source>
        <translation>--size espera ANCHOxALTO, por ejemplo 900x560</translation>
    </message>
    <message>
        <source>--sort takes KEY, KEY:asc or KEY:desc</source>
        <translation>--sort espera CLAVE, CLAVE:asc o CLAVE:desc</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>give exactly one path</source>
        <translation>indique exactamente una ruta</translation>
    </message>
    <message>
        <source>give the path of a folder or zip archive to preview</source>
        <translation>indique la ruta de una carpeta o un archivo zip que previsualizar</translation>
    </message>
    <message>
        <source>no display to show a window on: use --text, --dump or --screenshot</source>
        <translation>no hay pantalla en la que mostrar una ventana: use --text, --dump o --screenshot</translation>
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
        <translation>Uso: trellin-preview [OPCIÓN]... RUTA
Previsualiza RUTA, una carpeta o un archivo comprimido.

  (sin modo)             muestra la vista previa en una ventana; Espacio o
                         Escape la cierra. Si ya hay una ventana abierta, es
                         ella la que muestra RUTA
  --new-window           abre una ventana propia aunque ya haya una abierta
  --dump                 imprime la vista previa terminada en JSON
  --text                 imprime la vista previa terminada como una tabla
  --screenshot ARCHIVO.png
                         dibuja la vista previa terminada en un archivo PNG
  --size AxA             el tamaño del dibujo (900x560 por omisión)
  --columns LISTA        muestra estas columnas (identificadores separados por
                         comas, como &quot;Name,Size,Tags&quot;) y oculta las demás,
                         solo en esta ejecución
  --sort CLAVE[:asc|:desc]
                         cuando la vista previa está lista, ordena como lo
                         haría un clic en la cabecera de esa columna (name,
                         dateModified, dateCreated, dateLastOpened, size, kind)
  --filter TEXTO         mostrar solo los elementos cuyo nombre contiene TEXTO
                         (sin distinguir mayúsculas ni acentos) y las carpetas
                         que los contienen
  --password-file ARCHIVO
                         abre un archivo comprimido cifrado con la contraseña
                         de la primera línea de ARCHIVO (la ventana la pide
                         en su lugar)
  --timing               imprime en la salida de error el tiempo desde el
                         inicio hasta la ventana en pantalla, hasta el primer
                         recuento de elementos mostrado, hasta las primeras
                         filas mostradas y hasta el contenido mostrado
  --plugin ARCHIVO       carga el complemento desde ARCHIVO
  -h, --help             imprime este texto
</translation>
    </message>
</context>
<context>
    <name>InnerArchive</name>
    <message>
        <source>Not opened: %1</source>
        <translation>No abierto: %1</translation>
    </message>
    <message>
        <source>archives nested more than %1 deep</source>
        <translation>archivos comprimidos anidados en más de %1 niveles</translation>
    </message>
    <message>
        <source>the entry is no file of its own</source>
        <translation>la entrada no es un archivo propio</translation>
    </message>
</context>
<context>
    <name>Integration</name>
    <message>
        <source>Preview Contents</source>
        <translation>Previsualizar contenido</translation>
    </message>
    <message>
        <source>Show the contents as a sortable tree</source>
        <translation>Muestra el contenido como un árbol ordenable</translation>
    </message>
    <message>
        <source>Trellin is no longer installed (%1 is missing).</source>
        <translation>Trellin ya no está instalado (falta %1).</translation>
    </message>
    <message>
        <source>“%1” was removed from Thunar.</source>
        <translation>Se ha quitado «%1» de Thunar.</translation>
    </message>
    <message>
        <source>The script “%1” was removed from GNOME Files.</source>
        <translation>Se ha quitado el script «%1» de GNOME Archivos.</translation>
    </message>
</context>
<context>
    <name>ItemActions</name>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Reveal in File Manager</source>
        <translation>Mostrar en el gestor de archivos</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Copiar ruta</translation>
    </message>
    <message>
        <source>The item cannot be opened.</source>
        <translation>No se puede abrir el elemento.</translation>
    </message>
    <message>
        <source>Extract To…</source>
        <translation>Extraer en…</translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation>Extraer en</translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation>Extrayendo…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Cancelado.</translation>
    </message>
    <message>
        <source>The items cannot be extracted to “%1”.</source>
        <translation>Los elementos no se pueden extraer en «%1».</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n elemento extraído en «%1».</numerusform>
            <numerusform>%n elementos extraídos en «%1».</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemExport</name>
    <message>
        <source>“%1” cannot be written: %2</source>
        <translation>No se puede escribir «%1»: %2</translation>
    </message>
    <message>
        <source>it cannot be extracted</source>
        <translation>no se puede extraer</translation>
    </message>
    <message>
        <source>it is inside “%1”</source>
        <translation>está dentro de «%1»</translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>“%1” cannot be read.</source>
        <translation>«%1» no se puede leer.</translation>
    </message>
    <message>
        <source>“%1” is not a folder or an archive that can be previewed.</source>
        <translation>«%1» no es una carpeta ni un archivo comprimido que se pueda previsualizar.</translation>
    </message>
    <message>
        <source>Extracting… %1%, %2 of %3</source>
        <translation>Extrayendo… %1 %, %2 de %3</translation>
    </message>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>Leyendo… %Ln entrada</numerusform>
            <numerusform>Leyendo… %Ln entradas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>Analizando… %Ln elemento</numerusform>
            <numerusform>Analizando… %Ln elementos</numerusform>
        </translation>
    </message>
    <message>
        <source>The contents are encrypted and were not extracted.</source>
        <translation>El contenido está cifrado y no se ha extraído.</translation>
    </message>
    <message>
        <source>its path leads out of the archive&apos;s folder</source>
        <translation>su ruta sale de la carpeta del archivo</translation>
    </message>
    <message>
        <source>a link that leads out of the archive</source>
        <translation>un enlace que sale del archivo</translation>
    </message>
    <message>
        <source>a later entry of the same name replaces it</source>
        <translation>una entrada posterior con el mismo nombre la sustituye</translation>
    </message>
    <message>
        <source>a file and a folder of the same name</source>
        <translation>un archivo y una carpeta con el mismo nombre</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>«%1» no existe.</translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>Lista recortada: %Ln elemento por ahora</numerusform>
            <numerusform>Lista recortada: %Ln elementos por ahora</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1, %Ln elemento</numerusform>
            <numerusform>%1, %Ln elementos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln elemento</numerusform>
            <numerusform>%Ln elementos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>%Ln entrada omitida</numerusform>
            <numerusform>%Ln entradas omitidas</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive ends early; it may be cut short</source>
        <translation>el archivo termina antes de tiempo; puede estar cortado</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>Filtrar por nombre</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtro</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 de %Ln elemento</numerusform>
            <numerusform>%1 de %Ln elementos</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” lies in an archive inside the one shown: only its files open.</source>
        <translation>«%1» está en un archivo comprimido dentro del mostrado: solo se abren sus archivos.</translation>
    </message>
</context>
<context>
    <name>PropertyColumn</name>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Fecha de modificación</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>Fecha de creación</translation>
    </message>
    <message>
        <source>Date Last Opened</source>
        <translation>Fecha de última apertura</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>Fecha de adición</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Clase</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Etiquetas</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Dimensiones</translation>
    </message>
</context>
<context>
    <name>SettingsTool</name>
    <message>
        <source>true or false</source>
        <translation>true o false</translation>
    </message>
    <message>
        <source>a whole number from 2 to 5</source>
        <translation>un número entero de 2 a 5</translation>
    </message>
    <message>
        <source>small, large, 0 or 1</source>
        <translation>small, large, 0 o 1</translation>
    </message>
    <message>
        <source>a whole number of 1 or more</source>
        <translation>un número entero de 1 o más</translation>
    </message>
    <message>
        <source>a size in bytes, or with K, M, G or T (powers of 1024), such as 5G</source>
        <translation>un tamaño en bytes, o con K, M, G o T (potencias de 1024), como 5G</translation>
    </message>
    <message>
        <source>always or whenNeeded</source>
        <translation>always o whenNeeded</translation>
    </message>
    <message>
        <source>no display to show the window on: use a command</source>
        <translation>no hay pantalla en la que mostrar la ventana: use una orden</translation>
    </message>
    <message>
        <source>integrate takes --user, and --remove to take the entries out</source>
        <translation>integrate espera --user, y --remove para quitar las entradas</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>orden desconocida «%1»</translation>
    </message>
    <message>
        <source>%1 takes nothing more</source>
        <translation>%1 no admite nada más</translation>
    </message>
    <message>
        <source>%1 takes a key</source>
        <translation>%1 espera una clave</translation>
    </message>
    <message>
        <source>%1 takes a key and a value</source>
        <translation>%1 espera una clave y un valor</translation>
    </message>
    <message>
        <source>%1 takes %2, not &quot;%3&quot;</source>
        <translation>%1 espera %2, no «%3»</translation>
    </message>
    <message>
        <source>listed or complete</source>
        <translation>listed o complete</translation>
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
        <translation>Uso: trellin-settings
  o:   trellin-settings list | get CLAVE | set CLAVE VALOR | reset CLAVE
  o:   trellin-settings integrate --user [--remove]
Sin una orden, abre la ventana de configuración.

  list                   cada ajuste, su valor y si es el predeterminado
  get CLAVE              imprime el valor de un ajuste
  set CLAVE VALOR        cambia un ajuste; termina con 1 si no se puede escribir
  reset CLAVE            vuelve al valor predeterminado
  integrate --user       añade «Previsualizar contenido» a las acciones
                         personalizadas de Thunar y un script de GNOME Archivos,
                         para este usuario
  integrate --user --remove  los vuelve a quitar

Claves y valores:
  showHiddenFiles        true | false: lista los elementos cuyo nombre empieza
                         por un punto
  depthLimit             2 a 5: cuántos niveles de carpetas se listan
  expandAllRows          true | false: abre todas las carpetas de una vista
                         previa nueva
  iconSize               small | large (o 0 | 1)
  previewZipFiles        true | false: previsualiza o no los archivos comprimidos
  itemLimit              1 o más: elementos listados como máximo; una carpeta
                         mayor se corta
  cacheLimit             TAMAÑO: bytes que puede ocupar la caché de archivos
                         comprimidos (5G, 512M, ...); por omisión, una décima
                         parte de su disco, como máximo 20 GiB
  archiveExtraction      always | whenNeeded: extrae un archivo comprimido tras
                         sus filas listadas, o solo cuando se abre una entrada
                         o una columna necesita sus archivos
  expandArchives         true | false: abre los archivos comprimidos de una
                         carpeta o de otro archivo al construir el árbol,
                         hasta el límite de profundidad
  folderSizes            listed | complete: el tamaño de una carpeta es la suma
                         de los elementos listados, o todo su contenido,
                         contado en segundo plano
</translation>
    </message>
    <message>
        <source>there is no setting &quot;%1&quot;; the settings are showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes</source>
        <translation>no existe el ajuste «%1»; los ajustes son showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives y folderSizes</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Trellin Settings</source>
        <translation>Ajustes de Trellin</translation>
    </message>
    <message>
        <source>Show hidden files</source>
        <translation>Mostrar archivos ocultos</translation>
    </message>
    <message>
        <source>Expand all rows</source>
        <translation>Expandir todas las filas</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Pequeño</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Preview archives</source>
        <translation>Previsualizar archivos comprimidos</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Folder levels:</source>
        <translation>Niveles de carpetas:</translation>
    </message>
    <message>
        <source>Icon size:</source>
        <translation>Tamaño de los iconos:</translation>
    </message>
    <message>
        <source>File managers</source>
        <translation>Gestores de archivos</translation>
    </message>
    <message>
        <source>“Preview Contents” in Thunar</source>
        <translation>«Previsualizar contenido» en Thunar</translation>
    </message>
    <message>
        <source>“Preview Contents” script in GNOME Files</source>
        <translation>Script «Previsualizar contenido» en GNOME Archivos</translation>
    </message>
    <message>
        <source>Clear archive cache (%1 MB)</source>
        <translation>Vaciar la caché de archivos (%1 MB)</translation>
    </message>
    <message>
        <source>Could not remove everything from %1.</source>
        <translation>No se pudo eliminar todo de %1.</translation>
    </message>
    <message>
        <source>Always, behind the listed rows</source>
        <translation>Siempre, tras las filas listadas</translation>
    </message>
    <message>
        <source>Only when an item is opened</source>
        <translation>Solo al abrir un elemento</translation>
    </message>
    <message>
        <source>Extract archives:</source>
        <translation>Extraer archivos comprimidos:</translation>
    </message>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>Se conservó %n extracción en uso.</numerusform>
            <numerusform>Se conservaron %n extracciones en uso.</numerusform>
        </translation>
    </message>
    <message>
        <source>Folder sizes:</source>
        <translation>Tamaño de las carpetas:</translation>
    </message>
    <message>
        <source>Of the items listed</source>
        <translation>De los elementos listados</translation>
    </message>
    <message>
        <source>Whole content, counted in the background</source>
        <translation>Todo el contenido, contado en segundo plano</translation>
    </message>
    <message>
        <source>Open archives inside as the tree is built</source>
        <translation>Abrir los archivos comprimidos contenidos al construir el árbol</translation>
    </message>
</context>
</TS>
