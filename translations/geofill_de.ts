<?xml version="1.0" encoding="utf-8"?>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CategoryCheck</name>
    <message>
        <source>Category %1 does not exist in %2.</source>
        <translation>Die Kategorie %1 gibt es in %2 nicht.</translation>
    </message>
    <message>
        <source> It has no categories yet.</source>
        <translation> Die Datenbank hat noch keine Kategorien.</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source> Its categories: </source>
        <translation> Ihre Kategorien: </translation>
    </message>
</context>
<context>
    <name>CategoryTableModel</name>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>id</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>enabled</source>
        <translation>aktiviert</translation>
    </message>
    <message>
        <source>POIs</source>
        <translation>POIs</translation>
    </message>
</context>
<context>
    <name>CommandRunner</name>
    <message>
        <source>The program ended with exit code %1.</source>
        <translation>Das Programm endete mit dem Exit-Code %1.</translation>
    </message>
</context>
<context>
    <name>ConversionPanel</name>
    <message>
        <source>Input</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Gpx poi import file.</source>
        <translation>GPX-Importdatei.</translation>
    </message>
    <message>
        <source>Choose a GPX file</source>
        <translation>GPX-Datei wählen</translation>
    </message>
    <message>
        <source>Display/&amp;Edit PoiFile</source>
        <translation>GP&amp;X-Datei bearbeiten</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>&amp;Direct to Database</source>
        <translation>D&amp;irekt in die DB</translation>
    </message>
    <message>
        <source>&amp;View only</source>
        <translation>An&amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Save to file.</source>
        <translation>&amp;Speichern.</translation>
    </message>
    <message>
        <source>Path to save to.</source>
        <translation>Speicherpfad.</translation>
    </message>
    <message>
        <source>&amp;Convert Poi to SQL</source>
        <translation>POI in SQL &amp;umwandeln</translation>
    </message>
    <message>
        <source>waypoint</source>
        <translation>Wegpunkt</translation>
    </message>
    <message>
        <source>waypoints</source>
        <translation>Wegpunkte</translation>
    </message>
    <message>
        <source>%1 (category %2)</source>
        <translation>%1 (Kategorie %2)</translation>
    </message>
    <message>
        <source>The waypoint is already in %1.</source>
        <translation>Der Wegpunkt ist bereits in %1.</translation>
    </message>
    <message>
        <source>%1 of these %2 is already in %3.</source>
        <translation>Von diesen %2 ist %1 bereits in %3.</translation>
    </message>
    <message>
        <source>%1 of these %2 are already in %3.</source>
        <translation>Von diesen %2 sind %1 bereits in %3.</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|Poi Files (*.gpx)|*.gpx|</source>
        <translation>Alle Dateien (*.*)|*.*|POI-Dateien (*.gpx)|*.gpx|</translation>
    </message>
    <message>
        <source>You must select a category</source>
        <translation>Sie müssen eine Kategorie auswählen</translation>
    </message>
    <message>
        <source>You must select a valid gpx file</source>
        <translation>Sie müssen eine gültige GPX-Datei auswählen</translation>
    </message>
    <message>
        <source>The category number %1 is too large for a conversion.</source>
        <translation>Die Kategorienummer %1 ist für eine Umwandlung zu groß.</translation>
    </message>
    <message>
        <source>Bad Path for Output</source>
        <translation>Ungültiger Ausgabepfad</translation>
    </message>
    <message>
        <source>Loading %1</source>
        <translation>%1 wird geladen</translation>
    </message>
    <message>
        <source>Saving %1</source>
        <translation>%1 wird gespeichert</translation>
    </message>
    <message>
        <source>Converting %1</source>
        <translation>%1 wird umgewandelt</translation>
    </message>
    <message>
        <source>Storing %1 waypoints</source>
        <translation>%1 Wegpunkte werden gespeichert</translation>
    </message>
    <message>
        <source>Writing %1 statements</source>
        <translation>%1 Anweisungen werden geschrieben</translation>
    </message>
    <message>
        <source>Listing %1 statements</source>
        <translation>%1 Anweisungen werden aufgelistet</translation>
    </message>
    <message>
        <source>Load all</source>
        <translation>Alle laden</translation>
    </message>
    <message>
        <source>Skip those</source>
        <translation>Diese überspringen</translation>
    </message>
    <message>
        <source>%1 could not be converted. Load the other %2 into the database?</source>
        <translation>Nicht umwandelbar: %1. Die übrigen %2 in die Datenbank laden?</translation>
    </message>
    <message>
        <source>Direct to Database</source>
        <translation>Direkt in die Datenbank</translation>
    </message>
    <message>
        <source>Nothing was loaded into %1.</source>
        <translation>Nichts wurde in %1 geladen.</translation>
    </message>
    <message>
        <source>Load cancelled: nothing was stored in %1.</source>
        <translation>Laden abgebrochen: Nichts wurde in %1 gespeichert.</translation>
    </message>
    <message>
        <source>Save cancelled: %1 was not written.</source>
        <translation>Speichern abgebrochen: %1 wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>Conversion cancelled: nothing is listed.</source>
        <translation>Umwandlung abgebrochen: Nichts wird aufgelistet.</translation>
    </message>
    <message>
        <source>Loaded %1 into %2 (category %3).</source>
        <translation>%1 in %2 geladen (Kategorie %3).</translation>
    </message>
    <message>
        <source> %1 already there left out.</source>
        <translation> %1 bereits vorhanden, ausgelassen.</translation>
    </message>
    <message>
        <source>Saved %1 to %2.</source>
        <translation>%1 in %2 gespeichert.</translation>
    </message>
    <message>
        <source>statement</source>
        <translation>Anweisung</translation>
    </message>
    <message>
        <source>statements</source>
        <translation>Anweisungen</translation>
    </message>
    <message>
        <source>No waypoints were found in %1.</source>
        <translation>In %1 wurden keine Wegpunkte gefunden.</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>… and %1 more.</source>
        <translation>… und %1 weitere.</translation>
    </message>
    <message>
        <source>%1 could not be converted, so nothing was loaded into the database.</source>
        <translation>Nicht umwandelbar: %1. Daher wurde nichts in die Datenbank geladen.</translation>
    </message>
    <message>
        <source>%1 could not be converted and was left out.</source>
        <translation>%1 konnte nicht umgewandelt werden und wurde ausgelassen.</translation>
    </message>
    <message>
        <source>%1 could not be converted and were left out.</source>
        <translation>%1 konnten nicht umgewandelt werden und wurden ausgelassen.</translation>
    </message>
    <message>
        <source>The GPX file could not be opened in an editor.</source>
        <translation>Die GPX-Datei konnte in keinem Editor geöffnet werden.</translation>
    </message>
    <message>
        <source>Category by</source>
        <translation>Kategorie nach</translation>
    </message>
    <message>
        <source>Put each waypoint into the category its type (or symbol) names; those without one go into the chosen category</source>
        <translation>Jeden Wegpunkt in die Kategorie legen, die sein Typ (oder Symbol) nennt; die ohne einen in die gewählte Kategorie</translation>
    </message>
    <message>
        <source>Which waypoint text names its category: &lt;type&gt; or &lt;sym&gt;</source>
        <translation>Welcher Text des Wegpunkts seine Kategorie nennt: &lt;type&gt; oder &lt;sym&gt;</translation>
    </message>
    <message>
        <source>type</source>
        <translation>type</translation>
    </message>
    <message>
        <source>sym</source>
        <translation>sym</translation>
    </message>
    <message>
        <source>Nothing was converted.</source>
        <translation>Nichts wurde umgewandelt.</translation>
    </message>
    <message>
        <source>Loaded %1 into %2 of %3.</source>
        <translation>%1 in %2 von %3 geladen.</translation>
    </message>
    <message>
        <source>category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source> Created %1: %2.</source>
        <translation> %1 angelegt: %2.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>This type names no category of the database:</source>
        <translation>Dieser Typ nennt keine Kategorie der Datenbank:</translation>
    </message>
    <message>
        <source>These %1 types name no category of the database:</source>
        <translation>Diese %1 Typen nennen keine Kategorie der Datenbank:</translation>
    </message>
    <message>
        <source>the chosen category</source>
        <translation>die gewählte Kategorie</translation>
    </message>
    <message>
        <source>Put their waypoints into %1?</source>
        <translation>Ihre Wegpunkte in %1 legen?</translation>
    </message>
    <message>
        <source>Category by type</source>
        <translation>Kategorie nach Typ</translation>
    </message>
    <message>
        <source>Create them</source>
        <translation>Anlegen</translation>
    </message>
    <message>
        <source>Put into %1</source>
        <translation>In %1 legen</translation>
    </message>
