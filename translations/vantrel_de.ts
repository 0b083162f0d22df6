<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>CCommandLine</name>
    <message>
        <source>Sorts a folder of pictures into named folders with one click each.</source>
        <translation>Sortiert einen Ordner voller Bilder mit je einem Klick in benannte Ordner.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Start without the splash picture.</source>
        <translation>Ohne das Startbild starten.</translation>
    </message>
    <message>
        <source>A folder to open, or a picture to show, instead of the home folder.</source>
        <translation>Ein zu öffnender Ordner oder ein zu zeigendes Bild statt des Basisordners.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>Mehr dazu mit &apos;%1 --help&apos;.</translation>
    </message>
</context>
<context>
    <name>CDestinationCheck</name>
    <message>
        <source>%1 is not a folder: pictures cannot be sorted into it (%2).</source>
        <translation>%1 ist kein Ordner: Bilder können nicht dorthin sortiert werden (%2).</translation>
    </message>
    <message>
        <source>Pictures cannot be sorted into %1 (%2): the folder cannot be written to.</source>
        <translation>Bilder können nicht nach %1 sortiert werden (%2): In den Ordner kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The folder %1 (%2) does not exist. Make it now?</source>
        <translation>Der Ordner %1 (%2) existiert nicht. Jetzt anlegen?</translation>
    </message>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>CFileCommandsProvider</name>
    <message>
        <source>Rename...</source>
        <translation>Umbenennen...</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New name:</source>
        <translation>Neuer Name:</translation>
    </message>
</context>
<context>
    <name>CFileOpDialogs</name>
    <message>
        <source>There is already a file named &quot;%1&quot; in &quot;%2&quot;.</source>
        <translation>In „%2“ gibt es schon eine Datei namens „%1“.</translation>
    </message>
    <message>
        <source>The file there: %1
The new one: %2</source>
        <translation>Die vorhandene Datei: %1
Die neue: %2</translation>
    </message>
    <message>
        <source>Keep both</source>
        <translation>Beide behalten</translation>
    </message>
    <message>
        <source>%1, modified %2</source>
        <translation>%1, geändert %2</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Do the same for every conflict of this action</source>
        <translation>Für jeden Konflikt dieser Aktion dasselbe tun</translation>
    </message>
</context>
<context>
    <name>CFileOperations</name>
    <message>
        <source>it is a named pipe, not a file</source>
        <translation>es ist eine benannte Pipe, keine Datei</translation>
    </message>
    <message>
        <source>it is a socket, not a file</source>
        <translation>es ist ein Socket, keine Datei</translation>
    </message>
    <message>
        <source>it is a device, not a file</source>
        <translation>es ist ein Gerät, keine Datei</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>no destination folder is set</source>
        <translation>es ist kein Zielordner festgelegt</translation>
    </message>
    <message>
        <source>that is not the name of a file</source>
        <translation>das ist kein Dateiname</translation>
    </message>
    <message>
        <source>the file is not there</source>
        <translation>die Datei ist nicht da</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>es ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>the link leads nowhere</source>
        <translation>die Verknüpfung führt ins Leere</translation>
    </message>
    <message>
        <source>the destination folder cannot be opened</source>
        <translation>der Zielordner lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>the destination is not a folder</source>
        <translation>das Ziel ist kein Ordner</translation>
    </message>
    <message>
        <source>the source and the destination are the same file</source>
        <translation>Quelle und Ziel sind dieselbe Datei</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>ein Ordner dieses Namens ist im Weg</translation>
    </message>
    <message>
        <source>Moving %1 to %2</source>
        <translation>%1 wird nach %2 verschoben</translation>
    </message>
    <message>
        <source>Copying %1 to %2</source>
        <translation>%1 wird nach %2 kopiert</translation>
    </message>
    <message>
        <source>the copy did not come out whole</source>
        <translation>die Kopie ist nicht vollständig</translation>
    </message>
    <message>
        <source>the file already there cannot be moved to the trash</source>
        <translation>die vorhandene Datei lässt sich nicht in den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>the file did not arrive</source>
        <translation>die Datei ist nicht angekommen</translation>
    </message>
    <message>
        <source>the file is still in its old place</source>
        <translation>die Datei ist noch an ihrem alten Platz</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2.</source>
        <translation>%1 kann nicht gelöscht werden: %2.</translation>
    </message>
    <message>
        <source>it is still there</source>
        <translation>sie ist noch da</translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3.</source>
        <translation>%1 kann nicht in %2 umbenannt werden: %3.</translation>
    </message>
    <message>
        <source>not a valid name</source>
        <translation>kein gültiger Name</translation>
    </message>
    <message>
        <source>that name is taken</source>
        <translation>der Name ist schon vergeben</translation>
    </message>
    <message>
        <source>move</source>
        <translation>verschieben</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>kopieren</translation>
    </message>
    <message>
        <source>Cannot %1 %2 to %3: %4.</source>
        <translation>%2 lässt sich nicht nach %3 %1: %4.</translation>
    </message>
    <message>
        <source>the file cannot be removed from its folder, so the copy was taken back</source>
        <translation>die Datei lässt sich nicht aus ihrem Ordner entfernen, daher wurde die Kopie zurückgenommen</translation>
    </message>
    <message>
        <source>Cannot move %1 to the trash: %2.  The file was left where it is.</source>
        <translation>%1 kann nicht in den Papierkorb verschoben werden: %2.  Die Datei wurde an ihrem Platz gelassen.</translation>
    </message>
</context>
<context>
    <name>CFileSelect</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Folders and pictures</source>
        <translation>Ordner und Bilder</translation>
    </message>
</context>
<context>
    <name>CFilmstrip</name>
    <message>
        <source>Filmstrip</source>
        <translation>Filmstreifen</translation>
    </message>
</context>
<context>
    <name>CFolderEntry</name>
    <message>
        <source>its folder has been replaced since it was listed (the folder&apos;s path now leads to another folder), so nothing was done</source>
        <translation>ihr Ordner wurde ersetzt, seit er aufgelistet wurde (der Pfad des Ordners führt jetzt zu einem anderen Ordner), daher wurde nichts getan</translation>
    </message>
    <message>
        <source>another file has taken its name since it was shown, so nothing was done; look at the picture again before sorting it</source>
        <translation>eine andere Datei hat ihren Namen übernommen, seit sie angezeigt wurde, daher wurde nichts getan; sehen Sie sich das Bild noch einmal an, bevor Sie es sortieren</translation>
    </message>
</context>
<context>
    <name>CFullScreen</name>
    <message>
        <source>Full screen: Escape leaves</source>
        <translation>Vollbild: Esc beendet es</translation>
    </message>
