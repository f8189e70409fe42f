<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- German language module of the component (ECGDeu): the texts of its
     messages, report pages and dialogs, the recording and review windows
     and the settings sheet. Loaded when the host product names
     "StillwaterDeu" as its language. -->
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDialog</name>
    <message>
        <source>About Tidemark32</source>
        <translation>Info über Tidemark32</translation>
    </message>
    <message>
        <source>Copyright (C) Tidemark ECG. All rights reserved.</source>
        <translation>Copyright (C) Tidemark ECG. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>ECG Algorithm Version: </source>
        <translation>EKG-Algorithmusversion: </translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Software Version:</source>
        <translation>Softwareversion:</translation>
    </message>
</context>
<context>
    <name>CAnalysisSettingsPage</name>
    <message>
        <source>Allow user to re-analyze</source>
        <translation>Neuanalyse durch den Benutzer erlauben</translation>
    </message>
    <message>
        <source>Automatically include narrative interpretation</source>
        <translation>Befundtext automatisch einfügen</translation>
    </message>
    <message>
        <source>Bazett</source>
        <translation>Bazett</translation>
    </message>
    <message>
        <source>Fridericia</source>
        <translation>Fridericia</translation>
    </message>
    <message>
        <source>Include interpretation codes within narrative text</source>
        <translation>Befundcodes in den Befundtext aufnehmen</translation>
    </message>
    <message>
        <source>Interpretation</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>QTc Method</source>
        <translation>QTc-Methode</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Suppress incomplete patient details warning</source>
        <translation>Warnung bei unvollständigen Patientendaten unterdrücken</translation>
    </message>
</context>
<context>
    <name>CChildFrame</name>
    <message>
        <source>Review ECG</source>
        <translation>EKG befunden</translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
</context>
<context>
    <name>CECGAcquisitionSettingsPage</name>
    <message>
        <source>12 Leads</source>
        <translation>12 Ableitungen</translation>
    </message>
    <message>
        <source>3x4 View</source>
        <translation>3x4-Ansicht</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Hz</translation>
    </message>
    <message>
        <source>Beep on Leads Off</source>
        <translation>Signalton bei gelöster Elektrode</translation>
    </message>
    <message>
        <source>Beep on QRS</source>
        <translation>Signalton bei QRS</translation>
    </message>
    <message>
        <source>Chest Leads</source>
        <translation>Brustwandableitungen</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Create PDF when Save and Print is selected.</source>
        <translation>PDF erstellen, wenn „Speichern und Drucken“ gewählt wird.</translation>
    </message>
    <message>
        <source>Custom Group</source>
        <translation>Eigene Gruppe</translation>
    </message>
    <message>
        <source>Custom Lead Group</source>
        <translation>Eigene Ableitungsgruppe</translation>
    </message>
    <message>
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>I, II, III</source>
        <translation>I, II, III</translation>
    </message>
    <message>
        <source>Lead 1</source>
        <translation>Ableitung 1</translation>
    </message>
    <message>
        <source>Lead 2</source>
        <translation>Ableitung 2</translation>
    </message>
    <message>
        <source>Lead 3</source>
        <translation>Ableitung 3</translation>
    </message>
    <message>
        <source>Leads</source>
        <translation>Ableitungen</translation>
    </message>
    <message>
        <source>Limb Leads</source>
        <translation>Extremitätenableitungen</translation>
    </message>
    <message>
        <source>Muscle Filter</source>
        <translation>Muskelfilter</translation>
    </message>
    <message>
        <source>Power Filter</source>
        <translation>Netzfilter</translation>
    </message>
    <message>
        <source>Power Line</source>
        <translation>Netzfrequenz</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Rhythm Strip Lead</source>
        <translation>Ableitung des Rhythmusstreifens</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>Töne</translation>
    </message>
    <message>
        <source>Use MIDI Sounds</source>
        <translation>MIDI-Töne verwenden</translation>
    </message>
    <message>
        <source>V1, V2, V3</source>
        <translation>V1, V2, V3</translation>
    </message>
    <message>
        <source>V4, V5, V6</source>
        <translation>V4, V5, V6</translation>
    </message>
    <message>
        <source>aVR, aVL, aVF</source>
        <translation>aVR, aVL, aVF</translation>
    </message>