</context>
<context>
    <name>Coordinates</name>
    <message>
        <source>Waypoint skipped: it has no %1 attribute.</source>
        <translation>Wegpunkt übersprungen: Ihm fehlt das Attribut %1.</translation>
    </message>
    <message>
        <source>Waypoint skipped: its %1 &quot;%2&quot; is not a decimal number.</source>
        <translation>Wegpunkt übersprungen: Sein Attribut %1 „%2“ ist keine Dezimalzahl.</translation>
    </message>
    <message>
        <source>Waypoint skipped: its %1 %2 is out of range (-%3 to %3).</source>
        <translation>Wegpunkt übersprungen: Sein Attribut %1 %2 liegt außerhalb des Bereichs (-%3 bis %3).</translation>
    </message>
</context>
<context>
    <name>DatabaseFiles</name>
    <message>
        <source>POI</source>
        <translation>POI</translation>
    </message>
    <message>
        <source>POIs</source>
        <translation>POIs</translation>
    </message>
    <message>
        <source>New POI Database</source>
        <translation>Neue POI-Datenbank</translation>
    </message>
    <message>
        <source>Database Files (*.db)|*.db|</source>
        <translation>Datenbankdateien (*.db)|*.db|</translation>
    </message>
    <message>
        <source>%1 already exists; a new POI database needs a new file name.</source>
        <translation>%1 gibt es bereits; eine neue POI-Datenbank braucht einen neuen Dateinamen.</translation>
    </message>
    <message>
        <source>Creating %1</source>
        <translation>%1 wird angelegt</translation>
    </message>
    <message>
        <source>The new POI database could not be created.</source>
        <translation>Die neue POI-Datenbank konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Export only the POIs of the category &quot;%1&quot;, or all POIs?</source>
        <translation>Nur die POIs der Kategorie „%1“ exportieren oder alle POIs?</translation>
    </message>
    <message>
        <source>Only &quot;%1&quot;</source>
        <translation>Nur „%1“</translation>
    </message>
    <message>
        <source>All POIs</source>
        <translation>Alle POIs</translation>
    </message>
    <message>
        <source>Export POIs to GPX</source>
        <translation>POIs als GPX exportieren</translation>
    </message>
    <message>
        <source>Poi Files (*.gpx)|*.gpx|</source>
        <translation>POI-Dateien (*.gpx)|*.gpx|</translation>
    </message>
    <message>
        <source>Exporting to %1</source>
        <translation>Export nach %1</translation>
    </message>
    <message>
        <source>Export cancelled: %1 was not written.</source>
        <translation>Export abgebrochen: %1 wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>Exported %1 to %2.</source>
        <translation>%1 nach %2 exportiert.</translation>
    </message>
    <message>
        <source>POI %1 &quot;%2&quot;: %3</source>
        <translation>POI %1 „%2“: %3</translation>
    </message>
    <message>
        <source>… and %1 more.</source>
        <translation>… und %1 weitere.</translation>
    </message>
    <message>
        <source>%1 could not be written to the GPX file and was left out.</source>
        <translation>%1 konnte nicht in die GPX-Datei geschrieben werden und wurde ausgelassen.</translation>
    </message>
    <message>
        <source>%1 could not be written to the GPX file and were left out.</source>
        <translation>%1 konnten nicht in die GPX-Datei geschrieben werden und wurden ausgelassen.</translation>
    </message>
</context>
<context>
    <name>DatabaseSchema</name>
    <message>
        <source>No database file was given.</source>
        <translation>Es wurde keine Datenbankdatei angegeben.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists.</source>
        <translation>Die Datei „%1“ gibt es bereits.</translation>
    </message>
    <message>
        <source>The database file &quot;%1&quot; was not created.</source>
        <translation>Die Datenbankdatei „%1“ wurde nicht angelegt.</translation>
    </message>
</context>
<context>
    <name>DatabaseShell</name>
    <message>
        <source>The sqlite3 shell (%1) ended without finishing its answer; nothing of it is used.</source>
        <translation>Die sqlite3-Shell (%1) endete, bevor ihre Antwort vollständig war; nichts davon wird verwendet.</translation>
    </message>
    <message>
        <source>No database file was given.</source>
        <translation>Es wurde keine Datenbankdatei angegeben.</translation>
    </message>
    <message>
        <source>The database %1 is a folder, not a database file.</source>
        <translation>Die Datenbank %1 ist ein Ordner, keine Datenbankdatei.</translation>
    </message>
    <message>
        <source>The database file %1 does not exist.</source>
        <translation>Die Datenbankdatei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>The database file %1 is read-only; nothing was changed.</source>
        <translation>Die Datenbankdatei %1 ist schreibgeschützt; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The folder of the database %1 is read-only, so the database cannot be changed; nothing was changed.</source>
        <translation>Der Ordner der Datenbank %1 ist schreibgeschützt, daher lässt sich die Datenbank nicht ändern; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The database %1 is busy: another program is writing to it. Nothing was changed.</source>
        <translation>Die Datenbank %1 ist belegt: Ein anderes Programm schreibt gerade hinein. Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The listing was stopped.</source>
        <translation>Das Auflisten wurde angehalten.</translation>
    </message>