</context>
<context>
    <name>CHistoryDlg</name>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>&amp;Undo up to here</source>
        <translation>Bis hierher &amp;rückgängig</translation>
    </message>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Überspringen</translation>
    </message>
    <message>
        <source>Leave this action as it is, so that the older ones can be undone</source>
        <translation>Diese Aktion so lassen, wie sie ist, damit die älteren rückgängig gemacht werden können</translation>
    </message>
    <message>
        <source>1 damaged entry of the journal was skipped.</source>
        <translation>1 beschädigter Eintrag des Journals wurde übersprungen.</translation>
    </message>
    <message numerus="yes">
        <source>%n damaged entries of the journal were skipped.</source>
        <translation>
            <numerusform>%n beschädigter Eintrag des Journals wurde übersprungen.</numerusform>
            <numerusform>%n beschädigte Einträge des Journals wurden übersprungen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CImageCtrl</name>
    <message>
        <source>This picture cannot be shown.</source>
        <translation>Dieses Bild kann nicht angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>CItemPropertiesDlg</name>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation>%1 (%2 Byte)</translation>
    </message>
    <message>
        <source>%1 Properties</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>(not found)</source>
        <translation>(nicht gefunden)</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>CKeyboardDlg</name>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation>Ziele</translation>
    </message>
</context>
<context>
    <name>CMainStatusBar</name>
    <message>
        <source>0 files</source>
        <translation>0 Dateien</translation>
    </message>
    <message>
        <source>Zoom %1</source>
        <translation>Zoom %1</translation>
    </message>
</context>
<context>
    <name>CMessageBar</name>
    <message>
        <source>Notification</source>
        <translation>Benachrichtigung</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>CMetadataLines</name>
    <message>
        <source>1/%1 s</source>
        <translation>1/%1 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>f/%1</source>
        <translation>f/%1</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
    <message>
        <source>%1 (%2 mm on 35 mm film)</source>
        <translation>%1 (%2 mm bei Kleinbild)</translation>
    </message>
    <message>
        <source>No flash</source>
        <translation>Kein Blitz</translation>
    </message>
    <message>
        <source>Fired</source>
        <translation>Ausgelöst</translation>
    </message>
    <message>
        <source>Did not fire</source>
        <translation>Nicht ausgelöst</translation>
    </message>
    <message>
        <source>%1, automatic</source>
        <translation>%1, automatisch</translation>
    </message>
    <message>
        <source>%1, red-eye reduction</source>
        <translation>%1, Rote-Augen-Reduzierung</translation>
    </message>
    <message>
        <source>%1 × %2 pixels (%3 megapixels)</source>
        <translation>%1 × %2 Pixel (%3 Megapixel)</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>E</source>
        <translation>O</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>%1° %2, %3° %4</source>
        <translation>%1° %2, %3° %4</translation>
    </message>
    <message>
        <source>Taken</source>
        <translation>Aufgenommen</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Lens</source>
        <translation>Objektiv</translation>
    </message>
    <message>
        <source>Exposure time</source>
        <translation>Belichtungszeit</translation>
    </message>
    <message>
        <source>Aperture</source>
        <translation>Blende</translation>
    </message>
    <message>
        <source>ISO</source>
        <translation>ISO</translation>
    </message>
    <message>
        <source>Focal length</source>
        <translation>Brennweite</translation>
    </message>
    <message>
        <source>Flash</source>
        <translation>Blitz</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Abmessungen</translation>
    </message>
    <message>
        <source>File size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation>%1 (%2 Byte)</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Aufnahmeort</translation>
    </message>
    <message>
        <source>Companion files</source>
        <translation>Begleitdateien</translation>
    </message>
</context>
<context>
    <name>CNamespaceListView</name>
    <message>
        <source>Out of Memory Error</source>
        <translation>Nicht genug Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Unable to get system image lists.  Exiting</source>
        <translation>Die Symbollisten des Systems sind nicht verfügbar.  Das Programm wird beendet</translation>
    </message>
</context>
<context>
    <name>CNamespaceTreeView</name>
    <message>
        <source>Out of memory error!</source>
        <translation>Nicht genug Arbeitsspeicher!</translation>
    </message>
</context>
<context>
    <name>CPictureInfoCommands</name>
    <message>
        <source>Picture Information</source>
        <translation>Bildinformationen</translation>
    </message>
</context>
<context>
    <name>CPictureInfoPanel</name>
    <message>
        <source>Picture Information</source>
        <translation>Bildinformationen</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>Wird gelesen ...</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>CPrintSetupDlg</name>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CProfileStore</name>
    <message>
        <source>it is %1 MB, far more than settings ever take</source>
        <translation>sie ist %1 MB groß, weit mehr, als Einstellungen je brauchen</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>sie ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>a folder of that name is in its place</source>
        <translation>an ihrer Stelle ist ein Ordner dieses Namens</translation>
    </message>
    <message>
        <source>the reason is not known (a trial file could be written)</source>
        <translation>der Grund ist unbekannt (eine Probedatei ließ sich schreiben)</translation>
    </message>
    <message>
        <source>The settings file %1 was not read: %2. It was kept as %3 and the program starts with its default settings.</source>
        <translation>Die Einstellungsdatei %1 wurde nicht gelesen: %2. Sie wurde als %3 aufbewahrt, und das Programm startet mit seinen Standardeinstellungen.</translation>
    </message>
    <message>
        <source>The settings file %1 was not read: %2, and it cannot be renamed (%3). The program starts with its default settings and will not save them.</source>
        <translation>Die Einstellungsdatei %1 wurde nicht gelesen: %2, und sie lässt sich nicht umbenennen (%3). Das Programm startet mit seinen Standardeinstellungen und wird sie nicht speichern.</translation>
    </message>
    <message>
        <source>The settings cannot be saved to %1, which is in the way and could not be renamed.</source>
        <translation>Die Einstellungen lassen sich nicht in %1 speichern: die Datei ist im Weg und ließ sich nicht umbenennen.</translation>
    </message>
    <message>
        <source>The settings cannot be saved to %1: %2. The changes made since the program started are lost.</source>
        <translation>Die Einstellungen lassen sich nicht in %1 speichern: %2. Die Änderungen seit dem Start des Programms gehen verloren.</translation>
    </message>
</context>
<context>
    <name>CSelectDir</name>
    <message>
        <source>Select Directory</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; does not exist or cannot be read.</source>
        <translation>Der Ordner „%1“ existiert nicht oder ist nicht lesbar.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder name.</source>
        <translation>„%1“ ist kein Ordnername.</translation>
    </message>
    <message>
        <source>A folder or file named &quot;%1&quot; is already there.</source>
        <translation>Ein Ordner oder eine Datei namens „%1“ ist schon da.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be made in %2.</source>
        <translation>Der Ordner „%1“ konnte in %2 nicht angelegt werden.</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Name of the new folder:</source>
        <translation>Name des neuen Ordners:</translation>
    </message>
</context>
<context>
    <name>CShellContextMenu</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
</context>
<context>
    <name>CSortJournal</name>
    <message>
        <source>Cannot make the folder of</source>
        <translation>Kann den Ordner nicht anlegen für</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Kann nicht öffnen:</translation>
    </message>
    <message>
        <source>Another Vantrel keeps</source>
        <translation>Ein anderes Vantrel führt</translation>
    </message>
    <message>
        <source>Cannot shorten</source>
        <translation>Kann nicht kürzen:</translation>
    </message>
    <message>
        <source>Cannot flush</source>
        <translation>Kann nicht sichern:</translation>
    </message>
    <message>
        <source>Cannot write to</source>
        <translation>Kann nicht schreiben in</translation>
    </message>
    <message>
        <source>it was a symbolic link</source>
        <translation>es war eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>it was not an ordinary file</source>
        <translation>es war keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>it belonged to another user</source>
        <translation>es gehörte einem anderen Benutzer</translation>
    </message>
    <message>
        <source>it was a second name of another file</source>
        <translation>es war ein zweiter Name einer anderen Datei</translation>
    </message>
    <message>
        <source>Cannot cut the torn end off</source>
        <translation>Kann das abgerissene Ende nicht abschneiden von</translation>
    </message>
    <message>
        <source>Cannot open the folder of</source>
        <translation>Kann den Ordner nicht öffnen für</translation>
    </message>
    <message>
        <source>The undo journal %1 could not be used: %2.  It was set aside as &quot;%3&quot;, and a new journal was started.</source>
        <translation>Das Rückgängig-Journal %1 konnte nicht verwendet werden: %2.  Es wurde als „%3“ beiseitegelegt, und ein neues Journal wurde begonnen.</translation>
    </message>
