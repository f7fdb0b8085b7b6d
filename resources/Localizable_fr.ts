<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@, %2$d élément</numerusform>
            <numerusform>%1$@, %2$d éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld élément</numerusform>
            <numerusform>%lld éléments</numerusform>
        </translation>
    </message>
    <message><source>Name</source><translation>Nom</translation></message>
    <message><source>Date Modified</source><translation>Date de modification</translation></message>
    <message><source>Date Created</source><translation>Date de création</translation></message>
    <message><source>Date Last Opened</source><translation>Date de dernière ouverture</translation></message>
    <message><source>Date Added</source><translation>Date d’ajout</translation></message>
    <message><source>Size</source><translation>Taille</translation></message>
    <message><source>Kind</source><translation>Type</translation></message>
    <message><source>Tags</source><translation>Tags</translation></message>
    <message><source>Dimensions</source><translation>Dimensions</translation></message>
    <message><source>File not found.</source><translation>Fichier introuvable.</translation></message>
    <message><source>Failed to unzip file.</source><translation>Échec de la décompression du fichier.</translation></message>
    <message><source>Failed to zip file.</source><translation>Échec de la compression du fichier.</translation></message>
    <message><source>The archive is password-protected.</source><translation>L’archive est protégée par un mot de passe.</translation></message>
    <message><source>The password is not correct.</source><translation>Le mot de passe est incorrect.</translation></message>
    <message><source>%@ (not extracted)</source><translation>%@ (non extrait)</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>Le contenu est chiffré et n’a pas été extrait.</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>%@ entrée omise</numerusform>
            <numerusform>%@ entrées omises</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>son chemin sort du dossier de l’archive</translation></message>
    <message><source>a link that leads out of the archive</source><translation>un lien qui sort de l’archive</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>une entrée ultérieure du même nom la remplace</translation></message>
    <message><source>a file and a folder of the same name</source><translation>un fichier et un dossier du même nom</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>l’archive se termine trop tôt ; elle est peut-être tronquée</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>Ce type de chiffrement n’est pas pris en charge : %1.</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>L’archive se termine trop tôt ; elle est peut-être tronquée</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>Le fichier n’est pas une archive lisible, ou il est endommagé</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>La mémoire ne suffit pas pour lire l’archive</translation></message>
    <message><source>The archive is damaged</source><translation>L’archive est endommagée</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>Lecture… %@ entrée</numerusform>
            <numerusform>Lecture… %@ entrées</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>Extraction… %1 %, %2 sur %3</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>Analyse… %@ élément</numerusform>
            <numerusform>Analyse… %@ éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>Liste tronquée : %@ élément pour l’instant</numerusform>
            <numerusform>Liste tronquée : %@ éléments pour l’instant</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@ (incomplet)</translation></message>
    <message><source>“%1” does not exist.</source><translation>« %1 » n’existe pas.</translation></message>
    <message><source>“%1” cannot be read.</source><translation>« %1 » ne peut pas être lu.</translation></message>
    <message><source>“%1” is not a folder or an archive that can be previewed.</source><translation>« %1 » n’est ni un dossier ni une archive prévisualisable.</translation></message>
    <message><source>“%1” is too large for the archive cache: %2, and the cacheLimit setting allows %3.</source><translation>« %1 » est trop volumineux pour le cache des archives : %2, et le réglage cacheLimit permet %3.</translation></message>
    <message><source>The archive is too large.</source><translation>L’archive est trop volumineuse.</translation></message>
    <message><source>The extraction was cancelled.</source><translation>L’extraction a été annulée.</translation></message>
</context>
<context>
    <name>ByteCountFormatter</name>
    <message><source>Zero KB</source><translation>Zéro Ko</translation></message>
    <message><source>%1 byte</source><translation>%1 octet</translation></message>
    <message><source>%1 bytes</source><translation>%1 octets</translation></message>
    <message><source>%1 KB</source><translation>%1 Ko</translation></message>
    <message><source>%1 MB</source><translation>%1 Mo</translation></message>
    <message><source>%1 GB</source><translation>%1 Go</translation></message>
    <message><source>%1 TB</source><translation>%1 To</translation></message>
    <message><source>%1 PB</source><translation>%1 Po</translation></message>
    <message><source>%1 EB</source><translation>%1 Eo</translation></message>
