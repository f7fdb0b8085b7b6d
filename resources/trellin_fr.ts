<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>ArchiveError</name>
    <message>
        <source>This kind of encryption is not supported: %1.</source>
        <translation>Ce type de chiffrement n’est pas pris en charge : %1.</translation>
    </message>
    <message>
        <source>The archive ends early; it may be cut short</source>
        <translation>L’archive se termine trop tôt ; elle est peut-être tronquée</translation>
    </message>
    <message>
        <source>The file is not an archive that can be read, or it is damaged</source>
        <translation>Le fichier n’est pas une archive lisible, ou il est endommagé</translation>
    </message>
    <message>
        <source>There is not enough memory to read the archive</source>
        <translation>La mémoire ne suffit pas pour lire l’archive</translation>
    </message>
    <message>
        <source>The archive is damaged</source>
        <translation>L’archive est endommagée</translation>
    </message>
    <message>
        <source>File not found.</source>
        <translation>Fichier introuvable.</translation>
    </message>
    <message>
        <source>Failed to unzip file.</source>
        <translation>Échec de la décompression du fichier.</translation>
    </message>
    <message>
        <source>Failed to zip file.</source>
        <translation>Échec de la compression du fichier.</translation>
    </message>
    <message>
        <source>The archive is password-protected.</source>
        <translation>L’archive est protégée par un mot de passe.</translation>
    </message>
    <message>
        <source>The password is not correct.</source>
        <translation>Le mot de passe est incorrect.</translation>
    </message>
    <message>
        <source>The archive is too large.</source>
        <translation>L’archive est trop volumineuse.</translation>
    </message>
    <message>
        <source>The extraction was cancelled.</source>
        <translation>L’extraction a été annulée.</translation>
    </message>
</context>
<context>
    <name>ArchivePreview</name>
    <message>
        <source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source>
        <translation>« %1 » est trop volumineux pour le cache des archives : %2, et le réglage cacheLimit permet %3.</translation>
    </message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message>
        <source>Zero KB</source>
        <translation>Zéro Ko</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 octet</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 To</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 Po</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 Eo</translation>
    </message>
</context>
<context>
    <name>Cells</name>
    <message>
        <source>%1 (incomplete)</source>
        <translation>%1 (incomplet)</translation>
    </message>
    <message>
        <source>%1 (not extracted)</source>
        <translation>%1 (non extrait)</translation>
    </message>
    <message>
        <source>%1 (not opened)</source>
        <translation>%1 (non ouvert)</translation>
    </message>
</context>
<context>
    <name>Host</name>
    <message>
        <source>The password is not correct. Try again:</source>
        <translation>Le mot de passe est incorrect. Réessayez :</translation>
    </message>
    <message>
        <source>“%1” is password-protected. Enter its password:</source>
        <translation>« %1 » est protégé par un mot de passe. Saisissez son mot de passe :</translation>
    </message>
    <message>
        <source>“%1” cannot be previewed.</source>
        <translation>Impossible de prévisualiser « %1 ».</translation>
    </message>
    <message>
        <source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source>
        <translation>L’aperçu des archives est désactivé : activez « Aperçu des archives » dans les réglages de Trellin, ou lancez « trellin-settings set previewZipFiles true ».</translation>
    </message>
    <message>
        <source>choose one of --dump, --text and --screenshot</source>
        <translation>choisissez une seule option parmi --dump, --text et --screenshot</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>--size takes WIDTHxHEIGHT, for example 900x560</source>
        <translation>--size attend LARGEURxHAUTEUR, par exemple 900x560</translation>
    </message>
    <message>
        <source>--sort takes KEY, KEY:asc or KEY:desc</source>
        <translation>--sort attend CLÉ, CLÉ:asc ou CLÉ:desc</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>give exactly one path</source>
        <translation>indiquez exactement un chemin</translation>
    </message>
    <message>
        <source>give the path of a folder or zip archive to preview</source>
        <translation>indiquez le chemin d’un dossier ou d’une archive zip à afficher</translation>
    </message>
    <message>
        <source>no display to show a window on: use --text, --dump or --screenshot</source>
        <translation>aucun écran pour afficher une fenêtre : utilisez --text, --dump ou --screenshot</translation>
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
        <translation>Utilisation : trellin-preview [OPTION]... CHEMIN