</context>
<context>
    <name>CECGApp</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>Access to the file was denied.</source>
        <translation>Der Zugriff auf die Datei wurde verweigert.</translation>
    </message>
    <message>
        <source>The file is not an SCP-ECG record.</source>
        <translation>Die Datei ist keine SCP-EKG-Aufzeichnung.</translation>
    </message>
    <message>
        <source>The file is not a readable SCP-ECG record, or the record is damaged.</source>
        <translation>Die Datei ist keine lesbare SCP-EKG-Aufzeichnung, oder die Aufzeichnung ist beschädigt.</translation>
    </message>
    <message>
        <source>The record is larger than this program accepts.</source>
        <translation>Die Aufzeichnung ist größer, als dieses Programm verarbeiten kann.</translation>
    </message>
    <message>
        <source>The record holds no ECG samples.</source>
        <translation>Die Aufzeichnung enthält keine EKG-Daten.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Review ECG</source>
        <translation>EKG befunden</translation>
    </message>
    <message>
        <source>The record %1 cannot be read (error %2).</source>
        <translation>Die Aufzeichnung %1 kann nicht gelesen werden (Fehler %2).</translation>
    </message>
</context>
<context>
    <name>CECGGeneralSettingsPage</name>
    <message>
        <source>10 mm/mV</source>
        <translation>10 mm/mV</translation>
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
        <source>5 mm/mV</source>
        <translation>5 mm/mV</translation>
    </message>
    <message>
        <source>50 mm/s</source>
        <translation>50 mm/s</translation>
    </message>
    <message>
        <source>Allow user to Export To XML</source>
        <translation>XML-Export durch den Benutzer erlauben</translation>
    </message>
    <message>
        <source>Amplitude Units</source>
        <translation>Amplitudeneinheiten</translation>
    </message>
    <message>
        <source>Imperial (lb, in)</source>
        <translation>Angloamerikanisch (lb, in)</translation>
    </message>
    <message>
        <source>Measurement System</source>
        <translation>Maßsystem</translation>
    </message>
    <message>
        <source>Metric (kg, cm)</source>
        <translation>Metrisch (kg, cm)</translation>
    </message>
    <message>
        <source>Microvolts (µV)</source>
        <translation>Mikrovolt (µV)</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Millimeter (mm)</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Empfindlichkeit</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