</context>
<context>
    <name>CSortSession</name>
    <message>
        <source>its picture stayed</source>
        <translation>sein Bild ist geblieben</translation>
    </message>
    <message>
        <source>an earlier picture of the action failed</source>
        <translation>ein früheres Bild der Aktion ist fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>CTarget</name>
    <message>
        <source>Click to change it in Program Config</source>
        <translation>Klicken, um es in den Programmeinstellungen zu ändern</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Bewegen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>No folder yet: click to choose one</source>
        <translation>Noch kein Ordner: klicken, um einen zu wählen</translation>
    </message>
    <message>
        <source>Set Folder...</source>
        <translation>Ordner festlegen...</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Umbenennen...</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>Ordner öffnen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>CTargetController</name>
    <message>
        <source>Rename Destination</source>
        <translation>Ziel umbenennen</translation>
    </message>
    <message>
        <source>Name of destination %1:</source>
        <translation>Name von Ziel %1:</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>No file manager could open %1.</source>
        <translation>Kein Dateimanager konnte %1 öffnen.</translation>
    </message>
    <message>
        <source>destination %1</source>
        <translation>Ziel %1</translation>
    </message>
    <message>
        <source>destination %1, %2</source>
        <translation>Ziel %1, %2</translation>
    </message>
    <message>
        <source>Choose the folder for %1</source>
        <translation>Ordner wählen für %1</translation>
    </message>
</context>
<context>
    <name>CTargetDirsDlg</name>
    <message>
        <source>Home</source>
        <translation>Basis</translation>
    </message>
    <message>
        <source>Choose the folder for %1</source>
        <translation>Ordner wählen für %1</translation>
    </message>
    <message>
        <source>the home of button group %1</source>
        <translation>den Basisordner von Gruppe %1</translation>
    </message>
    <message>
        <source>destination %1</source>
        <translation>Ziel %1</translation>
    </message>
    <message>
        <source>destination %1, %2</source>
        <translation>Ziel %1, %2</translation>
    </message>
</context>
<context>
    <name>CUndoCommands</name>
    <message>
        <source>Can&apos;t Undo %1 (%2)</source>
        <translation>%1 nicht rückgängig zu machen (%2)</translation>
    </message>
    <message>
        <source> and its companion file</source>
        <translation> und seine Begleitdatei</translation>
    </message>
    <message>
        <source> and its %1 companion files</source>
        <translation> und seine %1 Begleitdateien</translation>
    </message>
    <message>
        <source>Don&apos;t ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source>Undo is not available in this run: %1.  Sorting works as before, but actions cannot be undone.</source>
        <translation>Rückgängig ist in diesem Lauf nicht verfügbar: %1.  Das Sortieren funktioniert wie bisher, aber Aktionen lassen sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>The action cannot be skipped: %1.</source>
        <translation>Die Aktion lässt sich nicht überspringen: %1.</translation>
    </message>
    <message>
        <source>it is not done</source>
        <translation>sie ist nicht ausgeführt</translation>
    </message>
    <message>
        <source>The trash is switched off, so %1 will be deleted at once and this cannot be undone.</source>
        <translation>Der Papierkorb ist ausgeschaltet, daher wird %1 sofort gelöscht, und das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo it (Ctrl+Z)</source>
        <translation>Rückgängig machen (Strg+Z)</translation>
    </message>
    <message>
        <source>%1 pictures with their companion files</source>
        <translation>%1 Bilder samt ihren Begleitdateien</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 Bilder</translation>
    </message>
</context>
<context>
    <name>CUndoHistory</name>
    <message>
        <source>There is nothing to undo.</source>
        <translation>Es gibt nichts rückgängig zu machen.</translation>
    </message>
    <message>
        <source>There is nothing to redo.</source>
        <translation>Es gibt nichts zu wiederholen.</translation>
    </message>
    <message>
        <source>Cannot undo %1: %2.</source>
        <translation>%1 kann nicht rückgängig gemacht werden: %2.</translation>
    </message>
    <message>
        <source>undo</source>
        <translation>rückgängig machen</translation>
    </message>
    <message>
        <source>redo</source>
        <translation>wiederholen</translation>
    </message>
    <message>
        <source>Cannot %1 %2: %3.</source>
        <translation>%2 lässt sich nicht %1: %3.</translation>
    </message>
    <message>
        <source>  Nothing was changed.</source>
        <translation>  Nichts wurde geändert.</translation>
    </message>