Affiche l’aperçu de CHEMIN, un dossier ou une archive.

  (sans mode)            affiche l’aperçu dans une fenêtre ; Espace ou Échap
                         la ferme. Une fenêtre déjà ouverte affiche CHEMIN à
                         la place
  --new-window           ouvre sa propre fenêtre même si une autre est ouverte
  --dump                 écrit l’aperçu terminé en JSON
  --text                 écrit l’aperçu terminé sous forme de tableau
  --screenshot FICHIER.png
                         dessine l’aperçu terminé dans un fichier PNG
  --size LxH             la taille du rendu (900x560 par défaut)
  --columns LISTE        affiche ces colonnes (identifiants séparés par des
                         virgules, comme « Name,Size,Tags ») et masque les
                         autres, pour cette exécution seulement
  --sort CLÉ[:asc|:desc] une fois l’aperçu prêt, trie comme le ferait un clic
                         sur l’en-tête de cette colonne (name, dateModified,
                         dateCreated, dateLastOpened, size, kind)
  --filter TEXTE         n’afficher que les éléments dont le nom contient TEXTE
                         (sans tenir compte de la casse ni des accents), et
                         les dossiers qui les contiennent
  --password-file FICHIER
                         ouvre une archive chiffrée avec le mot de passe de la
                         première ligne de FICHIER (sinon, la fenêtre le
                         demande)
  --timing               écrit sur la sortie d’erreur le temps écoulé depuis
                         le démarrage jusqu’à la fenêtre à l’écran, au premier
                         nombre d’éléments affiché, aux premières lignes
                         affichées et au contenu affiché
  --plugin FICHIER       charge le module depuis FICHIER
  -h, --help             affiche ce texte
</translation>
    </message>
</context>
<context>
    <name>InnerArchive</name>
    <message>
        <source>Not opened: %1</source>
        <translation>Non ouvert : %1</translation>
    </message>
    <message>
        <source>archives nested more than %1 deep</source>
        <translation>archives imbriquées sur plus de %1 niveaux</translation>
    </message>
    <message>
        <source>the entry is no file of its own</source>
        <translation>l’entrée n’est pas un fichier à part entière</translation>
    </message>
</context>
<context>
    <name>Integration</name>
    <message>
        <source>Preview Contents</source>
        <translation>Aperçu du contenu</translation>
    </message>
    <message>
        <source>Show the contents as a sortable tree</source>
        <translation>Affiche le contenu sous forme d’arborescence triable</translation>
    </message>
    <message>
        <source>Trellin is no longer installed (%1 is missing).</source>
        <translation>Trellin n’est plus installé (%1 est introuvable).</translation>
    </message>
    <message>
        <source>“%1” was removed from Thunar.</source>
        <translation>« %1 » a été retiré de Thunar.</translation>
    </message>
    <message>
        <source>The script “%1” was removed from GNOME Files.</source>
        <translation>Le script « %1 » a été retiré de GNOME Fichiers.</translation>
    </message>