</context>
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
    <name>CECGPatientDialog</name>
    <message>
        <source>"Patient must be at least 1 year old."</source>
        <translation>„Der Patient muss mindestens 1 Jahr alt sein.“</translation>
    </message>
    <message>
        <source>Birth date must be less than today's date.</source>
        <translation>Das Geburtsdatum muss vor dem heutigen Datum liegen.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Date of Birth*</source>
        <translation>Geburtsdatum*</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Female</source>
        <translation>Weiblich</translation>
    </message>
    <message>
        <source>First Name*</source>
        <translation>Vorname*</translation>
    </message>
    <message>
        <source>Gender*</source>
        <translation>Geschlecht*</translation>
    </message>
    <message>
        <source>Height*</source>
        <translation>Größe*</translation>
    </message>
    <message>
        <source>Last Name*</source>
        <translation>Nachname*</translation>
    </message>
    <message>
        <source>Male</source>
        <translation>Männlich</translation>
    </message>
    <message>
        <source>Maximum age is 130.  Please re-enter birth date.</source>
        <translation>Das Höchstalter ist 130.  Bitte geben Sie das Geburtsdatum erneut ein.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Patient ID*</source>
        <translation>Patienten-ID*</translation>
    </message>
    <message>
        <source>Patient Information</source>
        <translation>Patienteninformationen</translation>
    </message>
    <message>
        <source>Please enter all patient details.</source>
        <translation>Bitte geben Sie alle Patientendaten ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen %1 und %2 ein.</translation>
    </message>
    <message>
        <source>Weight*</source>
        <translation>Gewicht*</translation>
    </message>
    <message>
        <source>cm</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>ft.</source>
        <translation>ft.</translation>
    </message>
    <message>
        <source>in.</source>
        <translation>in.</translation>
    </message>
    <message>
        <source>kg</source>
        <translation>kg</translation>
    </message>
    <message>
        <source>lbs.</source>
        <translation>lbs.</translation>
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
<context>
    <name>CLeadOrderDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>DOWN</source>
        <translation>AB</translation>
    </message>
    <message>
        <source>Edit Lead Order</source>
        <translation>Ableitungsreihenfolge bearbeiten</translation>
    </message>
    <message>
        <source>Leads</source>
        <translation>Ableitungen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Select the lead and then use the arrows to move the lead up or down.</source>
        <translation>Wählen Sie die Ableitung und verschieben Sie sie mit den Pfeilen nach oben oder unten.</translation>
    </message>
    <message>
        <source>UP</source>
        <translation>AUF</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Review Options</source>
        <translation>Anzeigeoptionen</translation>
    </message>
    <message>
        <source>Show Review &amp;Options</source>
        <translation>Anzeige&amp;optionen anzeigen</translation>
    </message>
    <message>
        <source>&amp;12 Lead</source>
        <translation>&amp;12 Ableitungen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;Bottom</source>
        <translation>&amp;Unten</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;Cursor</source>
        <translation>&amp;Cursor</translation>
    </message>
    <message>
        <source>&amp;Details</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Filter</source>
        <translation>&amp;Filter</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Measure</source>
        <translation>&amp;Messen</translation>
    </message>
    <message>
        <source>&amp;Measurement Units</source>
        <translation>&amp;Maßeinheiten</translation>
    </message>
    <message>
        <source>&amp;Millimeters</source>
        <translation>&amp;Millimeter</translation>
    </message>
    <message>
        <source>&amp;Muscle</source>
        <translation>M&amp;uskel</translation>
    </message>
    <message>
        <source>&amp;Next Lead</source>
        <translation>&amp;Nächste Ableitung</translation>
    </message>
    <message>
        <source>&amp;Power</source>
        <translation>&amp;Netz</translation>
    </message>
    <message>
        <source>&amp;Previous Lead</source>
        <translation>&amp;Vorige Ableitung</translation>
    </message>
    <message>
        <source>&amp;Print ...</source>
        <translation>&amp;Drucken ...</translation>
    </message>
    <message>
        <source>&amp;Remove Analysis</source>
        <translation>Analyse &amp;entfernen</translation>
    </message>
    <message>
        <source>&amp;Rhythm Lead Position</source>
        <translation>Position der &amp;Rhythmusableitung</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Geschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Strips</source>
        <translation>&amp;Streifen</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Top</source>
        <translation>&amp;Oben</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Zoom</source>
        <translation>&amp;Zoom</translation>
    </message>
    <message>
        <source>10 mm/mV</source>
        <translation>10 mm/mV</translation>
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
        <source>5 mm/mV</source>
        <translation>5 mm/mV</translation>
    </message>
    <message>
        <source>50 Hz</source>
        <translation>50 Hz</translation>
    </message>
    <message>
        <source>50 mm/s</source>
        <translation>50 mm/s</translation>
    </message>
    <message>
        <source>60 Hz</source>
        <translation>60 Hz</translation>
    </message>
    <message>
        <source>Controls</source>
        <translation>Bedienfeld</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>ECG Options</source>
        <translation>EKG-Optionen</translation>
    </message>
    <message>
        <source>Edit &amp;Lead Order</source>
        <translation>&amp;Ableitungsreihenfolge bearbeiten</translation>
    </message>
    <message>
        <source>Export to &amp;XML...</source>
        <translation>Als &amp;XML exportieren...</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Micro&amp;volts</source>
        <translation>Mikro&amp;volt</translation>
    </message>
    <message>
        <source>P&amp;hysician's Guide</source>
        <translation>&amp;Handbuch für Ärzte</translation>
    </message>
    <message>
        <source>Prin&amp;ter Setup ...</source>
        <translation>Dr&amp;uckereinrichtung ...</translation>
    </message>
    <message>
        <source>Print P&amp;review ...</source>
        <translation>Druck&amp;vorschau ...</translation>
    </message>
    <message>
        <source>Print to &amp;File...</source>
        <translation>In Datei dr&amp;ucken...</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Review ECG</source>
        <translation>EKG befunden</translation>
    </message>
    <message>
        <source>S&amp;ensitivity</source>
        <translation>&amp;Empfindlichkeit</translation>
    </message>
    <message>
        <source>Show &amp;Averaged Complexes</source>
        <translation>&amp;Gemittelte Komplexe anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;Control Panel</source>
        <translation>&amp;Bedienfeld anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;Grid</source>
        <translation>&amp;Raster anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;Measurements</source>
        <translation>&amp;Messwerte anzeigen</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>&amp;Symbolleiste anzeigen</translation>
    </message>
    <message>
        <source>Show M&amp;easurements Panel</source>
        <translation>M&amp;esswertfeld anzeigen</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>Update Patient Demographics and Re-Analyze</source>
        <translation>Patientendaten aktualisieren und neu analysieren</translation>
    </message>
    <message>
        <source>User's &amp;Manual</source>
        <translation>&amp;Benutzerhandbuch</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