</context>
<context>
    <name>CommandTable</name>
    <message>
        <source>&amp;Print...	Ctrl+P</source>
        <translation>&amp;Drucken...	Strg+P</translation>
    </message>
    <message>
        <source>P&amp;rint Setup...</source>
        <translation>Drucker&amp;einrichtung...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>&amp;Rückgängig	Strg+Z</translation>
    </message>
    <message>
        <source>&amp;Redo	Ctrl+Y</source>
        <translation>&amp;Wiederholen	Strg+Y</translation>
    </message>
    <message>
        <source>&amp;History...</source>
        <translation>&amp;Verlauf...</translation>
    </message>
    <message>
        <source>C&amp;lear Picture	Back</source>
        <translation>Bild &amp;leeren	Rücktaste</translation>
    </message>
    <message>
        <source>Delete Picture	Del</source>
        <translation>Bild löschen	Entf</translation>
    </message>
    <message>
        <source>Program &amp;Config</source>
        <translation>Programm&amp;einstellungen</translation>
    </message>
    <message>
        <source>&amp;Target Directories</source>
        <translation>&amp;Zielordner</translation>
    </message>
    <message>
        <source>File &amp;Types</source>
        <translation>Datei&amp;typen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <source>&amp;About Vantrel...</source>
        <translation>Ü&amp;ber Vantrel...</translation>
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
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Tab, Shift+Tab</source>
        <translation>Tab, Umschalt+Tab</translation>
    </message>
    <message>
        <source>Move the keyboard focus to the next or previous control</source>
        <translation>Den Tastaturfokus zum nächsten oder vorigen Element bewegen</translation>
    </message>
    <message>
        <source>Up, Down, Left, Right</source>
        <translation>Hoch, Runter, Links, Rechts</translation>
    </message>
    <message>
        <source>Step through the folders, the pictures or the buttons</source>
        <translation>Durch die Ordner, die Bilder oder die Schaltflächen gehen</translation>
    </message>
    <message>
        <source>Page Up, Page Down, Ctrl+Home, End</source>
        <translation>Bild auf, Bild ab, Strg+Pos1, Ende</translation>
    </message>
    <message>
        <source>Jump through the folders or the pictures</source>
        <translation>Durch die Ordner oder die Bilder springen</translation>
    </message>
    <message>
        <source>Press the button that has the keyboard focus</source>
        <translation>Die Schaltfläche mit dem Tastaturfokus drücken</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Open the context menu of the destination button that has the focus</source>
        <translation>Das Kontextmenü der Zielschaltfläche mit dem Fokus öffnen</translation>
    </message>
    <message>
        <source>Alt+F, Alt+E, Alt+V, Alt+H</source>
        <translation>Alt+D, Alt+B, Alt+A, Alt+H</translation>
    </message>
    <message>
        <source>Open the menus</source>
        <translation>Die Menüs öffnen</translation>
    </message>
    <message>
        <source>&amp;Fit to Window	Space</source>
        <translation>&amp;An Fenster anpassen	Leertaste</translation>
    </message>
    <message>
        <source>Return, Enter</source>
        <translation>Eingabe, Enter</translation>
    </message>
    <message>
        <source>Zoom &amp;In	+</source>
        <translation>Ver&amp;größern	+</translation>
    </message>
    <message>
        <source>Zoom &amp;Out	-</source>
        <translation>Ver&amp;kleinern	-</translation>
    </message>
    <message>
        <source>&amp;Actual Size	Z</source>
        <translation>&amp;Originalgröße	Z</translation>
    </message>
    <message>
        <source>F&amp;ull Screen	F11</source>
        <translation>&amp;Vollbild	F11</translation>
    </message>
    <message>
        <source>Left, Right, Up, Down in the picture</source>
        <translation>Links, Rechts, Hoch, Runter im Bild</translation>
    </message>
    <message>
        <source>Move a zoomed picture (Ctrl: by a screen)</source>
        <translation>Ein vergrößertes Bild verschieben (Strg: um eine Bildschirmseite)</translation>
    </message>
    <message>
        <source>Ctrl+Wheel</source>
        <translation>Strg+Mausrad</translation>
    </message>
    <message>
        <source>Zoom in or out at the pointer</source>
        <translation>Am Mauszeiger vergrößern oder verkleinern</translation>
    </message>
    <message>
        <source>Up, Down, Page Up, Page Down in full screen</source>
        <translation>Hoch, Runter, Bild auf, Bild ab im Vollbild</translation>
    </message>
    <message>
        <source>Step through the pictures</source>
        <translation>Durch die Bilder gehen</translation>
    </message>
    <message>
        <source>Escape in full screen</source>
        <translation>Esc im Vollbild</translation>
    </message>
    <message>
        <source>Leave full screen</source>
        <translation>Vollbild beenden</translation>
    </message>
    <message>
        <source>Fil&amp;mstrip</source>
        <translation>&amp;Filmstreifen</translation>
    </message>
    <message>
        <source>Picture &amp;Information	I</source>
        <translation>Bild&amp;informationen	I</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>Date &amp;Taken</source>
        <translation>&amp;Aufnahmedatum</translation>
    </message>
    <message>
        <source>Date &amp;Modified</source>
        <translation>Än&amp;derungsdatum</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Größe</translation>
    </message>
    <message>
        <source>T&amp;ype</source>
        <translation>&amp;Typ</translation>
    </message>
    <message>
        <source>&amp;Ascending</source>
        <translation>Auf&amp;steigend</translation>
    </message>
    <message>
        <source>&amp;Descending</source>
        <translation>Ab&amp;steigend</translation>
    </message>
    <message>
        <source>Sort &amp;By</source>
        <translation>So&amp;rtieren nach</translation>
    </message>
</context>
<context>
    <name>DialogTemplate</name>
    <message>
        <source>Vantrel Version 1.0</source>
        <translation>Vantrel Version 1.0</translation>
    </message>
    <message>
        <source>Made for sorting pictures by hand.</source>
        <translation>Zum Bildersortieren von Hand.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>System Memory: </source>
        <translation>Arbeitsspeicher: </translation>
    </message>
    <message>
        <source>0 bytes</source>
        <translation>0 Byte</translation>
    </message>
    <message>
        <source>About Vantrel</source>
        <translation>Über Vantrel</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Destination Button Behavior:</source>
        <translation>Zielschaltflächen:</translation>
    </message>
    <message>
        <source>Move File</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Copy File</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>View Control Behavior:</source>
        <translation>Bildanzeige:</translation>
    </message>
    <message>
        <source>Resize Picture to fit View Area</source>
        <translation>Bild an die Anzeige anpassen</translation>
    </message>
    <message>
        <source>Deletion Behavior:</source>
        <translation>Löschen:</translation>
    </message>
    <message>
        <source>Send deleted items to Recycling Bin</source>
        <translation>Gelöschtes in den Papierkorb</translation>
    </message>
    <message>
        <source>Companion Files:</source>
        <translation>Begleitdateien:</translation>
    </message>
    <message>
        <source>Program Configuration</source>
        <translation>Programmeinstellungen</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>Datei&amp;name:</translation>
    </message>
    <message>
        <source>&amp;Folders:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>List files of &amp;type:</source>
        <translation>Datei&amp;typ:</translation>
    </message>
    <message>
        <source>Dri&amp;ves:</source>
        <translation>&amp;Laufwerke:</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Read only</source>
        <translation>&amp;Nur lesen</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>&amp;Neuer Ordner</translation>
    </message>
    <message>
        <source>Image Formats Supported:</source>
        <translation>Unterstützte Bildformate:</translation>
    </message>
    <message>
        <source>JPG</source>
        <translation>JPG</translation>
    </message>
    <message>
        <source>BMP</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>WPG</source>
        <translation>WPG</translation>
    </message>
    <message>
        <source>TGA</source>
        <translation>TGA</translation>
    </message>
    <message>
        <source>WMF</source>
        <translation>WMF</translation>
    </message>
    <message>
        <source>TIF</source>
        <translation>TIF</translation>
    </message>
    <message>
        <source>RAS</source>
        <translation>RAS</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>PCX</source>
        <translation>PCX</translation>
    </message>
    <message>
        <source>EPS</source>
        <translation>EPS</translation>
    </message>
    <message>
        <source>MSP</source>
        <translation>MSP</translation>
    </message>
    <message>
        <source>PSD</source>
        <translation>PSD</translation>
    </message>
    <message>
        <source>*.* (All Files)</source>
        <translation>*.* (Alle Dateien)</translation>
    </message>
    <message>
        <source>WEBP</source>
        <translation>WEBP</translation>
    </message>
    <message>
        <source>HEIC</source>
        <translation>HEIC</translation>
    </message>
    <message>
        <source>AVIF</source>
        <translation>AVIF</translation>
    </message>
    <message>
        <source>DNG</source>
        <translation>DNG</translation>
    </message>
    <message>
        <source>File Types Available</source>
        <translation>Verfügbare Dateitypen</translation>
    </message>
    <message>
        <source>Button1:</source>
        <translation>Ziel 1:</translation>
    </message>
    <message>
        <source>Button2:</source>
        <translation>Ziel 2:</translation>
    </message>
    <message>
        <source>Button3:</source>
        <translation>Ziel 3:</translation>
    </message>
    <message>
        <source>Button4:</source>
        <translation>Ziel 4:</translation>
    </message>
    <message>
        <source>Button5:</source>
        <translation>Ziel 5:</translation>
    </message>
    <message>
        <source>Button6:</source>
        <translation>Ziel 6:</translation>
    </message>
    <message>
        <source>Button7:</source>
        <translation>Ziel 7:</translation>
    </message>
    <message>
        <source>Button8:</source>
        <translation>Ziel 8:</translation>
    </message>
    <message>
        <source>Button9:</source>
        <translation>Ziel 9:</translation>
    </message>
    <message>
        <source>Button10:</source>
        <translation>Ziel 10:</translation>
    </message>
    <message>
        <source>Button11:</source>
        <translation>Ziel 11:</translation>
    </message>
    <message>
        <source>Button12:</source>
        <translation>Ziel 12:</translation>
    </message>
    <message>
        <source>Button13:</source>
        <translation>Ziel 13:</translation>
    </message>
    <message>
        <source>Button14:</source>
        <translation>Ziel 14:</translation>
    </message>
    <message>
        <source>Button15:</source>
        <translation>Ziel 15:</translation>
    </message>
    <message>
        <source>Button16:</source>
        <translation>Ziel 16:</translation>
    </message>
    <message>
        <source>Button17:</source>
        <translation>Ziel 17:</translation>
    </message>
    <message>
        <source>Button18:</source>
        <translation>Ziel 18:</translation>
    </message>
    <message>
        <source>Button19:</source>
        <translation>Ziel 19:</translation>
    </message>
    <message>
        <source>Button20:</source>
        <translation>Ziel 20:</translation>
    </message>
    <message>
        <source>Button Group 1</source>
        <translation>Gruppe 1</translation>
    </message>
    <message>
        <source>Button Group 2</source>
        <translation>Gruppe 2</translation>
    </message>
    <message>
        <source>Button Group 3</source>
        <translation>Gruppe 3</translation>
    </message>
    <message>
        <source>Button Group 4</source>
        <translation>Gruppe 4</translation>
    </message>
    <message>
        <source>Home:</source>
        <translation>Basis:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Wählen...</translation>
    </message>
    <message>
        <source>Edit Destination Directories</source>
        <translation>Zielordner bearbeiten</translation>
    </message>
    <message>
        <source>&lt; None &gt;</source>
        <translation>&lt; leer &gt;</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Basis</translation>
    </message>
    <message>
        <source>Move, copy and delete companion files (RAW, .xmp) with the picture</source>
        <translation>Begleitdateien (RAW, .xmp) mit dem Bild bewegen, kopieren und löschen</translation>
    </message>