</context>
<context>
    <name>DbOperationsPanel</name>
    <message>
        <source>View &amp;Poi in DB</source>
        <translation>&amp;POIs anzeigen</translation>
    </message>
    <message>
        <source>View Cate&amp;gories in DB</source>
        <translation>Kate&amp;gorien anzeigen</translation>
    </message>
    <message>
        <source>Database Operations</source>
        <translation>Datenbankoperationen</translation>
    </message>
    <message>
        <source>Displa&amp;y</source>
        <translation>&amp;Anzeigen</translation>
    </message>
    <message>
        <source>De&amp;lete selected</source>
        <translation>Ent&amp;fernen</translation>
    </message>
    <message>
        <source>Dele&amp;te All</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Add Ne&amp;w</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>Act&amp;ion</source>
        <translation>Ak&amp;tion</translation>
    </message>
    <message>
        <source>Categ&amp;ories                 -&gt;</source>
        <translation>Kateg&amp;orien                 -&gt;</translation>
    </message>
    <message>
        <source>Points of inte&amp;rest        -&gt;</source>
        <translation>Interessante O&amp;rte       -&gt;</translation>
    </message>
    <message>
        <source>Listing the points of interest</source>
        <translation>Die POIs werden aufgelistet</translation>
    </message>
    <message>
        <source>Listing the categories</source>
        <translation>Die Kategorien werden aufgelistet</translation>
    </message>
    <message>
        <source>Listing cancelled: nothing is listed.</source>
        <translation>Auflisten abgebrochen: Nichts wird aufgelistet.</translation>
    </message>
    <message>
        <source>The points of interest could not be listed.</source>
        <translation>Die POIs konnten nicht aufgelistet werden.</translation>
    </message>
    <message>
        <source>The categories could not be listed.</source>
        <translation>Die Kategorien konnten nicht aufgelistet werden.</translation>
    </message>
    <message>
        <source>Select poi from list</source>
        <translation>POI aus der Liste auswählen</translation>
    </message>
    <message>
        <source>Cancelled!!</source>
        <translation>Abgebrochen!!</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>You must select a Category First!</source>
        <translation>Sie müssen zuerst eine Kategorie auswählen!</translation>
    </message>
    <message>
        <source>Adding a single Poi to Category %1</source>
        <translation>Einzelnen POI zur Kategorie %1 hinzufügen</translation>
    </message>
    <message>
        <source>Addition of new Poi failed</source>
        <translation>Hinzufügen des neuen POI fehlgeschlagen</translation>
    </message>
    <message>
        <source>No category is chosen: pick one in the category chooser first.</source>
        <translation>Keine Kategorie gewählt: Wählen Sie zuerst eine in der Kategorieauswahl.</translation>
    </message>
    <message>
        <source>Adding the point of interest</source>
        <translation>Der POI wird hinzugefügt</translation>
    </message>
    <message>
        <source>Added POI &quot;%1&quot; to category %2.</source>
        <translation>POI „%1“ zur Kategorie %2 hinzugefügt.</translation>
    </message>
    <message>
        <source>Are You Sure !! <byte value="xd"/>
This will delete all poi in the database.</source>
        <translation>Sind Sie sicher !! <byte value="xd"/>
Dies löscht alle POIs in der Datenbank.</translation>
    </message>
    <message>
        <source>Delete All Poi</source>
        <translation>Alle POIs löschen</translation>
    </message>
    <message>
        <source>Operation Cancelled!</source>
        <translation>Vorgang abgebrochen!</translation>
    </message>
    <message>
        <source>Deleting every point of interest</source>
        <translation>Alle POIs werden gelöscht</translation>
    </message>
    <message>
        <source>Delete All cancelled: nothing was deleted.</source>
        <translation>„Alle löschen“ abgebrochen: Nichts wurde gelöscht.</translation>
    </message>
    <message>
        <source>Removal of All Poi failed</source>
        <translation>Entfernen aller POIs fehlgeschlagen</translation>
    </message>
    <message>
        <source>Deleted %1.</source>
        <translation>%1 gelöscht.</translation>
    </message>
    <message>
        <source>POI</source>
        <translation>POI</translation>
    </message>
    <message>
        <source>POIs</source>
        <translation>POIs</translation>
    </message>
    <message>
        <source>You must select a valid poi database</source>
        <translation>Sie müssen eine gültige POI-Datenbank auswählen</translation>
    </message>
    <message>
        <source>Select a single poi from list</source>
        <translation>Einen einzelnen POI aus der Liste auswählen</translation>
    </message>
    <message>
        <source>… and %1 more.</source>
        <translation>… und %1 weitere.</translation>
    </message>
    <message>
        <source>Pick the points of interest to delete first: list them with &quot;View Poi in DB&quot; and click their lines.</source>
        <translation>Wählen Sie zuerst die zu löschenden POIs: Zeigen Sie sie mit „POIs anzeigen“ an und klicken Sie auf ihre Zeilen.</translation>
    </message>
    <message>
        <source>Pick the categories to delete first: list them with &quot;View Categories in DB&quot; and click their lines.</source>
        <translation>Wählen Sie zuerst die zu löschenden Kategorien: Zeigen Sie sie mit „Kategorien anzeigen“ an und klicken Sie auf ihre Zeilen.</translation>
    </message>
    <message>
        <source>DELETE THESE %1 %2?????</source>
        <translation>DIESE %1 %2 LÖSCHEN?????</translation>
    </message>
    <message>
        <source>Poi</source>
        <translation>POI</translation>
    </message>
    <message>
        <source>Reading the categories</source>
        <translation>Kategorien werden gelesen</translation>
    </message>
    <message>
        <source>The categories could not be read.</source>
        <translation>Die Kategorien konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>It still holds %1, which OK deletes with it.</source>
        <translation>Sie enthält noch %1, die OK mit ihr löscht.</translation>
    </message>
    <message>
        <source>They still hold %1 between them, which OK deletes with them.</source>
        <translation>Sie enthalten zusammen noch %1, die OK mit ihnen löscht.</translation>
    </message>
    <message>
        <source>Deleting %1</source>
        <translation>%1 werden gelöscht</translation>
    </message>
    <message>
        <source>Delete cancelled: nothing was deleted.</source>
        <translation>Löschen abgebrochen: Nichts wurde gelöscht.</translation>
    </message>
    <message>
        <source>The points of interest were not deleted.</source>
        <translation>Die POIs wurden nicht gelöscht.</translation>
    </message>
    <message>
        <source>category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Deleted %1 and their %2.</source>
        <translation>%1 und ihre %2 gelöscht.</translation>
    </message>
    <message>
        <source>Delete cancelled: %1</source>
        <translation>Löschen abgebrochen: %1</translation>
    </message>
    <message>
        <source>The categories were not deleted.</source>
        <translation>Die Kategorien wurden nicht gelöscht.</translation>
    </message>
    <message>
        <source>Not every category was deleted. %1</source>
        <translation>Nicht alle Kategorien wurden gelöscht. %1</translation>
    </message>
    <message>
        <source>Delete All deletes every point of interest: choose &quot;Points of interest&quot; for it.</source>
        <translation>„Alle löschen“ löscht alle POIs: Wählen Sie dafür „Interessante Orte“.</translation>
    </message>
    <message>
        <source>Choose what to do first: Display, Delete selected, Delete All or Add New.</source>
        <translation>Wählen Sie zuerst, was geschehen soll: Anzeigen, Auswahl löschen, Alle löschen oder Neu hinzufügen.</translation>
    </message>
</context>
<context>
    <name>DecodingWindow</name>
    <message>
        <source>Reading the GPX file failed: %1.</source>
        <translation>Das Lesen der GPX-Datei ist fehlgeschlagen: %1.</translation>
    </message>