</context>
<context>
    <name>CMeasurementsBar</name>
    <message>
        <source>Heart Rate:</source>
        <translation>Herzfrequenz:</translation>
    </message>
    <message>
        <source>P Duration:</source>
        <translation>P-Dauer:</translation>
    </message>
    <message>
        <source>PR Interval:</source>
        <translation>PQ-Intervall:</translation>
    </message>
    <message>
        <source>P Axis:</source>
        <translation>P-Achse:</translation>
    </message>
    <message>
        <source>QRS Duration:</source>
        <translation>QRS-Dauer:</translation>
    </message>
    <message>
        <source>QRS Axis:</source>
        <translation>QRS-Achse:</translation>
    </message>
    <message>
        <source>QT Interval:</source>
        <translation>QT-Intervall:</translation>
    </message>
    <message>
        <source>T Axis:</source>
        <translation>T-Achse:</translation>
    </message>
    <message>
        <source>QTc Interval:</source>
        <translation>QTc-Intervall:</translation>
    </message>
    <message>
        <source>Filter:</source>
        <translation>Filter:</translation>
    </message>
</context>
<context>
    <name>COskScpView</name>
    <message>
        <source>Patient </source>
        <translation>Patient </translation>
    </message>
    <message>
        <source> Test on </source>
        <translation> Untersuchung am </translation>
    </message>
    <message>
        <source>%1 years</source>
        <translation>%1 Jahre</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Male</source>
        <translation>Männlich</translation>
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
        <source>Patient ID:</source>
        <translation>Patienten-ID:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>First Name:</source>
        <translation>Vorname:</translation>
    </message>
    <message>
        <source>Weight:</source>
        <translation>Gewicht:</translation>
    </message>
    <message>
        <source>Last Name:</source>
        <translation>Nachname:</translation>
    </message>
    <message>
        <source>Age:</source>
        <translation>Alter:</translation>
    </message>
    <message>
        <source>Date of Birth:</source>
        <translation>Geburtsdatum:</translation>
    </message>
    <message>
        <source>Revision:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Acquired:</source>
        <translation>Aufgezeichnet:</translation>
    </message>
    <message>
        <source>Recorded With:</source>
        <translation>Aufgezeichnet mit:</translation>
    </message>
    <message>
        <source>Device Type:</source>
        <translation>Gerätetyp:</translation>
    </message>
    <message>
        <source>Serial Number:</source>
        <translation>Seriennummer:</translation>
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
        <source>Slope (mm/s)</source>
        <translation>Steigung (mm/s)</translation>
    </message>
    <message>
        <source>Slope (μV/s)</source>
        <translation>Steigung (μV/s)</translation>
    </message>
    <message>
        <source>Duration (ms)</source>
        <translation>Dauer (ms)</translation>
    </message>
    <message>
        <source>Lead </source>
        <translation>Ableitung </translation>
    </message>
    <message>
        <source>Type </source>
        <translation>Typ </translation>
    </message>
    <message>
        <source>Cannot open file %1. </source>
        <translation>Die Datei %1 kann nicht geöffnet werden. </translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Kommentare:</translation>
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
        <source>Export to XML</source>
        <translation>Als XML exportieren</translation>
    </message>
    <message>
        <source>Interpretation</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>Leads Shown:</source>
        <translation>Angezeigte Ableitungen:</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Patient</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufzeichnung</translation>
    </message>
    <message>
        <source>The %1 could not be saved in %2.</source>
        <translation>%1 konnte nicht in %2 gespeichert werden.</translation>
    </message>
    <message>
        <source>The analysis could not be removed from %1.</source>
        <translation>Die Analyse konnte nicht aus %1 entfernt werden.</translation>
    </message>
    <message>
        <source>The record %1 could not be read again.</source>
        <translation>Die Aufzeichnung %1 konnte nicht erneut gelesen werden.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>confirmation</source>
        <translation>Bestätigung</translation>
    </message>
    <message>
        <source>interpretation</source>
        <translation>Befund</translation>
    </message>
