<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_CH">
<context>
    <name>vireo::AboutDialog</name>
    <message>
        <source>About mensor</source>
        <translation>Über mensor</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body style=&quot;font-family:sans-serif; font-size:11pt;&quot;&gt;&lt;p align=&quot;center&quot;&gt;&lt;img src=&quot;:/icon/application-icon-128x128.png&quot;/&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:14pt; font-weight:bold;&quot;&gt;mensor 2.4&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Copyright &amp;#169; 2026 ortus&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Measures positions on photographs.&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:9pt;&quot;&gt;Application logo by the mensor developers&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:9pt;&quot;&gt;Icons by the mensor developers, drawn with the program&apos;s own icon script&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body style=&quot;font-family:sans-serif; font-size:11pt;&quot;&gt;&lt;p align=&quot;center&quot;&gt;&lt;img src=&quot;:/icon/application-icon-128x128.png&quot;/&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:14pt; font-weight:bold;&quot;&gt;mensor 2.4&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Copyright &amp;#169; 2026 ortus&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;Misst Positionen auf Fotografien.&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:9pt;&quot;&gt;Programmlogo von den mensor-Entwicklern&lt;/p&gt;&lt;p align=&quot;center&quot; style=&quot;font-size:9pt;&quot;&gt;Symbole von den mensor-Entwicklern, gezeichnet mit dem programmeigenen Symbolskript&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>vireo::MainWindow</name>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Calibrate</source>
        <translation>&amp;Kalibrieren</translation>
    </message>
    <message>
        <source>&amp;Copy Coordinates</source>
        <translation>&amp;Koordinaten kopieren</translation>
    </message>
    <message>
        <source>&amp;Delete Point</source>
        <translation>Punkt &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Edit Points</source>
        <translation>Punkte &amp;bearbeiten</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Mode</source>
        <translation>&amp;Modus</translation>
    </message>
    <message>
        <source>&amp;Next Image</source>
        <translation>&amp;Nächstes Bild</translation>
    </message>
    <message>
        <source>&amp;Previous Image</source>
        <translation>&amp;Vorheriges Bild</translation>
    </message>
    <message>
        <source>&amp;Thumbnails</source>
        <translation>&amp;Vorschaubilder</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>C&amp;lear All Points</source>
        <translation>&amp;Alle Punkte löschen</translation>
    </message>
    <message>
        <source>Cannot load image.</source>
        <translation>Kann Bilddatei nicht öffnen.</translation>
    </message>
    <message>
        <source>Clear All Points</source>
        <translation>Alle Punkte löschen</translation>
    </message>
    <message>
        <source>Configure...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Coordinates</source>
        <translation>Koordinaten</translation>
    </message>
    <message>
        <source>Copy coordinates to clipboard</source>
        <translation>Kopiere die Koordinaten in die Zwischenablage</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Decrease the zoom level.</source>
        <translation>Verkleinert den Vergrösserungsfaktor.</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Delete all points.</source>
        <translation>Löscht alle Punkte.</translation>
    </message>
    <message>
        <source>Delete the selected point</source>
        <translation>Lösche den ausgewählten Punkt</translation>
    </message>
    <message>
        <source>Delete the selected point.</source>
        <translation>Löscht den ausgewählten Punkt.</translation>
    </message>
    <message>
        <source>Do you want to delete all points?</source>
        <translation>Wollen Sie wirklich alle Punkte löschen?</translation>
    </message>
    <message>
        <source>Do you want to reset the calibration rulers?</source>
        <translation>Wollen Sie wirklich die Eichmassstäbe zurücksetzen?</translation>
    </message>
    <message>
        <source>Do you want to reset the origin of the coordinate system to the center of the current image?</source>
        <translation>Wollen Sie wirklich den Ursprung des Koordinatensystems in den Bildmittelpunkt zurücksetzen?</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Enable/disable the horizontal snap line.</source>
        <translation>Horizontale Einrastlinie ein-/ausschalten.</translation>
    </message>
    <message>
        <source>Enable/disable the vertical snap line.</source>
        <translation>Vertikale Einrastlinie ein-/ausschalten.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Exit the application</source>
        <translation>Beende das Programm</translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation>Bilddateien</translation>
    </message>
    <message>
        <source>Images in Directory %1</source>
        <translation>Bilder im Ordner %1</translation>
    </message>
    <message>
        <source>Increase the zoom level.</source>
        <translation>Erhöht den Vergrösserungsfaktor.</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>No Image</source>
        <translation>kein Bild</translation>
    </message>
    <message>
        <source>Open &amp;Image...</source>
        <translation>&amp;Bilddatei öffnen...</translation>
    </message>
    <message>
        <source>Open Fo&amp;lder...</source>
        <translation>&amp;Verzeichnis öffnen...</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bilddatei öffnen</translation>
    </message>
    <message>
        <source>Open Image Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Open a folder containing images</source>
        <translation>Öffne einen Ordner mit Bildern</translation>
    </message>
    <message>
        <source>Open a single image</source>
        <translation>Öffne ein einzelnes Bild</translation>
    </message>
    <message>
        <source>Open the configuration dialog</source>
        <translation>Öffne das Fenster mit den Einstellungen</translation>
    </message>
    <message>
        <source>Reset &amp;Origin</source>
        <translation>&amp;Ursprung zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Calibration &amp;Ruler</source>
        <translation>&amp;Massstab zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Calibration Rulers</source>
        <translation>Eichmassstäbe zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Origin</source>
        <translation>Ursprung zurücksetzen</translation>
    </message>
    <message>
        <source>Reset calibration ruler</source>
        <translation>Setze den Massstab zurück</translation>
    </message>
    <message>
        <source>Reset origin</source>
        <translation>Setze den Ursprung zurück</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Set Ruler Length</source>
        <translation>Massstablänge festlegen</translation>
    </message>
    <message>
        <source>Show the next in the folder</source>
        <translation>Zeige das nächste Bild im Ordner an</translation>
    </message>
    <message>
        <source>Show the previous image in the folder</source>
        <translation>Zeige das vorangehende Bild im Ordner an</translation>
    </message>
    <message>
        <source>Show/hide the thumbnail window.</source>
        <translation>Zeigt/versteckt das Fenster mit den Vorschaubildern.</translation>
    </message>
    <message>
        <source>Snap &amp;Horizontal</source>
        <translation>&amp;Horizontal einrasten</translation>
    </message>
    <message>
        <source>Snap &amp;Vertical</source>
        <translation>&amp;Vertikal einrasten</translation>
    </message>
    <message>
        <source>Snap horizontal</source>
        <translation>Aktiviere/deaktiviere das horizontale Einrasten</translation>
    </message>
    <message>
        <source>Snap vertical</source>
        <translation>Aktiviere/deaktiviere das vertikale Einrasten</translation>
    </message>
    <message>
        <source>Switch to calibration mode.</source>
        <translation>Wechselt in den Kalibrierungsmodus.</translation>
    </message>
    <message>
        <source>Switch to point editing mode.</source>
        <translation>Wechselt in den Bearbeitungsmodus.</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;grössern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Zoom Level</source>
        <translation>Vergrösserungsstufe</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrössere das Bild</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinere das Bild</translation>
    </message>
    <message>
        <source>mensor 2.4 (read-only)</source>
        <translation>mensor 2.4 (schreibgeschützt)</translation>
    </message>
    <message>
        <source>Measurements Open in Another Window</source>
        <translation>Messungen in einem anderen Fenster geöffnet</translation>
    </message>
    <message>
        <source>No copy of it could be made, so it will not be overwritten.</source>
        <translation>Es konnte keine Kopie davon angelegt werden, deshalb wird sie nicht überschrieben.</translation>
    </message>
    <message>
        <source>The file as it was is kept unchanged as %1.</source>
        <translation>Die Datei bleibt unverändert als %1 erhalten.</translation>
    </message>
    <message>
        <source>Measurements Read Incompletely</source>
        <translation>Messungen unvollständig gelesen</translation>
    </message>
    <message>
        <source>The measurements could not be saved to %1:
%2</source>
        <translation>Die Messungen konnten nicht in %1 gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>Cannot Save Measurements</source>
        <translation>Messungen können nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Close without saving?</source>
        <translation>Ohne Speichern schliessen?</translation>
    </message>
    <message>
        <source>Close Without Saving</source>
        <translation>Ohne Speichern schliessen</translation>
    </message>
    <message>
        <source>The measurements file %1 is in use by another mensor window (%2, lock file %3).

This window shows the measurements as they were last saved and saves nothing. Close the other window first to keep your work.</source>
        <translation>Die Messdatei %1 wird von einem anderen mensor-Fenster verwendet (%2, Sperrdatei %3).

Dieses Fenster zeigt die Messungen, wie sie zuletzt gespeichert wurden, und speichert nichts. Schliessen Sie zuerst das andere Fenster, damit Ihre Arbeit erhalten bleibt.</translation>
    </message>
    <message>
        <source>Measurements Open on Another Computer</source>
        <translation>Messdatei auf einem anderen Computer geöffnet</translation>
    </message>
    <message>
        <source>The measurements file %1 is locked by %2 (lock file %3). mensor cannot tell from here whether that window is still open.

Take the file over only if mensor no longer runs there; otherwise this window saves nothing.</source>
        <translation>Die Messdatei %1 ist von %2 gesperrt (Sperrdatei %3). mensor kann von hier aus nicht feststellen, ob jenes Fenster noch geöffnet ist.