</context>
<context>
    <name>Host</name>
    <message><source>The password is not correct. Try again:</source><translation>Le mot de passe est incorrect. Réessayez :</translation></message>
    <message><source>“%1” is password-protected. Enter its password:</source><translation>« %1 » est protégé par un mot de passe. Saisissez son mot de passe :</translation></message>
    <message><source>“%1” cannot be previewed.</source><translation>Impossible de prévisualiser « %1 ».</translation></message>
    <message><source>Archive previews are switched off: turn on “Preview archives” in Trellin Settings, or run “trellin-settings set previewZipFiles true”.</source><translation>L’aperçu des archives est désactivé : activez « Aperçu des archives » dans les réglages de Trellin, ou lancez « trellin-settings set previewZipFiles true ».</translation></message>
</context>
<context>
    <name>ItemActions</name>
    <message><source>Open</source><translation>Ouvrir</translation></message>
    <message><source>Reveal in File Manager</source><translation>Afficher dans le gestionnaire de fichiers</translation></message>
    <message><source>Copy Path</source><translation>Copier le chemin</translation></message>
    <message><source>The item cannot be opened.</source><translation>L’élément ne peut pas être ouvert.</translation></message>
</context>
<context>
    <name>SettingsWindow</name>
    <message><source>Trellin Settings</source><translation>Réglages de Trellin</translation></message>
    <message><source>Show hidden files</source><translation>Afficher les fichiers cachés</translation></message>
    <message><source>Expand all rows</source><translation>Développer toutes les lignes</translation></message>
    <message><source>Small</source><translation>Petite</translation></message>
    <message><source>Large</source><translation>Grande</translation></message>
    <message><source>Preview archives</source><translation>Aperçu des archives</translation></message>
    <message><source>Preview</source><translation>Aperçu</translation></message>
    <message><source>Folder levels:</source><translation>Niveaux de dossiers :</translation></message>
    <message><source>Icon size:</source><translation>Taille des icônes :</translation></message>
    <message><source>File managers</source><translation>Gestionnaires de fichiers</translation></message>
    <message><source>“Preview Contents” in Thunar</source><translation>« Aperçu du contenu » dans Thunar</translation></message>
    <message><source>“Preview Contents” script in GNOME Files</source><translation>Script « Aperçu du contenu » dans GNOME Fichiers</translation></message>
    <message><source>Clear archive cache (%1 MB)</source><translation>Vider le cache des archives (%1 Mo)</translation></message>
    <message><source>Could not remove everything from %1.</source><translation>Impossible de tout supprimer de %1.</translation></message>
    <message><source>The settings cannot be stored.</source><translation>Les réglages ne peuvent pas être enregistrés.</translation></message>
    <message><source>Always, behind the listed rows</source><translation>Toujours, derrière les lignes listées</translation></message>
    <message><source>Only when an item is opened</source><translation>Seulement à l’ouverture d’un élément</translation></message>
    <message><source>Extract archives:</source><translation>Extraire les archives :</translation></message>
    <message><source>1 extraction in use was kept.</source><translation>1 extraction en cours d’utilisation a été conservée.</translation></message>
    <message><source>%1 extractions in use were kept.</source><translation>%1 extractions en cours d’utilisation ont été conservées.</translation></message>
</context>
<context>
    <name>Integration</name>
    <message><source>Preview Contents</source><translation>Aperçu du contenu</translation></message>
    <message><source>Show the contents as a sortable tree</source><translation>Affiche le contenu sous forme d’arborescence triable</translation></message>
    <message><source>Trellin is no longer installed (%1 is missing).</source><translation>Trellin n’est plus installé (%1 est introuvable).</translation></message>
    <message><source>“%1” was removed from Thunar.</source><translation>« %1 » a été retiré de Thunar.</translation></message>
    <message><source>The script “%1” was removed from GNOME Files.</source><translation>Le script « %1 » a été retiré de GNOME Fichiers.</translation></message>
</context>
</TS>