</context>
<context>
    <name>CReportTitleDlg</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Additional text:</source>
        <translation>Zusätzlicher Text:</translation>
    </message>
    <message>
        <source>Report Title</source>
        <translation>Berichtstitel</translation>
    </message>
</context>
<context>
    <name>CReviewOptionsBar</name>
    <message>
        <source>Black on Red</source>
        <translation>Schwarz auf Rot</translation>
    </message>
    <message>
        <source>Green on Black</source>
        <translation>Grün auf Schwarz</translation>
    </message>
    <message>
        <source>Blue on Grey</source>
        <translation>Blau auf Grau</translation>
    </message>
    <message>
        <source>Solid Lines</source>
        <translation>Durchgezogene Linien</translation>
    </message>
    <message>
        <source>Dotted Lines</source>
        <translation>Gepunktete Linien</translation>
    </message>
    <message>
        <source>No Grid</source>
        <translation>Kein Raster</translation>
    </message>
    <message>
        <source>Show Details</source>
        <translation>Details anzeigen</translation>
    </message>
    <message>
        <source>Colors:</source>
        <translation>Farben:</translation>
    </message>
    <message>
        <source>Grid:</source>
        <translation>Raster:</translation>
    </message>
</context>
<context>
    <name>CReviewWindowOptions</name>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <source>Show Details</source>
        <translation>Details anzeigen</translation>
    </message>
</context>
<context>
    <name>CSCPDialogBar</name>
    <message>
        <source>10 mm/mV</source>
        <translation>10 mm/mV</translation>
    </message>
    <message>
        <source>12 Lead</source>
        <translation>12 Ableitungen</translation>
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
        <source>5 mm/mV</source>
        <translation>5 mm/mV</translation>
    </message>
    <message>
        <source>50 mm/s</source>
        <translation>50 mm/s</translation>
    </message>
    <message>
        <source>Not to scale</source>
        <translation>Nicht maßstabsgetreu</translation>
    </message>
    <message>
        <source>Rhythm Lead</source>
        <translation>Rhythmusableitung</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Empfindlichkeit</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Strips</source>
        <translation>Streifen</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