Übernehmen Sie die Datei nur, wenn mensor dort nicht mehr läuft; sonst speichert dieses Fenster nichts.</translation>
    </message>
    <message>
        <source>Take Over</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Open Read-Only</source>
        <translation>Schreibgeschützt öffnen</translation>
    </message>
    <message>
        <source>Measurements Cannot Be Saved</source>
        <translation>Messungen können nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The measurements file %1 cannot be claimed for this window:
%2

Nothing will be saved until this is fixed; mensor tries again at every save.</source>
        <translation>Die Messdatei %1 kann nicht für dieses Fenster reserviert werden:
%2

Bis dies behoben ist, wird nichts gespeichert; mensor versucht es bei jedem Speichern erneut.</translation>
    </message>
    <message>
        <source>This window does not change it.</source>
        <translation>Dieses Fenster verändert sie nicht.</translation>
    </message>
    <message>
        <source>Everything before that point has been loaded.</source>
        <translation>Alles vor dieser Stelle wurde geladen.</translation>
    </message>
    <message>
        <source>Values that could not be read keep their defaults; everything else has been loaded.</source>
        <translation>Werte, die nicht gelesen werden konnten, behalten ihre Vorgaben; alles Übrige wurde geladen.</translation>
    </message>
    <message>
        <source>The measurements file %1 could not be read completely:
%2

%3 %4</source>
        <translation>Die Messdatei %1 konnte nicht vollständig gelesen werden:
%2

%3 %4</translation>
    </message>
    <message>
        <source>Changes Cannot Be Saved</source>
        <translation>Änderungen können nicht gespeichert werden</translation>
    </message>
    <message>
        <source>This window is read-only and cannot save to the measurements file %1. The points and calibrations changed in it will be lost.

Close without saving?</source>
        <translation>Dieses Fenster ist schreibgeschützt und kann nicht in die Messdatei %1 speichern. Die darin geänderten Punkte und Kalibrierungen gehen verloren.

Ohne Speichern schliessen?</translation>
    </message>
    <message>
        <source>&amp;Fit to Window</source>
        <translation>&amp;An Fenster anpassen</translation>
    </message>
    <message>
        <source>Show the whole image</source>
        <translation>Das ganze Bild zeigen</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>&amp;Actual Pixels</source>
        <translation>&amp;Originalgrösse</translation>
    </message>
    <message>
        <source>Show one image pixel per screen pixel</source>
        <translation>Ein Bildpixel pro Bildschirmpixel zeigen</translation>
    </message>
    <message>
        <source>Ctrl+1</source>
        <translation>Ctrl+1</translation>
    </message>
    <message>
        <source>Images in Directory</source>
        <translation>Bilder im Ordner</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederholen: %1</translation>
    </message>
    <message>
        <source>Measure on a &amp;Plane</source>
        <translation>Auf einer &amp;Ebene messen</translation>
    </message>
    <message>
        <source>Calibrate with four references on a plane photographed at an angle</source>
        <translation>Mit vier Referenzen auf einer schräg fotografierten Ebene kalibrieren</translation>
    </message>
    <message>
        <source>Set &amp;Plane Coordinates...</source>
        <translation>&amp;Ebenenkoordinaten festlegen...</translation>
    </message>
</context>
<context>
    <name>vireo::PointList</name>
    <message>
        <source>Nbr.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Bilddatei</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
</context>
<context>
    <name>vireo::Projection</name>
    <message>
        <source>Define Ruler Length</source>
        <translation>Massstablänge festlegen</translation>
    </message>
    <message>
        <source>Enter the length of the ruler:</source>
        <translation>Geben Sie die Länge des Massstabes ein:</translation>
    </message>
</context>
<context>
    <name>vireo::SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Language / Regional Settings</source>
        <translation>Sprache / Regionale Einstellungen</translation>
    </message>
    <message>
        <source>Decimal Places</source>
        <translation>Dezimalstellen</translation>
    </message>
