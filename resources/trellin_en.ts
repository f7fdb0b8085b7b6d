<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>ItemActions</name>
    <message numerus="yes">
        <source>%n item(s) extracted to “%1”.</source>
        <translation>
            <numerusform>%n item extracted to “%1”.</numerusform>
            <numerusform>%n items extracted to “%1”.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PreviewViewController</name>
    <message numerus="yes">
        <source>Reading… %Ln entries</source>
        <translation>
            <numerusform>Reading… %Ln entry</numerusform>
            <numerusform>Reading… %Ln entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scanning… %Ln items</source>
        <translation>
            <numerusform>Scanning… %Ln item</numerusform>
            <numerusform>Scanning… %Ln items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Listing cut short: %Ln items so far</source>
        <translation>
            <numerusform>Listing cut short: %Ln item so far</numerusform>
            <numerusform>Listing cut short: %Ln items so far</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln items</source>
        <translation>
            <numerusform>%1, %Ln item</numerusform>
            <numerusform>%1, %Ln items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln items</source>
        <translation>
            <numerusform>%Ln item</numerusform>
            <numerusform>%Ln items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln entries left out</source>
        <translation>
            <numerusform>%Ln entry left out</numerusform>
            <numerusform>%Ln entries left out</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %Ln items</source>
        <translation>
            <numerusform>%1 of %Ln item</numerusform>
            <numerusform>%1 of %Ln items</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message numerus="yes">
        <source>%n extractions in use were kept.</source>
        <translation>
            <numerusform>%n extraction in use was kept.</numerusform>
            <numerusform>%n extractions in use were kept.</numerusform>
        </translation>
    </message>
</context>
</TS>