</context>
<context>
    <name>DirectLoader</name>
    <message>
        <source>No temporary folder could be made for the load; nothing was loaded.</source>
        <translation>Für das Laden ließ sich kein temporärer Ordner anlegen; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>The sqlite3 shell could not be started; nothing was loaded.</source>
        <translation>Die sqlite3-Shell ließ sich nicht starten; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>The database has no table %1 to load into.</source>
        <translation>Die Datenbank hat keine Tabelle %1, in die geladen werden könnte.</translation>
    </message>
    <message>
        <source>The waypoint of line %1 holds a control character that the database cannot take; nothing was loaded.</source>
        <translation>Der Wegpunkt in Zeile %1 enthält ein Steuerzeichen, das die Datenbank nicht aufnehmen kann; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>Loading into the database failed; nothing was loaded.</source>
        <translation>Das Laden in die Datenbank ist fehlgeschlagen; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>Writing the waypoints to the temporary folder %1 failed; nothing was loaded.</source>
        <translation>Das Schreiben der Wegpunkte in den temporären Ordner %1 ist fehlgeschlagen; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>Nothing was loaded into the database.</source>
        <translation>Nichts wurde in die Datenbank geladen.</translation>
    </message>
    <message>
        <source>The categories could not be read from the database; nothing was loaded.</source>
        <translation>Die Kategorien ließen sich nicht aus der Datenbank lesen; nichts wurde geladen.</translation>
    </message>
    <message numerus="yes">
        <source>%n type(s) of the file match no category, so nothing was loaded.</source>
        <translation>
            <numerusform>%n Typ der Datei nennt keine Kategorie, daher wurde nichts geladen.</numerusform>
            <numerusform>%n Typen der Datei nennen keine Kategorie, daher wurde nichts geladen.</numerusform>
        </translation>
    </message>
    <message>
        <source>A new category&apos;s text cannot be sent to the database; nothing was loaded.</source>
        <translation>Der Text einer neuen Kategorie lässt sich nicht an die Datenbank senden; nichts wurde geladen.</translation>
    </message>
    <message>
        <source>The GPX file changed while it was loaded; nothing was loaded.</source>
        <translation>Die GPX-Datei hat sich beim Laden geändert; nichts wurde geladen.</translation>
    </message>
</context>
<context>
    <name>FileName</name>
    <message>
        <source>The file name %1 cannot be used: it holds bytes that are not UTF-8 text, shown here as �, and would reach another file. Rename the file.</source>
        <translation>Der Dateiname %1 ist nicht verwendbar: Er enthält Bytes, die kein UTF-8-Text sind (hier als � gezeigt), und würde eine andere Datei treffen. Benennen Sie die Datei um.</translation>
    </message>
</context>
<context>
    <name>GpxMapPreview</name>
    <message>
        <source>The categories could not be read from %1.</source>
        <translation>Die Kategorien ließen sich nicht aus %1 lesen.</translation>
    </message>
    <message>
        <source>The POIs could not be read from %1.</source>
        <translation>Die POIs ließen sich nicht aus %1 lesen.</translation>
    </message>
</context>
<context>
    <name>GpxScanner</name>
    <message>
        <source>Cannot open the GPX file %1: %2.</source>
        <translation>Die GPX-Datei %1 lässt sich nicht öffnen: %2.</translation>
    </message>
    <message>
        <source>The conversion was cancelled.</source>
        <translation>Die Umwandlung wurde abgebrochen.</translation>
    </message>
</context>
<context>
    <name>MapPane</name>
    <message>
        <source>Fit</source>
        <translation>Alles zeigen</translation>
    </message>
    <message>
        <source>Show every point</source>
        <translation>Jeden Punkt zeigen</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>The file &quot;%1&quot; does not exist.</source>
        <translation>Die Datei „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>No editor could be started for &quot;%1&quot;.</source>
        <translation>Für „%1“ konnte kein Editor gestartet werden.</translation>
    </message>
</context>
<context>
    <name>PoiConverter</name>
    <message>
        <source>Bad Path for Output</source>
        <translation>Ungültiger Ausgabepfad</translation>
    </message>
    <message>
        <source>Cannot open the GPX file %1.</source>
        <translation>Die GPX-Datei %1 lässt sich nicht öffnen.</translation>
    </message>
    <message>
        <source>The output file %1 is the GPX file itself; choose another name for the SQL file.</source>
        <translation>Die Ausgabedatei %1 ist die GPX-Datei selbst; wählen Sie einen anderen Namen für die SQL-Datei.</translation>
    </message>
    <message>
        <source>Cannot create the output file %1.</source>
        <translation>Die Ausgabedatei %1 lässt sich nicht anlegen.</translation>
    </message>
    <message>
        <source>The conversion was stopped.</source>
        <translation>Die Umwandlung wurde angehalten.</translation>
    </message>
    <message>
        <source>Writing the output file %1 failed.</source>
        <translation>Das Schreiben der Ausgabedatei %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Reading the GPX file %1 failed.</source>
        <translation>Das Lesen der GPX-Datei %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>%1 waypoint(s) could not be converted, so nothing was loaded.</source>
        <translation>%1 Wegpunkt(e) ließen sich nicht umwandeln, daher wurde nichts geladen.</translation>
    </message>
    <message>
        <source>No waypoint of %1 could be converted, so %2 was left as it was.</source>
        <translation>Kein Wegpunkt aus %1 ließ sich umwandeln, daher blieb %2 unverändert.</translation>
    </message>
    <message>
        <source>The categories could not be read from %1.</source>
        <translation>Die Kategorien ließen sich nicht aus %1 lesen.</translation>
    </message>
    <message numerus="yes">
        <source>%n type(s) of the file match no category, so no statement was made.</source>
        <translation>
            <numerusform>%n Typ der Datei nennt keine Kategorie, daher wurde keine Anweisung erzeugt.</numerusform>
            <numerusform>%n Typen der Datei nennen keine Kategorie, daher wurde keine Anweisung erzeugt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Standard input could not be kept for its second reading.</source>
        <translation>Die Standardeingabe ließ sich für ihr zweites Lesen nicht aufbewahren.</translation>
    </message>
</context>
<context>
    <name>PoiExport</name>
    <message>
        <source>The GPX file %1 is the database itself; choose another name.</source>
        <translation>Die GPX-Datei %1 ist die Datenbank selbst; wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>Cannot create the GPX file %1.</source>
        <translation>Die GPX-Datei %1 lässt sich nicht anlegen.</translation>
    </message>
    <message>
        <source>Its coordinates are not numbers within range.</source>
        <translation>Seine Koordinaten sind keine Zahlen im gültigen Bereich.</translation>
    </message>
    <message>
        <source>Its texts hold a character a GPX file cannot carry.</source>
        <translation>Seine Texte enthalten ein Zeichen, das eine GPX-Datei nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>The export was stopped; no file was written.</source>
        <translation>Der Export wurde angehalten; keine Datei wurde geschrieben.</translation>
    </message>
    <message>
        <source>The POIs could not be read from the database.</source>
        <translation>Die POIs ließen sich nicht aus der Datenbank lesen.</translation>
    </message>
    <message>
        <source>Writing the GPX text to standard output failed.</source>
        <translation>Das Schreiben des GPX-Textes auf die Standardausgabe ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Writing the GPX file %1 failed.</source>
        <translation>Das Schreiben der GPX-Datei %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The categories could not be read from the database.</source>
        <translation>Die Kategorien ließen sich nicht aus der Datenbank lesen.</translation>
    </message>
</context>
<context>
    <name>PoiStatement</name>
    <message>
        <source>The table name %1 is not a plain SQL name (letters, digits and _, not starting with a digit).</source>
        <translation>Der Tabellenname %1 ist kein einfacher SQL-Name (Buchstaben, Ziffern und _, nicht mit einer Ziffer beginnend).</translation>
    </message>
    <message>
        <source>The table name %1 is an SQL keyword; choose another name.</source>
        <translation>Der Tabellenname %1 ist ein SQL-Schlüsselwort; wählen Sie einen anderen Namen.</translation>
    </message>