</context>
<context>
    <name>vireo::ImageFile</name>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>It is not a regular file but a folder, a pipe or a device.</source>
        <translation>Es ist keine gewöhnliche Datei, sondern ein Ordner, eine Pipe oder ein Gerät.</translation>
    </message>
    <message>
        <source>The file may not be read.</source>
        <translation>Die Datei darf nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The image has %1 × %2 pixels; at most %3 million pixels can be opened.</source>
        <translation>Das Bild hat %1 × %2 Pixel; höchstens %3 Millionen Pixel können geöffnet werden.</translation>
    </message>
    <message>
        <source>The file claims %1 × %2 pixels, far more than its %3 bytes can hold.</source>
        <translation>Die Datei gibt %1 × %2 Pixel an, weit mehr, als ihre %3 Bytes fassen können.</translation>
    </message>
    <message>
        <source>The image cannot be decoded.</source>
        <translation>Das Bild kann nicht dekodiert werden.</translation>
    </message>
</context>
<context>
    <name>vireo::UndoHistory</name>
    <message>
        <source>Move Origin</source>
        <translation>Ursprung verschieben</translation>
    </message>
    <message>
        <source>Move Ruler End</source>
        <translation>Massstabende verschieben</translation>
    </message>
    <message>
        <source>Move Point</source>
        <translation>Punkt verschieben</translation>
    </message>
    <message>
        <source>Add Point</source>
        <translation>Punkt hinzufügen</translation>
    </message>
    <message>
        <source>Set Ruler Length</source>
        <translation>Massstablänge festlegen</translation>
    </message>
    <message>
        <source>Nudge Point</source>
        <translation>Punkt pixelweise verschieben</translation>
    </message>
    <message>
        <source>Nudge Handle</source>
        <translation>Griff pixelweise verschieben</translation>
    </message>
    <message>
        <source>Delete Point</source>
        <translation>Punkt löschen</translation>
    </message>
    <message>
        <source>Reset Calibration Ruler</source>
        <translation>Massstab zurücksetzen</translation>
    </message>
    <message>
        <source>Clear All Points</source>
        <translation>Alle Punkte löschen</translation>
    </message>
    <message>
        <source>Reset Origin</source>
        <translation>Ursprung zurücksetzen</translation>
    </message>
    <message>
        <source>Move Reference</source>
        <translation>Referenz verschieben</translation>
    </message>
    <message>
        <source>Measure on a Plane</source>
        <translation>Auf einer Ebene messen</translation>
    </message>
    <message>
        <source>Measure with the Ruler</source>
        <translation>Mit dem Massstab messen</translation>
    </message>
    <message>
        <source>Set Plane Coordinates</source>
        <translation>Ebenenkoordinaten festlegen</translation>
    </message>
</context>
<context>
    <name>vireo::PlaneMap</name>
    <message>
        <source>Three references lie on one line in the photo.</source>
        <translation>Drei Referenzen liegen im Foto auf einer Linie.</translation>
    </message>
    <message>
        <source>Three references lie on one line on the plane.</source>
        <translation>Drei Referenzen liegen auf der Ebene auf einer Linie.</translation>
    </message>
    <message>
        <source>The references fold over in the photo: place them in order round the shape.</source>
        <translation>Die Referenzen überkreuzen sich im Foto: Setzen Sie sie der Reihe nach rund um die Form.</translation>
    </message>
    <message>
        <source>The plane coordinates fold over: give them in order round the shape.</source>
        <translation>Die Ebenenkoordinaten überkreuzen sich: Geben Sie sie der Reihe nach rund um die Form an.</translation>
    </message>
    <message>
        <source>The references give no map.</source>
        <translation>Die Referenzen ergeben keine Abbildung.</translation>
    </message>
</context>
<context>
    <name>vireo::PlaneDialog</name>
    <message>
        <source>Plane Coordinates</source>
        <translation>Ebenenkoordinaten</translation>
    </message>
    <message>
        <source>Reference %1</source>
        <translation>Referenz %1</translation>
    </message>
    <message>
        <source>&amp;Fill In</source>
        <translation>&amp;Eintragen</translation>
    </message>
    <message>
        <source>A rectangle of</source>
        <translation>Ein Rechteck von</translation>
    </message>
    <message>
        <source>Where the references lie on the plane, in the unit you measure in:</source>
        <translation>Wo die Referenzen auf der Ebene liegen, in der Einheit, in der Sie messen:</translation>
    </message>
    <message>
        <source>No coordinates are shown until this is mended.</source>
        <translation>Bis dies behoben ist, werden keine Koordinaten angezeigt.</translation>
    </message>
    <message>
        <source>References placed up to half a pixel off move the points within the quadrilateral by at most %1 on the plane.</source>
        <translation>Um bis zu einen halben Pixel versetzte Referenzen verschieben die Punkte im Viereck auf der Ebene um höchstens %1.</translation>
    </message>
</context>
<context>
    <name>vireo::PlaneCalibration</name>
    <message>
        <source>± %1</source>
        <translation>± %1</translation>
    </message>
</context>
</TS>
