<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Localizable</name>
    <message numerus="yes">
        <source>%1$@, %2$d items</source>
        <translation>
            <numerusform>%1$@, %2$d item</numerusform>
            <numerusform>%1$@, %2$d items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%lld items</source>
        <translation>
            <numerusform>%lld item</numerusform>
            <numerusform>%lld items</numerusform>
        </translation>
    </message>
    <message><source>%@ (not extracted)</source><translation>%@ (not extracted)</translation></message>
    <message><source>The contents are encrypted and were not extracted.</source><translation>The contents are encrypted and were not extracted.</translation></message>
    <message numerus="yes">
        <source>%@ entries left out</source>
        <translation>
            <numerusform>%@ entry left out</numerusform>
            <numerusform>%@ entries left out</numerusform>
        </translation>
    </message>
    <message><source>its path leads out of the archive&apos;s folder</source><translation>its path leads out of the archive&apos;s folder</translation></message>
    <message><source>a link that leads out of the archive</source><translation>a link that leads out of the archive</translation></message>
    <message><source>a later entry of the same name replaces it</source><translation>a later entry of the same name replaces it</translation></message>
    <message><source>a file and a folder of the same name</source><translation>a file and a folder of the same name</translation></message>
    <message><source>the archive ends early; it may be cut short</source><translation>the archive ends early; it may be cut short</translation></message>
    <message><source>This kind of encryption is not supported: %1.</source><translation>This kind of encryption is not supported: %1.</translation></message>
    <message><source>The archive ends early; it may be cut short</source><translation>The archive ends early; it may be cut short</translation></message>
    <message><source>The file is not an archive that can be read, or it is damaged</source><translation>The file is not an archive that can be read, or it is damaged</translation></message>
    <message><source>There is not enough memory to read the archive</source><translation>There is not enough memory to read the archive</translation></message>
    <message><source>The archive is damaged</source><translation>The archive is damaged</translation></message>
    <message numerus="yes">
        <source>Reading… %@ entries</source>
        <translation>
            <numerusform>Reading… %@ entry</numerusform>
            <numerusform>Reading… %@ entries</numerusform>
        </translation>
    </message>
    <message><source>Extracting… %1%, %2 of %3</source><translation>Extracting… %1%, %2 of %3</translation></message>
    <message numerus="yes">
        <source>Scanning… %@ items</source>
        <translation>
            <numerusform>Scanning… %@ item</numerusform>
            <numerusform>Scanning… %@ items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %@ items so far</source>
        <translation>
            <numerusform>Listing cut short: %@ item so far</numerusform>
            <numerusform>Listing cut short: %@ items so far</numerusform>
        </translation>
    </message>
    <message><source>%@ (incomplete)</source><translation>%@ (incomplete)</translation></message>
    <message><source>Name</source><translation>Name</translation></message>
    <message><source>Date Modified</source><translation>Date Modified</translation></message>
    <message><source>Date Created</source><translation>Date Created</translation></message>
    <message><source>Date Last Opened</source><translation>Date Last Opened</translation></message>
    <message><source>Date Added</source><translation>Date Added</translation></message>
    <message><source>Size</source><translation>Size</translation></message>
    <message><source>Kind</source><translation>Kind</translation></message>
    <message><source>Tags</source><translation>Tags</translation></message>
    <message><source>Dimensions</source><translation>Dimensions</translation></message>
    <message><source>File not found.</source><translation>File not found.</translation></message>
    <message><source>Failed to unzip file.</source><translation>Failed to unzip file.</translation></message>
    <message><source>Failed to zip file.</source><translation>Failed to zip file.</translation></message>
</context>
</TS>