</context>
<context>
    <name>PoiTableModel</name>
    <message>
        <source>Category %1</source>
        <translation>Kategorie %1</translation>
    </message>
    <message>
        <source>id</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>lat</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>lon</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>category</source>
        <translation>Kategorie</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>RememberedChoices</name>
    <message>
        <source>The database from last time, %1, could not be opened and is forgotten (%2).</source>
        <translation>Die Datenbank vom letzten Mal, %1, ließ sich nicht öffnen und wird vergessen (%2).</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%1 von %2 %3</translation>
    </message>
</context>
<context>
    <name>SetupPanel</name>
    <message>
        <source>Setup</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>Te&amp;mporary space.</source>
        <translation>Te&amp;mporärer Ordner.</translation>
    </message>
    <message>
        <source>Poi data&amp;base.</source>
        <translation>POI-Daten&amp;bank.</translation>
    </message>
    <message>
        <source>Choose the POI database</source>
        <translation>POI-Datenbank wählen</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Add &amp;New Category</source>
        <translation>Neue &amp;Kategorie</translation>
    </message>
    <message>
        <source>Num</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|Database Files (*.db)|*.db|</source>
        <translation>Alle Dateien (*.*)|*.*|Datenbankdateien (*.db)|*.db|</translation>
    </message>
    <message>
        <source>Opening the database from last time</source>
        <translation>Die Datenbank vom letzten Mal wird geöffnet</translation>
    </message>
    <message>
        <source>Reading the categories</source>
        <translation>Die Kategorien werden gelesen</translation>
    </message>
    <message>
        <source>Opening the database from last time was cancelled.</source>
        <translation>Das Öffnen der Datenbank vom letzten Mal wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Reading the categories was cancelled.</source>
        <translation>Das Lesen der Kategorien wurde abgebrochen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a POI database or cannot be read. %2</source>
        <translation>„%1“ ist keine POI-Datenbank oder lässt sich nicht lesen. %2</translation>
    </message>
    <message>
        <source>No database is chosen yet.</source>
        <translation>Noch ist keine Datenbank gewählt.</translation>
    </message>
    <message>
        <source>The database in use stays &quot;%1&quot;.</source>
        <translation>Die verwendete Datenbank bleibt „%1“.</translation>
    </message>
    <message>
        <source>The categories could not be read from this database.</source>
        <translation>Die Kategorien ließen sich aus dieser Datenbank nicht lesen.</translation>
    </message>
    <message>
        <source>You must select a valid poi database</source>
        <translation>Sie müssen eine gültige POI-Datenbank auswählen</translation>
    </message>
    <message>
        <source>Adding the category</source>
        <translation>Die Kategorie wird hinzugefügt</translation>
    </message>
    <message>
        <source>New Category failed</source>
        <translation>Neue Kategorie fehlgeschlagen</translation>
    </message>
    <message>
        <source>Added category &quot;%1&quot;.</source>
        <translation>Kategorie „%1“ hinzugefügt.</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <source>Select a Category</source>
        <translation>Kategorie wählen</translation>
    </message>
</context>
<context>
    <name>ShellBatch</name>
    <message>
        <source>The sqlite3 shell stopped before the load was complete.</source>
        <translation>Die sqlite3-Shell hielt an, bevor das Laden vollständig war.</translation>
    </message>
    <message>
        <source>The load was stopped; nothing was stored.</source>
        <translation>Das Laden wurde angehalten; nichts wurde gespeichert.</translation>
    </message>
    <message>
        <source>The batch has no working folder for its answers.</source>
        <translation>Der Stapel hat keinen Arbeitsordner für seine Antworten.</translation>
    </message>
    <message>
        <source>The sqlite3 shell&apos;s answer could not be read.</source>
        <translation>Die Antwort der sqlite3-Shell ließ sich nicht lesen.</translation>
    </message>
    <message>
        <source>The sqlite3 shell ended with exit code %1.</source>
        <translation>Die sqlite3-Shell endete mit dem Exit-Code %1.</translation>
    </message>
    <message>
        <source>The sqlite3 shell ended without confirming that it had finished.</source>
        <translation>Die sqlite3-Shell endete, ohne zu bestätigen, dass sie fertig war.</translation>
    </message>
</context>
<context>
    <name>ShellCheck</name>
    <message>
        <source>The sqlite3 shell could not be started (%1). Geofill needs it for every database access.</source>
        <translation>Die sqlite3-Shell ließ sich nicht starten (%1). Geofill braucht sie für jeden Datenbankzugriff.</translation>
    </message>
</context>
<context>
    <name>ShellVersion</name>
    <message>
        <source>The sqlite3 shell %1 could not be started.</source>
        <translation>Die sqlite3-Shell %1 ließ sich nicht starten.</translation>
    </message>
    <message>
        <source>The sqlite3 shell %1 did not give its version within %2 seconds, so it is not used; nothing was changed.</source>
        <translation>Die sqlite3-Shell %1 nannte ihre Version nicht innerhalb von %2 Sekunden und wird daher nicht verwendet; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The program %1 gave no sqlite3 version number, so it is not used; nothing was changed.</source>
        <translation>Das Programm %1 nannte keine sqlite3-Versionsnummer und wird daher nicht verwendet; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The sqlite3 shell %1 is version %2; Geofill needs %3 or later. Nothing was changed.</source>
        <translation>Die sqlite3-Shell %1 hat die Version %2; Geofill braucht %3 oder neuer. Nichts wurde geändert.</translation>
    </message>
</context>
<context>
    <name>SqlText</name>
    <message>
        <source>The text holds a control character (code %1) that the database cannot take; nothing was changed.</source>
        <translation>Der Text enthält ein Steuerzeichen (Code %1), das die Datenbank nicht aufnehmen kann; nichts wurde geändert.</translation>
    </message>
</context>
<context>
    <name>StagingFolder</name>
    <message>
        <source>%1 (in the temporary folder %2)</source>
        <translation>%1 (im temporären Ordner %2)</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message>
        <source>Recent messages (choose one to copy it)</source>
        <translation>Letzte Meldungen (zum Kopieren eine wählen)</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>First Select a database using the file selector</source>
        <translation>Wählen Sie zuerst mit der Dateiauswahl eine Datenbank</translation>
    </message>
    <message>
        <source>Now select ( Or add a new ) category </source>
        <translation>Wählen Sie nun eine Kategorie ( oder legen Sie eine neue an ) </translation>
    </message>
    <message>
        <source>Select a gpx file to process using the file selector</source>
        <translation>Wählen Sie mit der Dateiauswahl die zu verarbeitende GPX-Datei</translation>
    </message>
    <message>
        <source>Now select an Output option before &apos;Clicking on Convert Poi&apos;</source>
        <translation>Wählen Sie nun eine Ausgabeoption, bevor Sie auf &apos;POI in SQL umwandeln&apos; klicken</translation>
    </message>
    <message>
        <source>The contents of the Database can be viewed using &apos;View poi or category&apos;</source>
        <translation>Den Inhalt der Datenbank zeigen &apos;POIs anzeigen&apos; und &apos;Kategorien anzeigen&apos;</translation>
    </message>
</context>
<context>
    <name>TextDecoding</name>
    <message>
        <source>The file declares the text encoding &quot;%1&quot;, which cannot be read.</source>
        <translation>Die Datei gibt die Textkodierung „%1“ an, die sich nicht lesen lässt.</translation>
    </message>