</context>
<context>
    <name>EntrySteps</name>
    <message>
        <source>it was skipped</source>
        <translation>es wurde übersprungen</translation>
    </message>
    <message>
        <source>it was cancelled</source>
        <translation>es wurde abgebrochen</translation>
    </message>
    <message>
        <source>the file operation failed</source>
        <translation>der Dateivorgang ist gescheitert</translation>
    </message>
    <message>
        <source>The copy</source>
        <translation>Die Kopie</translation>
    </message>
    <message>
        <source>the file is no longer in the trash</source>
        <translation>die Datei ist nicht mehr im Papierkorb</translation>
    </message>
    <message>
        <source>the folder %1 is gone</source>
        <translation>der Ordner %1 ist weg</translation>
    </message>
    <message>
        <source>the file it replaced cannot be put back in %1 (%2)</source>
        <translation>die Datei, die sie ersetzt hat, lässt sich nicht nach %1 zurücklegen (%2)</translation>
    </message>
    <message>
        <source>%1 is no longer in %2</source>
        <translation>%1 ist nicht mehr in %2</translation>
    </message>
    <message>
        <source>%1 in %2 has changed since</source>
        <translation>%1 in %2 hat sich seitdem geändert</translation>
    </message>
    <message>
        <source>the file it replaced in %1 is no longer in the trash</source>
        <translation>die Datei, die sie in %1 ersetzt hat, ist nicht mehr im Papierkorb</translation>
    </message>
    <message>
        <source>the file it replaced in %1 cannot be moved to the trash (%2)</source>
        <translation>die Datei, die sie in %1 ersetzt hat, lässt sich nicht in den Papierkorb verschieben (%2)</translation>
    </message>
</context>
<context>
    <name>FileTypes</name>
    <message>
        <source> — Edit &gt; File Types</source>
        <translation> — Bearbeiten &gt; Dateitypen</translation>
    </message>
    <message>
        <source>1 picture of another type is hidden</source>
        <translation>1 Bild eines anderen Typs ist ausgeblendet</translation>
    </message>
    <message>
        <source>%1 pictures of other types are hidden</source>
        <translation>%1 Bilder anderer Typen sind ausgeblendet</translation>
    </message>