</context>
<context>
    <name>CSettingsSheet</name>
    <message>
        <source>Acquisition Settings</source>
        <translation>Aufnahmeeinstellungen</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Edit Lead Order</source>
        <translation>Ableitungsreihenfolge bearbeiten</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Review Window</source>
        <translation>Befundungsfenster</translation>
    </message>
    <message>
        <source>Tidemark Settings</source>
        <translation>Tidemark-Einstellungen</translation>
    </message>
</context>
<context>
    <name>CTM_RealTimeDlg</name>
    <message>
        <source>*.ecg</source>
        <translation>*.ecg</translation>
    </message>
    <message>
        <source>10 mm/mV</source>
        <translation>10 mm/mV</translation>
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
        <source>5 mm/mV</source>
        <translation>5 mm/mV</translation>
    </message>
    <message>
        <source>50 mm/s</source>
        <translation>50 mm/s</translation>
    </message>
    <message>
        <source>50Hz</source>
        <translation>50Hz</translation>
    </message>
    <message>
        <source>60Hz</source>
        <translation>60Hz</translation>
    </message>
    <message>
        <source>Access is denied to save to demo file:</source>
        <translation>Zugriff verweigert beim Speichern der Demodatei:</translation>
    </message>
    <message>
        <source>Access is denied to save to file:</source>
        <translation>Zugriff verweigert beim Speichern der Datei:</translation>
    </message>
    <message>
        <source>Audible Indication</source>
        <translation>Akustische Anzeige</translation>
    </message>
    <message>
        <source>Baseline</source>
        <translation>Grundlinie</translation>
    </message>
    <message>
        <source>Cable found</source>
        <translation>Kabel gefunden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Comm Port was not open for write operation.</source>
        <translation>Die serielle Schnittstelle war nicht zum Schreiben geöffnet.</translation>
    </message>
    <message>
        <source>Data fault when saving to file:</source>
        <translation>Datenfehler beim Speichern der Datei:</translation>
    </message>
    <message>
        <source>Disk full saving to demo file:</source>
        <translation>Datenträger voll beim Speichern der Demodatei:</translation>
    </message>
    <message>
        <source>Disk full saving to file:</source>
        <translation>Datenträger voll beim Speichern der Datei:</translation>
    </message>
    <message>
        <source>End of ECG.</source>
        <translation>Ende des EKGs.</translation>
    </message>
    <message>
        <source>Error with serial communication's input. Event error:</source>
        <translation>Fehler beim Empfang über die serielle Schnittstelle. Ereignisfehler:</translation>
    </message>
    <message>
        <source>Error with serial communication's output.
Event error:</source>
        <translation>Fehler beim Senden über die serielle Schnittstelle.