</context>
<context>
    <name>Tile</name>
    <message>
        <source>The zoom level %1 is not between 0 and %2.</source>
        <translation>Die Zoomstufe %1 liegt nicht zwischen 0 und %2.</translation>
    </message>
    <message>
        <source>The area to cover has a corner that is not a number.</source>
        <translation>Eine Ecke des abzudeckenden Gebiets ist keine Zahl.</translation>
    </message>
    <message>
        <source>The area needs %1 tiles at zoom level %2; at most %3 are fetched at once.</source>
        <translation>Das Gebiet braucht %1 Kacheln in Zoomstufe %2; höchstens %3 werden auf einmal geholt.</translation>
    </message>
</context>
<context>
    <name>TileSource</name>
    <message>
        <source>The tile server did not answer within %1 seconds.</source>
        <translation>Der Kachelserver hat nicht innerhalb von %1 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>The tile server sent more than %1 KiB for one tile.</source>
        <translation>Der Kachelserver hat mehr als %1 KiB für eine Kachel geschickt.</translation>
    </message>
    <message>
        <source>The tile %1 could not be fetched.</source>
        <translation>Die Kachel %1 konnte nicht geholt werden.</translation>
    </message>
    <message>
        <source>The tile %1 is %2×%3 pixels, larger than a map tile can be.</source>
        <translation>Die Kachel %1 ist %2×%3 Pixel groß, größer als eine Kartenkachel sein kann.</translation>
    </message>
    <message>
        <source>The tile %1 is not a picture.</source>
        <translation>Die Kachel %1 ist kein Bild.</translation>
    </message>
</context>
<context>
    <name>TileUrlTemplate</name>
    <message>
        <source>The tile address is empty.</source>
        <translation>Die Kacheladresse ist leer.</translation>
    </message>
    <message>
        <source>The tile address %1 has %2 where it may only have {z}, {x}, {y} and {s}.</source>
        <translation>Die Kacheladresse %1 enthält %2, wo nur {z}, {x}, {y} und {s} stehen dürfen.</translation>
    </message>
    <message>
        <source>The tile address %1 lacks {%2}, so it would name the same picture for different tiles.</source>
        <translation>Der Kacheladresse %1 fehlt {%2}, sodass sie für verschiedene Kacheln dasselbe Bild nennen würde.</translation>
    </message>
    <message>
        <source>The tile address %1 is not a complete address such as %2.</source>
        <translation>Die Kacheladresse %1 ist keine vollständige Adresse wie %2.</translation>
    </message>
    <message>
        <source>The tile address %1 does not name a folder on this computer by its full path.</source>
        <translation>Die Kacheladresse %1 nennt keinen Ordner auf diesem Computer mit vollständigem Pfad.</translation>
    </message>
    <message>
        <source>The tile address %1 starts with %2:, but tiles can only be read from http:, https: or file: addresses.</source>
        <translation>Die Kacheladresse %1 beginnt mit %2:, Kacheln lassen sich aber nur von http:-, https:- oder file:-Adressen lesen.</translation>
    </message>
    <message>
        <source>The tile address %1 names no server.</source>
        <translation>Die Kacheladresse %1 nennt keinen Server.</translation>
    </message>
</context>
<context>
    <name>WaypointMachine</name>
    <message>
        <source>Waypoint skipped: the file ends before its &lt;/wpt&gt; end tag.</source>
        <translation>Wegpunkt übersprungen: Die Datei endet vor seinem End-Tag &lt;/wpt&gt;.</translation>
    </message>
    <message>
        <source>Waypoint skipped: the file ends inside its &lt;wpt&gt; start tag.</source>
        <translation>Wegpunkt übersprungen: Die Datei endet in seinem Start-Tag &lt;wpt&gt;.</translation>
    </message>
    <message>
        <source>Waypoint skipped: a new waypoint starts on line %1 before its &lt;/wpt&gt; end tag.</source>
        <translation>Wegpunkt übersprungen: In Zeile %1 beginnt ein neuer Wegpunkt vor seinem End-Tag &lt;/wpt&gt;.</translation>
    </message>
    <message>
        <source>Waypoint skipped: its &lt;%1&gt; element has no end tag.</source>
        <translation>Wegpunkt übersprungen: Seinem Element &lt;%1&gt; fehlt das End-Tag.</translation>
    </message>
    <message>
        <source>Category record skipped</source>
        <translation>Kategorie-Eintrag übersprungen</translation>
    </message>
    <message>
        <source>Waypoint skipped</source>
        <translation>Wegpunkt übersprungen</translation>
    </message>
    <message>
        <source>%1: its %2 is not UTF-8 text, and the file declares no other encoding.</source>
        <translation>%1: Sein %2 ist kein UTF-8-Text, und die Datei gibt keine andere Kodierung an.</translation>
    </message>
    <message>
        <source>%1: its %2 contains a character not allowed in GPX.</source>
        <translation>%1: Sein %2 enthält ein in GPX nicht erlaubtes Zeichen.</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Über Geofill</translation>
    </message>
    <message>
        <source>Convert GPX poifiles to SQL for display or Loading into Maemo Mapper</source>
        <translation>Wandelt GPX-POI-Dateien in SQL um, zum Anzeigen oder Laden in Maemo Mapper</translation>
    </message>
    <message>
        <source>Geofill is free software, licensed under the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later); it comes with ABSOLUTELY NO WARRANTY.</source>
        <translation>Geofill ist freie Software, lizenziert unter der GNU General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren Version (GPL-3.0-or-later); es kommt OHNE JEDE GEWÄHRLEISTUNG.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>December 2026</source>
        <translation>Dezember 2026</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Free to use and to share. Released %1</source>
        <translation>Frei zu nutzen und zu teilen. Stand: %1</translation>
    </message>
