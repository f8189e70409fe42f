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
        <source>TIFF Files (*.tif)|*.tif||</source>
        <translation>TIFF-Dateien (*.tif)|*.tif||</translation>
    </message>
    <message>
        <source>The About dialog is not available in this build.</source>
        <translation>Das Info-Fenster ist in dieser Version nicht verfügbar.</translation>
    </message>
    <message>
        <source>The patient details dialog is not available in this build.</source>
        <translation>Der Dialog für Patientendaten ist in dieser Version nicht verfügbar.</translation>
    </message>
    <message>
        <source>The review window is not available in this build.</source>
        <translation>Das Befundungsfenster ist in dieser Version nicht verfügbar.</translation>
    </message>
    <message>
        <source>The settings sheet is not available in this build.</source>
        <translation>Die Einstellungen sind in dieser Version nicht verfügbar.</translation>
    </message>
    <message>
        <source>Vie&amp;w PDF File</source>
        <translation>PDF-Datei &amp;anzeigen</translation>
    </message>
</context>
<context>
    <name>CECGPrint</name>
    <message>
        <source>(%1 years)</source>
        <translation>(%1 Jahre)</translation>
    </message>
    <message>
        <source>3x2 Sequential ECG Report</source>
        <translation>3x2 sequenzieller EKG-Bericht</translation>
    </message>
    <message>
        <source>3x2 Simultaneous ECG Report</source>
        <translation>3x2 simultaner EKG-Bericht</translation>
    </message>
    <message>
        <source>3x4 Sequential ECG Report</source>
        <translation>3x4 sequenzieller EKG-Bericht</translation>
    </message>
    <message>
        <source>3x4 Simultaneous ECG Report</source>
        <translation>3x4 simultaner EKG-Bericht</translation>
    </message>
    <message>
        <source>6x1 ECG Report</source>
        <translation>6x1 EKG-Bericht</translation>
    </message>
    <message>
        <source>6x1 Simultaneous ECG Report</source>
        <translation>6x1 simultaner EKG-Bericht</translation>
    </message>
    <message>
        <source>6x2 ECG Report</source>
        <translation>6x2 EKG-Bericht</translation>
    </message>
    <message>
        <source>Amplitude (mm) @ %1 mm/mV</source>
        <translation>Amplitude (mm) bei %1 mm/mV</translation>
    </message>
    <message>
        <source>Amplitude (μV)</source>
        <translation>Amplitude (μV)</translation>
    </message>
    <message>
        <source>At least one report type must be selected in order to print.</source>
        <translation>Zum Drucken muss mindestens ein Berichtstyp ausgewählt sein.</translation>
    </message>
    <message>
        <source>Averaged Complexes ECG Report</source>
        <translation>EKG-Bericht gemittelte Komplexe</translation>
    </message>
    <message>
        <source>Averaged complexes report is not available on ECG data that is missing measurements.  If you need this report, please open the ECG and select the Re-Analyze menu.</source>
        <translation>Der Bericht der gemittelten Komplexe ist für EKG-Daten ohne Messwerte nicht verfügbar.  Wenn Sie diesen Bericht benötigen, öffnen Sie bitte das EKG und wählen Sie das Menü „Neu analysieren“.</translation>
    </message>
    <message>
        <source>Avg Zoom Report</source>
        <translation>Zoom-Bericht gemittelter Komplex</translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Kommentare:</translation>
    </message>
    <message>
        <source>Data must be reviewed by a qualified physician.</source>
        <translation>Die Daten müssen von einem qualifizierten Arzt geprüft werden.</translation>
    </message>
    <message>
        <source>Date of Birth:</source>
        <translation>Geburtsdatum:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Gerät:</translation>
    </message>
    <message>
        <source>Duration (ms)</source>
        <translation>Dauer (ms)</translation>
    </message>
    <message>
        <source>ECG Measurements Report</source>
        <translation>EKG-Messwertbericht</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Failed to print.  The error reported by the printer is:

%1.

Please select a working printer and try again.</source>
        <translation>Drucken fehlgeschlagen.  Der Drucker meldet folgenden Fehler:

%1.