</context>
<context>
    <name>PictureStatus</name>
    <message>
        <source>%1 - %2%3 bytes,  %4</source>
        <translation>%1 - %2%3 Byte,  %4</translation>
    </message>
    <message>
        <source>%1 - %2,  %3 bytes</source>
        <translation>%1 - %2,  %3 Byte</translation>
    </message>
    <message numerus="yes">
        <source>%Ln files</source>
        <translation>
            <numerusform>%Ln Datei</numerusform>
            <numerusform>%Ln Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pictures selected</source>
        <translation>
            <numerusform>%Ln Bild ausgewählt</numerusform>
            <numerusform>%Ln Bilder ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2% done</source>
        <translation>%1: %2 % erledigt</translation>
    </message>
    <message numerus="yes">
        <source>Finishing %Ln sort actions...</source>
        <translation>
            <numerusform>%Ln Sortieraktion wird abgeschlossen …</numerusform>
            <numerusform>%Ln Sortieraktionen werden abgeschlossen …</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The picture data is damaged (it claims more data than the file holds).</source>
        <translation>Die Bilddaten sind beschädigt (sie geben mehr Daten an, als die Datei enthält).</translation>
    </message>
    <message>
        <source>The picture data ends early (the file is incomplete).</source>
        <translation>Die Bilddaten enden zu früh (die Datei ist unvollständig).</translation>
    </message>
    <message>
        <source>The decoder used too much processor time and was stopped.</source>
        <translation>Der Decoder hat zu viel Rechenzeit gebraucht und wurde gestoppt.</translation>
    </message>
    <message>
        <source>The decoder was killed.</source>
        <translation>Der Decoder wurde beendet.</translation>
    </message>
    <message>
        <source>The decoder stopped unexpectedly (signal %1).</source>
        <translation>Der Decoder ist unerwartet ausgestiegen (Signal %1).</translation>
    </message>
    <message>
        <source>The decoder stopped without an answer (exit code %1).</source>
        <translation>Der Decoder hat ohne Antwort aufgehört (Rückgabewert %1).</translation>
    </message>
    <message>
        <source>Decoding was cancelled.</source>
        <translation>Das Lesen wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Decoding took too long and was stopped (after %1 s).</source>
        <translation>Das Lesen dauerte zu lange und wurde gestoppt (nach %1 s).</translation>
    </message>
    <message>
        <source>The decoder gave no usable answer.</source>
        <translation>Der Decoder gab keine brauchbare Antwort.</translation>
    </message>
    <message>
        <source>The picture could not be handed to the decoder.</source>
        <translation>Das Bild konnte dem Decoder nicht übergeben werden.</translation>
    </message>
    <message>
        <source>The decoder (%1) is missing.</source>
        <translation>Der Decoder (%1) fehlt.</translation>
    </message>
    <message>
        <source>The decoder could not be prepared.</source>
        <translation>Der Decoder konnte nicht vorbereitet werden.</translation>
    </message>
    <message>
        <source>The decoder could not be started (%1).</source>
        <translation>Der Decoder konnte nicht gestartet werden (%1).</translation>
    </message>
    <message>
        <source>The decoder handed back no pixels.</source>
        <translation>Der Decoder gab keine Pixel zurück.</translation>
    </message>
    <message>
        <source>The decoded picture could not be handed back.</source>
        <translation>Das gelesene Bild konnte nicht zurückgegeben werden.</translation>
    </message>
    <message>
        <source>The file is too large to show.</source>
        <translation>Die Datei ist zu groß zum Anzeigen.</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>Die Datei kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The PostScript file gives no bounding box.</source>
        <translation>Die PostScript-Datei nennt keine Bounding Box.</translation>
    </message>
    <message>
        <source>Ghostscript (gs), which draws PostScript, is not installed.</source>
        <translation>Ghostscript (gs), das PostScript zeichnet, ist nicht installiert.</translation>
    </message>
    <message>
        <source>Drawing the PostScript used too much processor time and was stopped.</source>
        <translation>Das Zeichnen des PostScript hat zu viel Rechenzeit gebraucht und wurde gestoppt.</translation>
    </message>
    <message>
        <source>Drawing the PostScript needed more memory than allowed.</source>
        <translation>Das Zeichnen des PostScript brauchte mehr Speicher als erlaubt.</translation>
    </message>
    <message>
        <source>Ghostscript stopped unexpectedly (signal %1).</source>
        <translation>Ghostscript ist unerwartet ausgestiegen (Signal %1).</translation>
    </message>
    <message>
        <source>Ghostscript could not draw the PostScript.</source>
        <translation>Ghostscript konnte das PostScript nicht zeichnen.</translation>
    </message>
    <message>
        <source>The PostScript could not be handed to Ghostscript.</source>
        <translation>Das PostScript konnte Ghostscript nicht übergeben werden.</translation>
    </message>
    <message>
        <source>Ghostscript could not be started.</source>
        <translation>Ghostscript konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The picture data is damaged (%1).</source>
        <translation>Die Bilddaten sind beschädigt (%1).</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genug Speicher.</translation>
    </message>
    <message>
        <source>The picture is too large to show (%1 x %2 pixels).</source>
        <translation>Das Bild ist zu groß zum Anzeigen (%1 x %2 Pixel).</translation>
    </message>
    <message>
        <source>The picture data is damaged.</source>
        <translation>Die Bilddaten sind beschädigt.</translation>
    </message>
    <message>
        <source>This type of picture is not read here.</source>
        <translation>Diese Art Bild wird hier nicht gelesen.</translation>
    </message>
    <message>
        <source>The picture header is damaged.</source>
        <translation>Der Kopf des Bildes ist beschädigt.</translation>
    </message>
    <message>
        <source>There is not enough memory to show the picture.</source>
        <translation>Es ist nicht genug Speicher da, um das Bild anzuzeigen.</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>Die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>This is not an ordinary file.</source>
        <translation>Das ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file cannot be read (%1).</source>
        <translation>Die Datei kann nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>The file is not a picture of a type this program shows.</source>
        <translation>Die Datei ist kein Bild eines Typs, den dieses Programm zeigt.</translation>
    </message>
    <message>
        <source>The file is too large to show (%1 bytes).</source>
        <translation>Die Datei ist zu groß zum Anzeigen (%1 Byte).</translation>
    </message>
    <message>
        <source>Enhanced metafiles cannot be shown.</source>
        <translation>Enhanced Metafiles können nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>This camera RAW file is of a kind that cannot be read.</source>
        <translation>Diese Kamera-RAW-Datei ist von einer Art, die nicht gelesen werden kann.</translation>
    </message>
    <message>
        <source>The picture is too large to show.</source>
        <translation>Das Bild ist zu groß zum Anzeigen.</translation>
    </message>
    <message>
        <source>This picture type is decoded in a sandbox, which could not be started: %1</source>
        <translation>Diese Bildart wird in einer Sandbox dekodiert, die nicht gestartet werden konnte: %1</translation>
    </message>
    <message>
        <source>The file records no metadata that can be read.</source>
        <translation>Die Datei enthält keine lesbaren Metadaten.</translation>
    </message>
    <message>
        <source>The metadata cannot be read: %1</source>
        <translation>Die Metadaten können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The metadata cannot be read.</source>
        <translation>Die Metadaten können nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file holds no preview.</source>
        <translation>Die Datei enthält keine Vorschau.</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>OLE initialization failed.  Make sure that the OLE libraries are the correct version.</source>
        <translation>Die OLE-Initialisierung ist gescheitert.  Prüfen Sie, ob die OLE-Bibliotheken die richtige Version haben.</translation>
    </message>
    <message>
        <source>Failed to create object.  Make sure the object is entered in the system registry.</source>
        <translation>Das Objekt konnte nicht erzeugt werden.  Prüfen Sie, ob es in der Systemregistrierung eingetragen ist.</translation>
    </message>
    <message>
        <source>Destination %1 has no folder yet: click its button to choose one</source>
        <translation>Ziel %1 hat noch keinen Ordner: klicken Sie auf seine Schaltfläche, um einen zu wählen</translation>
    </message>
    <message>
        <source>Paintbrush</source>
        <translation>Paintbrush</translation>
    </message>
    <message>
        <source>Tagged Image File Format</source>
        <translation>Tagged Image File Format</translation>
    </message>
    <message>
        <source>Truevision Targa</source>
        <translation>Truevision Targa</translation>
    </message>
    <message>
        <source>Bitmap</source>
        <translation>Bitmap</translation>
    </message>
    <message>
        <source>JFIF Compliant</source>
        <translation>JFIF-kompatibel</translation>
    </message>
    <message>
        <source>Extended Windows Metafile</source>
        <translation>Erweiterte Windows-Metadatei</translation>
    </message>
    <message>
        <source>Encapsulated Postscript</source>
        <translation>Encapsulated PostScript</translation>
    </message>
    <message>
        <source>MacPaint</source>
        <translation>MacPaint</translation>
    </message>
    <message>
        <source>Microsoft Paint</source>
        <translation>Microsoft Paint</translation>
    </message>
    <message>
        <source>WordPerfect Bitmap</source>
        <translation>WordPerfect-Bitmap</translation>
    </message>
    <message>
        <source>Sun Raster Images</source>
        <translation>Sun-Rasterbilder</translation>
    </message>
    <message>
        <source>Portable Network Graphics</source>
        <translation>Portable Network Graphics</translation>
    </message>
    <message>
        <source>Photoshop</source>
        <translation>Photoshop</translation>
    </message>
    <message>
        <source>WebP Image</source>
        <translation>WebP-Bild</translation>
    </message>
    <message>
        <source>High Efficiency Image</source>
        <translation>High-Efficiency-Bild</translation>
    </message>
    <message>
        <source>AV1 Image</source>
        <translation>AV1-Bild</translation>
    </message>
    <message>
        <source>Camera RAW</source>
        <translation>Kamera-RAW</translation>
    </message>
    <message>
        <source>Edit the main program configuration