</context>
<context>
    <name>frmGpxMap</name>
    <message>
        <source>GPX File on the Map</source>
        <translation>GPX-Datei auf der Karte</translation>
    </message>
    <message>
        <source>&amp;Read Again</source>
        <translation>&amp;Neu einlesen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>You must select a valid gpx file</source>
        <translation>Sie müssen eine gültige GPX-Datei auswählen</translation>
    </message>
    <message>
        <source>No GPX file is chosen in the main window.</source>
        <translation>Im Hauptfenster ist keine GPX-Datei gewählt.</translation>
    </message>
    <message>
        <source>Reading %1…</source>
        <translation>%1 wird gelesen…</translation>
    </message>
    <message>
        <source>Reading %1 for the map</source>
        <translation>%1 wird für die Karte gelesen</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Reading %1 was cancelled.</source>
        <translation>Das Lesen von %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 ließ sich nicht lesen.</translation>
    </message>
    <message>
        <source>%1 could not be shown on the map.</source>
        <translation>%1 ließ sich nicht auf der Karte zeigen.</translation>
    </message>
    <message>
        <source>%1 on the Map</source>
        <translation>%1 auf der Karte</translation>
    </message>
    <message>
        <source>new waypoint</source>
        <translation>neuer Wegpunkt</translation>
    </message>
    <message>
        <source>new waypoints</source>
        <translation>neue Wegpunkte</translation>
    </message>
    <message>
        <source>waypoint already in the database</source>
        <translation>Wegpunkt bereits in der Datenbank</translation>
    </message>
    <message>
        <source>waypoints already in the database</source>
        <translation>Wegpunkte bereits in der Datenbank</translation>
    </message>
    <message>
        <source>No category chosen: no POIs to compare with.</source>
        <translation>Keine Kategorie gewählt: keine POIs zum Vergleich.</translation>
    </message>
    <message>
        <source>%1 of the category %2</source>
        <translation>%1 der Kategorie %2</translation>
    </message>
    <message>
        <source>POI</source>
        <translation>POI</translation>
    </message>
    <message>
        <source>POIs</source>
        <translation>POIs</translation>
    </message>
    <message>
        <source>(%1 without a usable lat and lon)</source>
        <translation>(%1 ohne brauchbare Breite und Länge)</translation>
    </message>
    <message>
        <source>No waypoint would be skipped.</source>
        <translation>Kein Wegpunkt würde übersprungen.</translation>
    </message>
    <message>
        <source>Skipped, and not drawn: %1</source>
        <translation>Übersprungen und nicht gezeichnet: %1</translation>
    </message>
    <message>
        <source>waypoint</source>
        <translation>Wegpunkt</translation>
    </message>
    <message>
        <source>waypoints</source>
        <translation>Wegpunkte</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>… und %1 weitere</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(ohne Namen)</translation>
    </message>
    <message>
        <source>%1 (already in the database)</source>
        <translation>%1 (bereits in der Datenbank)</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
    <message>
        <source>Map tiles are off: %1</source>
        <translation>Kartenkacheln sind aus: %1</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>E&amp;xit</source>
        <translation>Be&amp;enden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New POI Database…</source>
        <translation>&amp;Neue POI-Datenbank…</translation>
    </message>
    <message>
        <source>&amp;Export POIs to GPX…</source>
        <translation>POIs als GPX e&amp;xportieren…</translation>
    </message>
    <message>
        <source>&amp;GPS Babel</source>
        <translation>&amp;GPS Babel</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>The GPSBabel front end &quot;%1&quot; could not be started.</source>
        <translation>Die GPSBabel-Oberfläche „%1“ ließ sich nicht starten.</translation>
    </message>
    <message>
        <source>&amp;Manage POIs…</source>
        <translation>POIs &amp;verwalten…</translation>
    </message>
    <message>
        <source>&amp;Allow DB operations: Manage POIs…</source>
        <translation>&amp;DB-Operationen erlauben: POIs verwalten…</translation>
    </message>
    <message>
        <source>Show GPX File on Ma&amp;p…</source>
        <translation>GPX-Datei auf der &amp;Karte zeigen…</translation>
    </message>