</context>
<context>
    <name>ItemActions</name>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Reveal in File Manager</source>
        <translation>Afficher dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Copier le chemin</translation>
    </message>
    <message>
        <source>The item cannot be opened.</source>
        <translation>L’élément ne peut pas être ouvert.</translation>
    </message>
    <message>
        <source>Extract To…</source>
        <translation>Extraire vers…</translation>
    </message>
    <message>
        <source>Extract To</source>
        <translation>Extraire vers</translation>
    </message>
    <message>
        <source>Extracting…</source>
        <translation>Extraction…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Annulé.</translation>
    </message>
    <message>
        <source>The items cannot be extracted to “%1”.</source>
        <translation>Les éléments ne peuvent pas être extraits vers « %1 ».</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n élément extrait vers « %1 ».</numerusform>
            <numerusform>%n éléments extraits vers « %1 ».</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemExport</name>
    <message>
        <source>“%1” cannot be written: %2</source>
        <translation>« %1 » ne peut pas être écrit : %2</translation>
    </message>
    <message>
        <source>it cannot be extracted</source>
        <translation>il ne peut pas être extrait</translation>
    </message>
    <message>
        <source>it is inside “%1”</source>
        <translation>il se trouve dans « %1 »</translation>
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
        <translation>« %1 » ne peut pas être lu.</translation>
    </message>
    <message>
        <source>“%1” is not a folder or an archive that can be previewed.</source>
        <translation>« %1 » n’est ni un dossier ni une archive prévisualisable.</translation>
    </message>
    <message>
        <source>Extracting… %1%, %2 of %3</source>
        <translation>Extraction… %1 %, %2 sur %3</translation>
    </message>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>Lecture… %Ln entrée</numerusform>
            <numerusform>Lecture… %Ln entrées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>Analyse… %Ln élément</numerusform>
            <numerusform>Analyse… %Ln éléments</numerusform>
        </translation>
    </message>
    <message>
        <source>The contents are encrypted and were not extracted.</source>
        <translation>Le contenu est chiffré et n’a pas été extrait.</translation>
    </message>
    <message>
        <source>its path leads out of the archive&apos;s folder</source>
        <translation>son chemin sort du dossier de l’archive</translation>
    </message>
    <message>
        <source>a link that leads out of the archive</source>
        <translation>un lien qui sort de l’archive</translation>
    </message>
    <message>
        <source>a later entry of the same name replaces it</source>
        <translation>une entrée ultérieure du même nom la remplace</translation>
    </message>
    <message>
        <source>a file and a folder of the same name</source>
        <translation>un fichier et un dossier du même nom</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>« %1 » n’existe pas.</translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>Liste tronquée : %Ln élément pour l’instant</numerusform>
            <numerusform>Liste tronquée : %Ln éléments pour l’instant</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1, %Ln élément</numerusform>
            <numerusform>%1, %Ln éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln élément</numerusform>
            <numerusform>%Ln éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>%Ln entrée omise</numerusform>
            <numerusform>%Ln entrées omises</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive ends early; it may be cut short</source>
        <translation>l’archive se termine trop tôt ; elle est peut-être tronquée</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>Filtrer par nom</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 sur %Ln élément</numerusform>
            <numerusform>%1 sur %Ln éléments</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1” lies in an archive inside the one shown: only its files open.</source>
        <translation>« %1 » se trouve dans une archive contenue dans celle affichée : seuls ses fichiers s’ouvrent.</translation>
    </message>
</context>
<context>
    <name>PropertyColumn</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Date de modification</translation>
    </message>
    <message>
        <source>Date Created</source>
        <translation>Date de création</translation>
    </message>
    <message>
        <source>Date Last Opened</source>
        <translation>Date de dernière ouverture</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>Date d’ajout</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Dimensions</translation>
    </message>
</context>
<context>
    <name>SettingsTool</name>
    <message>
        <source>true or false</source>
        <translation>true ou false</translation>
    </message>
    <message>
        <source>a whole number from 2 to 5</source>
        <translation>un nombre entier de 2 à 5</translation>
    </message>
    <message>
        <source>small, large, 0 or 1</source>
        <translation>small, large, 0 ou 1</translation>
    </message>
    <message>
        <source>a whole number of 1 or more</source>
        <translation>un nombre entier de 1 ou plus</translation>
    </message>
    <message>
        <source>a size in bytes, or with K, M, G or T (powers of 1024), such as 5G</source>
        <translation>une taille en octets, ou avec K, M, G ou T (puissances de 1024), comme 5G</translation>
    </message>
    <message>
        <source>always or whenNeeded</source>
        <translation>always ou whenNeeded</translation>
    </message>
    <message>
        <source>no display to show the window on: use a command</source>
        <translation>aucun écran pour afficher la fenêtre : utilisez une commande</translation>
    </message>
    <message>
        <source>integrate takes --user, and --remove to take the entries out</source>
        <translation>integrate attend --user, et --remove pour retirer les entrées</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>commande inconnue « %1 »</translation>
    </message>
    <message>
        <source>%1 takes nothing more</source>
        <translation>%1 n’attend rien de plus</translation>
    </message>
    <message>
        <source>%1 takes a key</source>
        <translation>%1 attend une clé</translation>
    </message>
    <message>
        <source>%1 takes a key and a value</source>
        <translation>%1 attend une clé et une valeur</translation>
    </message>
    <message>
        <source>%1 takes %2, not &quot;%3&quot;</source>
        <translation>%1 attend %2, pas « %3 »</translation>
    </message>
    <message>
        <source>listed or complete</source>
        <translation>listed ou complete</translation>
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
        <translation>Utilisation : trellin-settings
  ou :  trellin-settings list | get CLÉ | set CLÉ VALEUR | reset CLÉ
  ou :  trellin-settings integrate --user [--remove]