Edit Program Config</source>
        <translation>Die Programmeinstellungen bearbeiten
Programmeinstellungen bearbeiten</translation>
    </message>
    <message>
        <source>Change the target Destination Directories
Edit Destinations</source>
        <translation>Die Zielordner ändern
Ziele bearbeiten</translation>
    </message>
    <message>
        <source>Clear the current picture on screen
Clear the Current Pic</source>
        <translation>Das angezeigte Bild leeren
Bild leeren</translation>
    </message>
    <message>
        <source>Delete the current picture onscreen
Delete the Current Pic</source>
        <translation>Das angezeigte Bild löschen
Bild löschen</translation>
    </message>
    <message>
        <source>Toggle automatic picture resizing
Toggle Resize</source>
        <translation>Automatische Größenanpassung ein- oder ausschalten
Größe anpassen</translation>
    </message>
    <message>
        <source>Edit the image types available in the file list
Edit File Types</source>
        <translation>Die Bildtypen der Dateiliste bearbeiten
Dateitypen bearbeiten</translation>
    </message>
    <message>
        <source>Return to the Home Directory
Go To Home</source>
        <translation>Zum Basisordner zurückkehren
Zum Basisordner</translation>
    </message>
    <message>
        <source>Refresh the file list
Refresh Files</source>
        <translation>Die Dateiliste aktualisieren
Dateien aktualisieren</translation>
    </message>
    <message>
        <source>Show button group 1
Button Group 1</source>
        <translation>Schaltflächengruppe 1 zeigen
Schaltflächengruppe 1</translation>
    </message>
    <message>
        <source>Show button group 2
Button Group 2</source>
        <translation>Schaltflächengruppe 2 zeigen
Schaltflächengruppe 2</translation>
    </message>
    <message>
        <source>Show button group 3
Button Group 3</source>
        <translation>Schaltflächengruppe 3 zeigen
Schaltflächengruppe 3</translation>
    </message>
    <message>
        <source>Show button group 4
Button Group 4</source>
        <translation>Schaltflächengruppe 4 zeigen
Schaltflächengruppe 4</translation>
    </message>
    <message>
        <source>List the recorded sort actions and undo back to one of them
History</source>
        <translation>Die aufgezeichneten Sortieraktionen auflisten und bis zu einer davon rückgängig machen
Verlauf</translation>
    </message>
    <message>
        <source>List every key of the program
Keyboard Shortcuts</source>
        <translation>Alle Tasten des Programms auflisten
Tastenkürzel</translation>
    </message>
    <message>
        <source>Send the picture to destination 1 of the group shown
Destination 1</source>
        <translation>Das Bild an Ziel 1 der gezeigten Gruppe senden
Ziel 1</translation>
    </message>
    <message>
        <source>Send the picture to destination 2 of the group shown
Destination 2</source>
        <translation>Das Bild an Ziel 2 der gezeigten Gruppe senden
Ziel 2</translation>
    </message>
    <message>
        <source>Send the picture to destination 3 of the group shown
Destination 3</source>
        <translation>Das Bild an Ziel 3 der gezeigten Gruppe senden
Ziel 3</translation>
    </message>
    <message>
        <source>Send the picture to destination 4 of the group shown
Destination 4</source>
        <translation>Das Bild an Ziel 4 der gezeigten Gruppe senden
Ziel 4</translation>
    </message>
    <message>
        <source>Send the picture to destination 5 of the group shown
Destination 5</source>
        <translation>Das Bild an Ziel 5 der gezeigten Gruppe senden
Ziel 5</translation>
    </message>
    <message>
        <source>Send the picture to destination 6 of the group shown
Destination 6</source>
        <translation>Das Bild an Ziel 6 der gezeigten Gruppe senden
Ziel 6</translation>
    </message>
    <message>
        <source>Send the picture to destination 7 of the group shown
Destination 7</source>
        <translation>Das Bild an Ziel 7 der gezeigten Gruppe senden
Ziel 7</translation>
    </message>
    <message>
        <source>Send the picture to destination 8 of the group shown
Destination 8</source>
        <translation>Das Bild an Ziel 8 der gezeigten Gruppe senden
Ziel 8</translation>
    </message>
    <message>
        <source>Send the picture to destination 9 of the group shown
Destination 9</source>
        <translation>Das Bild an Ziel 9 der gezeigten Gruppe senden
Ziel 9</translation>
    </message>
    <message>
        <source>Send the picture to destination 10 of the group shown
Destination 10</source>
        <translation>Das Bild an Ziel 10 der gezeigten Gruppe senden
Ziel 10</translation>
    </message>
    <message>
        <source>Send the picture to destination 11 of the group shown
Destination 11</source>
        <translation>Das Bild an Ziel 11 der gezeigten Gruppe senden
Ziel 11</translation>
    </message>
    <message>
        <source>Send the picture to destination 12 of the group shown
Destination 12</source>
        <translation>Das Bild an Ziel 12 der gezeigten Gruppe senden
Ziel 12</translation>
    </message>
    <message>
        <source>Send the picture to destination 13 of the group shown
Destination 13</source>
        <translation>Das Bild an Ziel 13 der gezeigten Gruppe senden
Ziel 13</translation>
    </message>
    <message>
        <source>Send the picture to destination 14 of the group shown
Destination 14</source>
        <translation>Das Bild an Ziel 14 der gezeigten Gruppe senden
Ziel 14</translation>
    </message>
    <message>
        <source>Send the picture to destination 15 of the group shown
Destination 15</source>
        <translation>Das Bild an Ziel 15 der gezeigten Gruppe senden
Ziel 15</translation>
    </message>
    <message>
        <source>Send the picture to destination 16 of the group shown
Destination 16</source>
        <translation>Das Bild an Ziel 16 der gezeigten Gruppe senden
Ziel 16</translation>
    </message>
    <message>
        <source>Send the picture to destination 17 of the group shown
Destination 17</source>
        <translation>Das Bild an Ziel 17 der gezeigten Gruppe senden
Ziel 17</translation>
    </message>
    <message>
        <source>Send the picture to destination 18 of the group shown
Destination 18</source>
        <translation>Das Bild an Ziel 18 der gezeigten Gruppe senden
Ziel 18</translation>
    </message>
    <message>
        <source>Send the picture to destination 19 of the group shown
Destination 19</source>
        <translation>Das Bild an Ziel 19 der gezeigten Gruppe senden
Ziel 19</translation>
    </message>
    <message>
        <source>Send the picture to destination 20 of the group shown
Destination 20</source>
        <translation>Das Bild an Ziel 20 der gezeigten Gruppe senden
Ziel 20</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Change the printer and printing options
Print Setup</source>
        <translation>Drucker und Druckoptionen ändern
Druckereinrichtung</translation>
    </message>
    <message>
        <source>Print the active picture
Print</source>
        <translation>Das aktuelle Bild drucken