</context>
<context>
    <name>frmManager</name>
    <message>
        <source>Manage POIs</source>
        <translation>POIs verwalten</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Double-click a label or description to change it; tick &quot;enabled&quot; to show the category in the map application</source>
        <translation>Doppelklick auf Bezeichnung oder Beschreibung ändert sie; „aktiviert“ zeigt die Kategorie in der Kartenanwendung</translation>
    </message>
    <message>
        <source>POIs</source>
        <translation>POIs</translation>
    </message>
    <message>
        <source>&amp;Show:</source>
        <translation>&amp;Zeigen:</translation>
    </message>
    <message>
        <source>S&amp;earch:</source>
        <translation>S&amp;uchen:</translation>
    </message>
    <message>
        <source>part of a label or description</source>
        <translation>Teil einer Bezeichnung oder Beschreibung</translation>
    </message>
    <message>
        <source>Click a column&apos;s heading to sort by it; double-click a value to change it</source>
        <translation>Klick auf eine Spaltenüberschrift sortiert danach; Doppelklick auf einen Wert ändert ihn</translation>
    </message>
    <message>
        <source>&amp;Target category:</source>
        <translation>Ziel&amp;kategorie:</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Export Selected POIs to GPX…</source>
        <translation>Ausgewählte POIs als GPX &amp;exportieren…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Copy Selected POIs</source>
        <translation>Ausgewählte POIs &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Add Category…</source>
        <translation>Kategorie &amp;hinzufügen…</translation>
    </message>
    <message>
        <source>Delete Category…</source>
        <translation>Kategorie löschen…</translation>
    </message>
    <message>
        <source>&amp;Move Selected POIs to Target Category</source>
        <translation>Ausgewählte POIs in die Zielkategorie &amp;verschieben</translation>
    </message>
    <message>
        <source>&amp;Delete Selected POIs…</source>
        <translation>Ausgewählte POIs &amp;löschen…</translation>
    </message>
    <message>
        <source>&amp;Read Again</source>
        <translation>&amp;Neu einlesen</translation>
    </message>
    <message>
        <source>POI</source>
        <translation>POI</translation>
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
        <source>Renaming the category</source>
        <translation>Die Kategorie wird umbenannt</translation>
    </message>
    <message>
        <source>Renamed the category to &quot;%1&quot;.</source>
        <translation>Die Kategorie wurde in „%1“ umbenannt.</translation>
    </message>
    <message>
        <source>Changing the description</source>
        <translation>Die Beschreibung wird geändert</translation>
    </message>
    <message>
        <source>Changed the description of &quot;%1&quot;.</source>
        <translation>Die Beschreibung von „%1“ wurde geändert.</translation>
    </message>
    <message>
        <source>Enabling the category</source>
        <translation>Die Kategorie wird aktiviert</translation>
    </message>
    <message>
        <source>Disabling the category</source>
        <translation>Die Kategorie wird deaktiviert</translation>
    </message>
    <message>
        <source>Enabled the category &quot;%1&quot;.</source>
        <translation>Die Kategorie „%1“ wurde aktiviert.</translation>
    </message>
    <message>
        <source>Disabled the category &quot;%1&quot;.</source>
        <translation>Die Kategorie „%1“ wurde deaktiviert.</translation>
    </message>
    <message>
        <source>Choose a POI database in the main window.</source>
        <translation>Wählen Sie im Hauptfenster eine POI-Datenbank.</translation>
    </message>
    <message>
        <source>Reading the POIs</source>
        <translation>Die POIs werden gelesen</translation>
    </message>
    <message>
        <source>Reading the database was cancelled; the tables may be out of date.</source>
        <translation>Das Lesen der Datenbank wurde abgebrochen; die Tabellen sind womöglich nicht aktuell.</translation>
    </message>
    <message>
        <source>All categories</source>
        <translation>Alle Kategorien</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Cancelled; nothing was changed.</source>
        <translation>Abgebrochen; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Undoing %1</source>
        <translation>%1 wird rückgängig gemacht</translation>
    </message>
    <message>
        <source>Redoing %1</source>
        <translation>%1 wird wiederholt</translation>
    </message>
    <message>
        <source>Undone: %1.</source>
        <translation>Rückgängig gemacht: %1.</translation>
    </message>
    <message>
        <source>Redone: %1.</source>
        <translation>Wiederholt: %1.</translation>
    </message>
    <message>
        <source>Adding the category</source>
        <translation>Die Kategorie wird hinzugefügt</translation>
    </message>
    <message>
        <source>Added category &quot;%1&quot;.</source>
        <translation>Kategorie „%1“ hinzugefügt.</translation>
    </message>
    <message>
        <source>Choose the category to delete in the table of categories.</source>
        <translation>Wählen Sie die zu löschende Kategorie in der Tabelle der Kategorien.</translation>
    </message>
    <message>
        <source>Delete the category &quot;%1&quot;?</source>
        <translation>Die Kategorie „%1“ löschen?</translation>
    </message>
    <message>
        <source>Delete Category</source>
        <translation>Kategorie löschen</translation>
    </message>
    <message>
        <source>The category &quot;%1&quot; holds %2. Delete them with it, or move them to &quot;%3&quot;?</source>
        <translation>Die Kategorie „%1“ enthält %2. Mit ihr löschen oder nach „%3“ verschieben?</translation>
    </message>
    <message>
        <source>Delete the POIs too</source>
        <translation>Die POIs mitlöschen</translation>
    </message>
    <message>
        <source>Move them to &quot;%1&quot;</source>
        <translation>Nach „%1“ verschieben</translation>
    </message>
    <message>
        <source>The category &quot;%1&quot; holds %2. Delete them with it? To move them instead, choose another target category first.</source>
        <translation>Die Kategorie „%1“ enthält %2. Mit ihr löschen? Um sie stattdessen zu verschieben, wählen Sie zuerst eine andere Zielkategorie.</translation>
    </message>
    <message>
        <source>Deleting the category</source>
        <translation>Die Kategorie wird gelöscht</translation>
    </message>
    <message>
        <source>Deleted the category &quot;%1&quot;.</source>
        <translation>Die Kategorie „%1“ wurde gelöscht.</translation>
    </message>
    <message>
        <source>Deleted the category &quot;%1&quot;; moved its %2 to &quot;%3&quot;.</source>
        <translation>Die Kategorie „%1“ wurde gelöscht; ihre %2 wurden nach „%3“ verschoben.</translation>
    </message>
    <message>
        <source>Deleted the category &quot;%1&quot; and its %2.</source>
        <translation>Die Kategorie „%1“ und ihre %2 wurden gelöscht.</translation>
    </message>
    <message>
        <source>Changing POI %1</source>
        <translation>POI %1 wird geändert</translation>
    </message>
    <message>
        <source>Changed POI %1.</source>
        <translation>POI %1 wurde geändert.</translation>
    </message>
    <message>
        <source>Select the POIs to delete first.</source>
        <translation>Wählen Sie zuerst die zu löschenden POIs aus.</translation>
    </message>
    <message>
        <source>Delete %1?</source>
        <translation>%1 löschen?</translation>
    </message>
    <message>
        <source>Delete POIs</source>
        <translation>POIs löschen</translation>
    </message>
    <message>
        <source>Deleting %1</source>
        <translation>%1 werden gelöscht</translation>
    </message>
    <message>
        <source>Deleted %1.</source>
        <translation>%1 gelöscht.</translation>
    </message>
    <message>
        <source>Select the POIs to move and choose their target category first.</source>
        <translation>Wählen Sie zuerst die zu verschiebenden POIs und ihre Zielkategorie aus.</translation>
    </message>
    <message>
        <source>Moving %1</source>
        <translation>%1 werden verschoben</translation>
    </message>
    <message>
        <source>Moved %1 to &quot;%2&quot;.</source>
        <translation>%1 nach „%2“ verschoben.</translation>
    </message>
    <message>
        <source>Copied %1.</source>
        <translation>%1 kopiert.</translation>
    </message>
    <message>
        <source>Select the POIs to export first.</source>
        <translation>Wählen Sie zuerst die zu exportierenden POIs aus.</translation>
    </message>
    <message>
        <source>Export Selected POIs to GPX</source>
        <translation>Ausgewählte POIs als GPX exportieren</translation>
    </message>
    <message>
        <source>Poi Files (*.gpx)|*.gpx|</source>
        <translation>POI-Dateien (*.gpx)|*.gpx|</translation>
    </message>
    <message>
        <source>Exporting to %1</source>
        <translation>Export nach %1</translation>
    </message>
    <message>
        <source>Exported %1 to %2.</source>
        <translation>%1 nach %2 exportiert.</translation>
    </message>
    <message>
        <source>%1 could not be written and were left out.</source>
        <translation>%1 konnten nicht geschrieben werden und wurden ausgelassen.</translation>
    </message>
    <message>
        <source>Read %1 in %2 categories from %3.</source>
        <translation>%1 in %2 Kategorien aus %3 gelesen.</translation>
    </message>
    <message>
        <source>Rename Category &quot;%1&quot;</source>
        <translation>Kategorie „%1“ umbenennen</translation>
    </message>
    <message>
        <source>Edit Description of &quot;%1&quot;</source>
        <translation>Beschreibung von „%1“ ändern</translation>
    </message>
    <message>
        <source>Enable Category &quot;%1&quot;</source>
        <translation>Kategorie „%1“ aktivieren</translation>
    </message>
    <message>
        <source>Disable Category &quot;%1&quot;</source>
        <translation>Kategorie „%1“ deaktivieren</translation>
    </message>
    <message>
        <source>Add Category &quot;%1&quot;</source>
        <translation>Kategorie „%1“ hinzufügen</translation>
    </message>
    <message>
        <source>Delete Category &quot;%1&quot;</source>
        <translation>Kategorie „%1“ löschen</translation>
    </message>
    <message>
        <source>Edit POI %1</source>
        <translation>POI %1 ändern</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>%1 verschieben</translation>
    </message>
    <message>
        <source>Map tiles are off: %1</source>
        <translation>Kartenkacheln sind aus: %1</translation>
    </message>
</context>
<context>
    <name>frmNewCat</name>
    <message>
        <source>New Category</source>
        <translation>Neue Kategorie</translation>
    </message>
    <message>
        <source>&amp;Label</source>
        <translation>Be&amp;zeichnung</translation>
    </message>
    <message>
        <source>&amp;Description</source>
        <translation>B&amp;eschreibung</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Aktion</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>A new category needs a label.</source>
        <translation>Eine neue Kategorie braucht eine Bezeichnung.</translation>
    </message>
    <message>
        <source>There is already a category &quot;%1&quot;; choose another label.</source>
        <translation>Es gibt schon eine Kategorie „%1“; bitte eine andere Bezeichnung wählen.</translation>
    </message>
</context>
<context>
    <name>frmNewPoi</name>
    <message>
        <source>La&amp;ttitude</source>
        <translation>&amp;Breite</translation>
    </message>
    <message>
        <source>L&amp;ongditude</source>
        <translation>&amp;Länge</translation>
    </message>
    <message>
        <source>&amp;Label</source>
        <translation>Be&amp;zeichnung</translation>
    </message>
    <message>
        <source>&amp;Description</source>
        <translation>B&amp;eschreibung</translation>
    </message>
    <message>
        <source>&amp;Action</source>
        <translation>&amp;Aktion</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>Latitude must be numeric</source>
        <translation>Die Breite muss eine Zahl sein</translation>
    </message>
    <message>
        <source>Latitude must be between -90.0 and 90.0 degrees</source>
        <translation>Die Breite muss zwischen -90.0 und 90.0 Grad liegen</translation>
    </message>
    <message>
        <source>Longditude must be numeric</source>
        <translation>Die Länge muss eine Zahl sein</translation>
    </message>
    <message>
        <source>Longditude must be between -180.0 and 180.0 degrees</source>
        <translation>Die Länge muss zwischen -180.0 und 180.0 Grad liegen</translation>
    </message>
    <message>
        <source>You must have valid entries in Lat,Long and Label fields</source>
        <translation>Breite, Länge und Bezeichnung brauchen gültige Einträge</translation>
    </message>
</context>
</TS>