Sans commande, ouvre la fenêtre des réglages.

  list                   chaque réglage, sa valeur et s’il vaut la valeur par
                         défaut
  get CLÉ                écrit la valeur d’un réglage
  set CLÉ VALEUR         change un réglage ; sort avec 1 s’il ne peut pas être
                         écrit
  reset CLÉ              revient à la valeur par défaut
  integrate --user       ajoute « Aperçu du contenu » aux actions personnalisées
                         de Thunar et un script à GNOME Fichiers, pour cet
                         utilisateur
  integrate --user --remove  les retire

Clés et valeurs :
  showHiddenFiles        true | false : liste les éléments dont le nom commence
                         par un point
  depthLimit             2 à 5 : combien de niveaux de dossiers sont listés
  expandAllRows          true | false : ouvre chaque dossier d’un nouvel aperçu
  iconSize               small | large (ou 0 | 1)
  previewZipFiles        true | false : affiche ou non l’aperçu des archives
  itemLimit              1 ou plus : éléments listés au plus ; un dossier plus
                         grand est coupé
  cacheLimit             TAILLE : octets que le cache des archives peut occuper
                         (5G, 512M, ...) ; par défaut un dixième de son disque,
                         20 Gio au plus
  archiveExtraction      always | whenNeeded : extrait une archive derrière ses
                         lignes listées, ou seulement quand une entrée est
                         ouverte ou qu’une colonne a besoin de ses fichiers
  expandArchives         true | false : ouvre les archives d’un dossier ou d’une
                         archive dès la construction de l’arborescence,
                         jusqu’à la limite de profondeur
  folderSizes            listed | complete : la taille d’un dossier est la somme
                         des éléments listés, ou tout son contenu, compté en
                         arrière-plan
</translation>
    </message>
    <message>
        <source>there is no setting &quot;%1&quot;; the settings are showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives and folderSizes</source>
        <translation>il n’y a pas de réglage « %1 » ; les réglages sont showHiddenFiles, depthLimit, expandAllRows, iconSize, previewZipFiles, itemLimit, cacheLimit, archiveExtraction, expandArchives et folderSizes</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Trellin Settings</source>
        <translation>Réglages de Trellin</translation>
    </message>
    <message>
        <source>Show hidden files</source>
        <translation>Afficher les fichiers cachés</translation>
    </message>
    <message>
        <source>Expand all rows</source>
        <translation>Développer toutes les lignes</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Petite</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Grande</translation>
    </message>
    <message>
        <source>Preview archives</source>
        <translation>Aperçu des archives</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Folder levels:</source>
        <translation>Niveaux de dossiers :</translation>
    </message>
    <message>
        <source>Icon size:</source>
        <translation>Taille des icônes :</translation>
    </message>
    <message>
        <source>File managers</source>
        <translation>Gestionnaires de fichiers</translation>
    </message>
    <message>
        <source>“Preview Contents” in Thunar</source>
        <translation>« Aperçu du contenu » dans Thunar</translation>
    </message>
    <message>
        <source>“Preview Contents” script in GNOME Files</source>
        <translation>Script « Aperçu du contenu » dans GNOME Fichiers</translation>
    </message>
    <message>
        <source>Clear archive cache (%1 MB)</source>
        <translation>Vider le cache des archives (%1 Mo)</translation>
    </message>
    <message>
        <source>Could not remove everything from %1.</source>
        <translation>Impossible de tout supprimer de %1.</translation>
    </message>
    <message>
        <source>Always, behind the listed rows</source>
        <translation>Toujours, derrière les lignes listées</translation>
    </message>
    <message>
        <source>Only when an item is opened</source>
        <translation>Seulement à l’ouverture d’un élément</translation>
    </message>
    <message>
        <source>Extract archives:</source>
        <translation>Extraire les archives :</translation>
    </message>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>%n extraction en cours d’utilisation a été conservée.</numerusform>
            <numerusform>%n extractions en cours d’utilisation ont été conservées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Folder sizes:</source>
        <translation>Taille des dossiers :</translation>
    </message>
    <message>
        <source>Of the items listed</source>
        <translation>Des éléments listés</translation>
    </message>
    <message>
        <source>Whole content, counted in the background</source>
        <translation>Tout le contenu, compté en arrière-plan</translation>
    </message>
    <message>
        <source>Open archives inside as the tree is built</source>
        <translation>Ouvrir les archives contenues lors de la construction de l’arborescence</translation>
    </message>
</context>
</TS>
