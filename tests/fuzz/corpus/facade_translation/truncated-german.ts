<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- German language module of the component (ECGDeu): the texts of its
     messages, report pages and report options dialog. Loaded when the host
     product names "StillwaterDeu" as its language. -->
<TS version="2.1" language="de_DE">
<context>
    <name>CECGInterface</name>
    <message>
        <source>Cannot find ECG cable. Ensure the cable is securely connected to the computer and try again.</source>
        <translation>EKG-Kabel nicht gefunden. Vergewissern Sie sich, dass das Kabel fest mit dem Computer verbunden ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Error opening PDF file.</source>
        <translation>Fehler beim Öffnen der PDF-Datei.</translation>
    </message>
    <message>
        <source>Function not available</source>
        <translation>Funktion nicht verfügbar</translation>
    </message>
    <message>
        <source>JPEG Files (*.jpg)|*.jpg|</source>
        <translation>JPEG-Dateien (*.jpg)|*.jpg|</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)|*.pdf|</source>
        <translation>PDF-Dateien (*.pdf)|*.pdf|</translation>
    </message>
    <message>
        <source>Save PDF File As</source>
        <translation>PDF-Datei speichern unter</translation>
    </message>
    <message>
        <source>TIFF Files (*.tif)|*