Ereignisfehler:</translation>
    </message>
    <message>
        <source>Fault occured! ECG capture will abort.</source>
        <translation>Ein Fehler ist aufgetreten! Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Finished receiving ECG</source>
        <translation>EKG-Empfang beendet</translation>
    </message>
    <message>
        <source>Full Disclosure</source>
        <translation>Vollständige Aufzeichnung</translation>
    </message>
    <message>
        <source>General error saving to demo file:</source>
        <translation>Allgemeiner Fehler beim Speichern der Demodatei:</translation>
    </message>
    <message>
        <source>General error saving to file:</source>
        <translation>Allgemeiner Fehler beim Speichern der Datei:</translation>
    </message>
    <message>
        <source>HR</source>
        <translation>HF</translation>
    </message>
    <message>
        <source>Hardware error saving demo file:</source>
        <translation>Hardwarefehler beim Speichern der Demodatei:</translation>
    </message>
    <message>
        <source>Hardware error saving file:</source>
        <translation>Hardwarefehler beim Speichern der Datei:</translation>
    </message>
    <message>
        <source>Incomplete operation writing to serial port. ECG capture will abort.</source>
        <translation>Unvollständiger Schreibvorgang an der seriellen Schnittstelle. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Muscle</source>
        <translation>Muskel</translation>
    </message>
    <message>
        <source>Network socket connection failed. ECG capture will abort.</source>
        <translation>Die Netzwerkverbindung ist fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Network socket initialisation failed. ECG capture will abort.</source>
        <translation>Die Netzwerkinitialisierung ist fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Opening port:</source>
        <translation>Öffne Schnittstelle:</translation>
    </message>
    <message>
        <source>Port opened</source>
        <translation>Schnittstelle geöffnet</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print 60 Seconds</source>
        <translation>60 Sekunden drucken</translation>
    </message>
    <message>
        <source>Print Rhythm Strip</source>
        <translation>Rhythmusstreifen drucken</translation>
    </message>
    <message>
        <source>Query status fault of serial communication's output. ECG capture will abort.</source>
        <translation>Statusabfrage der seriellen Ausgabe fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Receiving ECG</source>
        <translation>EKG wird empfangen</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Record ECG</source>
        <translation>EKG aufzeichnen</translation>
    </message>
    <message>
        <source>Recorded ECG data saved.</source>
        <translation>Aufgezeichnete EKG-Daten gespeichert.</translation>
    </message>
    <message>
        <source>Review</source>
        <translation>Befunden</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Print</source>
        <translation>Speichern &amp;&amp; Drucken</translation>
    </message>
    <message>
        <source>Sending: ENQ</source>
        <translation>Sende: ENQ</translation>
    </message>
    <message>
        <source>Serial port input set up failed. ECG capture will abort.</source>
        <translation>Einrichtung des seriellen Empfangs fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Specified number of leads is invalid, using 12 lead cable definition</source>
        <translation>Die angegebene Ableitungszahl ist ungültig, es wird die 12-Kanal-Kabeldefinition verwendet</translation>
    </message>
    <message>
        <source>Termination of any previous data capture failed. ECG capture will abort.</source>
        <translation>Das Beenden einer vorherigen Datenaufnahme ist fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Timeout error waiting for read operation to complete.</source>
        <translation>Zeitüberschreitung beim Warten auf den Abschluss des Lesevorgangs.</translation>
    </message>
    <message>
        <source>Timeout fault with serial communications. ECG capture will abort.</source>
        <translation>Zeitüberschreitung bei der seriellen Kommunikation. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Unable to find cable.</source>
        <translation>Kabel nicht gefunden.</translation>
    </message>
    <message>
        <source>Unable to open comm port. ECG capture will abort.</source>
        <translation>Die serielle Schnittstelle kann nicht geöffnet werden. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Unable to save demo file:</source>
        <translation>Demodatei kann nicht gespeichert werden:</translation>
    </message>
    <message>
        <source>Unable to save file:</source>
        <translation>Datei kann nicht gespeichert werden:</translation>
    </message>
    <message>
        <source>Unidentified fault with serial communications! ECG capture will abort.</source>
        <translation>Unbekannter Fehler bei der seriellen Kommunikation! Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
    <message>
        <source>Wait operation failed writing to serial port. ECG capture will abort.</source>
        <translation>Warten beim Schreiben an die serielle Schnittstelle fehlgeschlagen. Die EKG-Aufnahme wird abgebrochen.</translation>
    </message>
</context>
<context>
    <name>CTraceView</name>
    <message>
        <source>No ECG data</source>
        <translation>Keine EKG-Daten</translation>
    </message>
</context>
<context>
    <name>RadioChoice</name>
    <message>
        <source>Black on Red</source>
        <translation>Schwarz auf Rot</translation>
    </message>
    <message>
        <source>Blue on Grey</source>
        <translation>Blau auf Grau</translation>
    </message>
    <message>
        <source>Dotted Lines</source>
        <translation>Gepunktete Linien</translation>
    </message>
    <message>
        <source>Green on Black</source>
        <translation>Grün auf Schwarz</translation>
    </message>
    <message>
        <source>No Grid</source>
        <translation>Kein Raster</translation>
    </message>
    <message>
        <source>Solid Lines</source>
        <translation>Durchgezogene Linien</translation>
    </message>
</context>
</TS>