Drucken</translation>
    </message>
    <message>
        <source>Undo the last sort action
Undo</source>
        <translation>Die letzte Sortieraktion rückgängig machen
Rückgängig</translation>
    </message>
    <message>
        <source>Do the undone sort action again
Redo</source>
        <translation>Die rückgängig gemachte Sortieraktion wiederholen
Wiederholen</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen
Über</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents
Exit</source>
        <translation>Die Anwendung beenden; fragt nach dem Speichern von Dokumenten
Beenden</translation>
    </message>
    <message>
        <source>Switch to the next window pane
Next Pane</source>
        <translation>Zum nächsten Fensterbereich wechseln
Nächster Bereich</translation>
    </message>
    <message>
        <source>Switch back to the previous window pane
Previous Pane</source>
        <translation>Zum vorigen Fensterbereich zurückwechseln
Voriger Bereich</translation>
    </message>
    <message>
        <source>Show or hide the toolbar
Toggle ToolBar</source>
        <translation>Werkzeugleiste ein- oder ausblenden
Werkzeugleiste umschalten</translation>
    </message>
    <message>
        <source>Show or hide the status bar
Toggle StatusBar</source>
        <translation>Statusleiste ein- oder ausblenden
Statusleiste umschalten</translation>
    </message>
    <message>
        <source>Show the picture alone on the whole screen
Full Screen</source>
        <translation>Das Bild allein auf dem ganzen Bildschirm zeigen
Vollbild</translation>
    </message>
    <message>
        <source>Show the picture larger
Zoom In</source>
        <translation>Das Bild größer zeigen
Vergrößern</translation>
    </message>
    <message>
        <source>Show the picture smaller
Zoom Out</source>
        <translation>Das Bild kleiner zeigen
Verkleinern</translation>
    </message>
    <message>
        <source>Show the picture at its own size, at the pointer
Actual Size</source>
        <translation>Das Bild in seiner eigenen Größe zeigen, am Mauszeiger
Originalgröße</translation>
    </message>
    <message>
        <source>Show or hide the thumbnails below the picture
Filmstrip</source>
        <translation>Die Vorschaubilder unter dem Bild ein- oder ausblenden
Filmstreifen</translation>
    </message>
    <message>
        <source>Show or hide what the file says about the picture
Picture Information</source>
        <translation>Zeigt oder verbirgt, was die Datei über das Bild aussagt
Bildinformationen</translation>
    </message>
    <message>
        <source>Show the pictures in the order of their names
Sort by Name</source>
        <translation>Zeigt die Bilder in der Reihenfolge ihrer Namen
Nach Name sortieren</translation>
    </message>
    <message>
        <source>Show the pictures in the order they were taken, as the camera recorded it
Sort by Date Taken</source>
        <translation>Zeigt die Bilder in der Reihenfolge ihrer Aufnahme, wie die Kamera sie festhielt
Nach Aufnahmedatum sortieren</translation>
    </message>
    <message>
        <source>Show the pictures in the order their files were last changed
Sort by Date Modified</source>
        <translation>Zeigt die Bilder in der Reihenfolge der letzten Änderung ihrer Dateien
Nach Änderungsdatum sortieren</translation>
    </message>
    <message>
        <source>Show the pictures in the order of their file sizes
Sort by Size</source>
        <translation>Zeigt die Bilder in der Reihenfolge ihrer Dateigrößen
Nach Größe sortieren</translation>
    </message>
    <message>
        <source>Show the pictures grouped by their file types
Sort by Type</source>
        <translation>Zeigt die Bilder nach Dateityp geordnet
Nach Typ sortieren</translation>
    </message>
    <message>
        <source>Show the first of the order first
Ascending</source>
        <translation>Zeigt den Anfang der Reihenfolge zuerst
Aufsteigend</translation>
    </message>
    <message>
        <source>Show the last of the order first
Descending</source>
        <translation>Zeigt das Ende der Reihenfolge zuerst
Absteigend</translation>
    </message>
</context>
<context>
    <name>UndoTexts</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Verschieben</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source> of </source>
        <translation> von </translation>
    </message>
    <message>
        <source> to </source>
        <translation> nach </translation>
    </message>
    <message>
        <source>it was deleted outright</source>
        <translation>es wurde endgültig gelöscht</translation>
    </message>
    <message>
        <source>where the file went is not known</source>
        <translation>wohin die Datei ging, ist unbekannt</translation>
    </message>
    <message>
        <source>it is no longer in the trash</source>
        <translation>es ist nicht mehr im Papierkorb</translation>
    </message>
    <message>
        <source>it cannot be undone</source>
        <translation>es kann nicht rückgängig gemacht werden</translation>
    </message>
    <message>
        <source>Undo Unavailable (no journal)</source>
        <translation>Rückgängig nicht verfügbar (kein Journal)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Undo </source>
        <translation>&amp;Rückgängig: </translation>
    </message>
    <message>
        <source>&amp;Redo </source>
        <translation>&amp;Wiederholen: </translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Moved %1 to %2</source>
        <translation>%1 nach %2 verschoben</translation>
    </message>
    <message>
        <source>Copied %1 to %2</source>
        <translation>%1 nach %2 kopiert</translation>
    </message>
    <message>
        <source>Renamed %1 to %2</source>
        <translation>%1 in %2 umbenannt</translation>
    </message>
    <message>
        <source>Deleted %1 — it cannot be undone</source>
        <translation>%1 gelöscht — das kann nicht rückgängig gemacht werden</translation>
    </message>
    <message>
        <source>; %1 stayed</source>
        <translation>; %1 ist geblieben</translation>
    </message>
    <message>
        <source> — Ctrl+Z to undo</source>
        <translation> — Strg+Z macht es rückgängig</translation>
    </message>
    <message>
        <source>Undone: </source>
        <translation>Rückgängig gemacht: </translation>
    </message>
    <message>
        <source>Redone: </source>
        <translation>Wiederholt: </translation>
    </message>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>done, file not found</source>
        <translation>erledigt, Datei nicht gefunden</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>gescheitert</translation>
    </message>
    <message>
        <source>  %1 could not be put back and stays in &quot;%2&quot;, outside the action.</source>
        <translation>  %1 konnte nicht zurückgelegt werden und bleibt in „%2“, außerhalb der Aktion.</translation>
    </message>
    <message>
        <source>  %1 could not be put back and stay in &quot;%2&quot;, outside the action.</source>
        <translation>  %1 konnten nicht zurückgelegt werden und bleiben in „%2“, außerhalb der Aktion.</translation>
    </message>
    <message>
        <source>undone</source>
        <translation>rückgängig gemacht</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>übersprungen</translation>
    </message>
    <message>
        <source>damaged in the journal</source>
        <translation>im Journal beschädigt</translation>
    </message>
    <message>
        <source>unfinished</source>
        <translation>unvollendet</translation>
    </message>
    <message>
        <source>%1 and 1 companion file</source>
        <translation>%1 und 1 Begleitdatei</translation>
    </message>
    <message>
        <source>%1 and %2 companion files</source>
        <translation>%1 und %2 Begleitdateien</translation>
    </message>
    <message>
        <source>Trashed %1</source>
        <translation>%1 in den Papierkorb verschoben</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 Bilder</translation>
    </message>
</context>
</TS>