Bitte wählen Sie einen funktionierenden Drucker und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Female</source>
        <translation>Weiblich</translation>
    </message>
    <message>
        <source>Gender:</source>
        <translation>Geschlecht:</translation>
    </message>
    <message>
        <source>Heart Rate:</source>
        <translation>Herzfrequenz:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>Interpretation (Confirmed)</source>
        <translation>Befund (bestätigt)</translation>
    </message>
    <message>
        <source>Interpretation (Unconfirmed)</source>
        <translation>Befund (unbestätigt)</translation>
    </message>
    <message>
        <source>JPEG output may not be to scale.</source>
        <translation>Die JPEG-Ausgabe ist möglicherweise nicht maßstabsgetreu.</translation>
    </message>
    <message>
        <source>Lead </source>
        <translation>Ableitung </translation>
    </message>
    <message>
        <source>Male</source>
        <translation>Männlich</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Measurements report is not available on ECG data that is missing measurements.  If you need this report, please open the ECG and select the Re-Analyze menu.</source>
        <translation>Der Messwertbericht ist für EKG-Daten ohne Messwerte nicht verfügbar.  Wenn Sie diesen Bericht benötigen, öffnen Sie bitte das EKG und wählen Sie das Menü „Neu analysieren“.</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>P Duration:</source>
        <translation>P-Dauer:</translation>
    </message>
    <message>
        <source>P,QRS,T Axis:</source>
        <translation>P-, QRS-, T-Achse:</translation>
    </message>
    <message>
        <source>PR Interval:</source>
        <translation>PR-Intervall:</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Patient Details</source>
        <translation>Patientendaten</translation>
    </message>
    <message>
        <source>Printed: %1</source>
        <translation>Gedruckt: %1</translation>
    </message>
    <message>
        <source>QRS Duration:</source>
        <translation>QRS-Dauer:</translation>
    </message>
    <message>
        <source>QT Interval:</source>
        <translation>QT-Intervall:</translation>
    </message>
    <message>
        <source>QTc Interval:</source>
        <translation>QTc-Intervall:</translation>
    </message>
    <message>
        <source>Recorded:</source>
        <translation>Aufgezeichnet:</translation>
    </message>
    <message>
        <source>Recording Details</source>
        <translation>Aufzeichnungsdaten</translation>
    </message>
    <message>
        <source>Scale: </source>
        <translation>Maßstab: </translation>
    </message>
    <message>
        <source>Single Lead Report</source>
        <translation>Einzelableitungsbericht</translation>
    </message>
    <message>
        <source>Slope (mm/s)</source>
        <translation>Steigung (mm/s)</translation>
    </message>
    <message>
        <source>Slope (μV/s)</source>
        <translation>Steigung (μV/s)</translation>
    </message>
    <message>
        <source>TIFF output may not be to scale.</source>
        <translation>Die TIFF-Ausgabe ist möglicherweise nicht maßstabsgetreu.</translation>
    </message>
    <message>
        <source>Tidemark ECG resting electrocardiograph</source>
        <translation>Tidemark EKG Ruhe-Elektrokardiograph</translation>
    </message>
    <message>
        <source>Type </source>
        <translation>Typ </translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Weight:</source>
        <translation>Gewicht:</translation>
    </message>
    <message>
        <source>Write XML Error</source>
        <translation>Fehler beim Schreiben der XML-Datei</translation>
    </message>
    <message>
        <source>Zoom Report</source>
        <translation>Zoom-Bericht</translation>
    </message>
    <message>
        <source>no such printer: %1</source>
        <translation>Drucker nicht vorhanden: %1</translation>
    </message>
    <message>
        <source>not defined</source>
        <translation>nicht definiert</translation>
    </message>
    <message>
        <source>the preview could not draw the pages</source>
        <translation>die Vorschau konnte die Seiten nicht zeichnen</translation>
    </message>
    <message>
        <source>the printer could not start the job</source>
        <translation>der Drucker konnte den Auftrag nicht starten</translation>
    </message>
</context>
<context>
    <name>CECGPrintDialog</name>
    <message>
        <source>10 mm/mV</source>
        <translation>10 mm/mV</translation>
    </message>
    <message>
        <source>12 Lead Reports</source>
        <translation>12-Kanal-Berichte</translation>
    </message>
    <message>
        <source>12.5 mm/s</source>
        <translation>12,5 mm/s</translation>
    </message>
    <message>
        <source>20 mm/mV</source>
        <translation>20 mm/mV</translation>
    </message>
    <message>
        <source>25 mm/s</source>
        <translation>25 mm/s</translation>
    </message>
    <message>
        <source>3x2 Sequential</source>
        <translation>3x2 sequenziell</translation>
    </message>
    <message>
        <source>3x2 Simultaneous</source>
        <translation>3x2 simultan</translation>
    </message>
    <message>
        <source>3x4 Sequential</source>
        <translation>3x4 sequenziell</translation>
    </message>
    <message>
        <source>3x4 Simultaneous</source>
        <translation>3x4 simultan</translation>
    </message>
    <message>
        <source>5 mm/mV</source>
        <translation>5 mm/mV</translation>
    </message>
    <message>
        <source>50 mm/s</source>
        <translation>50 mm/s</translation>
    </message>
    <message>
        <source>6 Lead Reports</source>
        <translation>6-Kanal-Berichte</translation>
    </message>
    <message>
        <source>6x1 Format (1 Page)</source>
        <translation>6x1-Format (1 Seite)</translation>
    </message>
    <message>
        <source>6x1 Format (2 Pages)</source>
        <translation>6x1-Format (2 Seiten)</translation>
    </message>
    <message>
        <source>6x2 Format</source>
        <translation>6x2-Format</translation>
    </message>
    <message>
        <source>Averaged Complex</source>
        <translation>Gemittelter Komplex</translation>
    </message>
    <message>
        <source>Averaged Complexes</source>
        <translation>Gemittelte Komplexe</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>Dotted</source>
        <translation>Gepunktet</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Einschließen</translation>
    </message>
    <message>
        <source>Interpretation</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>Lead</source>
        <translation>Ableitung</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Linien</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Measurements Table</source>
        <translation>Messwerttabelle</translation>
    </message>
    <message>
        <source>Minor Grid</source>
        <translation>Feines Raster</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Pellux Reports:</source>
        <translation>Pellux-Berichte:</translation>
    </message>
    <message>
        <source>Printer Setup...</source>
        <translation>Druckereinrichtung...</translation>
    </message>
    <message>
        <source>Report Options</source>
        <translation>Berichtsoptionen</translation>
    </message>
    <message>
        <source>Report title:</source>
        <translation>Berichtstitel:</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Maßstab</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Empfindlichkeit</translation>
    </message>
    <message>
        <source>Single Lead Pellux</source>
        <translation>Pellux-Einzelableitung</translation>
    </message>
    <message>
        <source>Single Lead Reports</source>
        <translation>Einzelableitungsberichte</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Strip</source>
        <translation>Streifen</translation>
    </message>
</context>
</TS>
