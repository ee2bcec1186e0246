<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Parks files and links as one entry; --text or - parks text.</source>
        <translation>Legt Dateien und Links als einen Eintrag ab; --text oder - legt Text ab.</translation>
    </message>
    <message>
        <source>Prints the entries, newest first.</source>
        <translation>Gibt die Einträge aus, den neuesten zuerst.</translation>
    </message>
    <message>
        <source>Prints the file paths of entry N (default 1), one per line.</source>
        <translation>Gibt die Dateipfade von Eintrag N (vorgegeben 1) aus, einen je Zeile.</translation>
    </message>
    <message>
        <source>Shows the shelf.</source>
        <translation>Zeigt die Ablage.</translation>
    </message>
    <message>
        <source>Hides the shelf.</source>
        <translation>Blendet die Ablage aus.</translation>
    </message>
    <message>
        <source>Empties the shelf (undoable from the shelf).</source>
        <translation>Leert die Ablage (in der Ablage rückgängig zu machen).</translation>
    </message>
    <message>
        <source>Removes entry N (undoable from the shelf).</source>
        <translation>Entfernt Eintrag N (in der Ablage rückgängig zu machen).</translation>
    </message>
    <message>
        <source>Commands (each talks to the running Holdfin, starting it first if none runs;
`holdfin COMMAND --help` tells more):</source>
        <translation>Befehle (jeder wendet sich an das laufende Holdfin und startet es, wenn keines läuft;
`holdfin BEFEHL --help` sagt mehr):</translation>
    </message>
    <message>
        <source>A floating drop shelf: drag anything, park it on the shelf, drag it out later.</source>
        <translation>Eine schwebende Ablage: irgendetwas ziehen, in der Ablage parken, später wieder herausziehen.</translation>
    </message>
    <message>
        <source>Prints this help.</source>
        <translation>Gibt diese Hilfe aus.</translation>
    </message>
    <message>
        <source>Prints the version.</source>
        <translation>Gibt die Version aus.</translation>
    </message>
    <message>
        <source>Opens the preferences.</source>
        <translation>Öffnet die Einstellungen.</translation>
    </message>
    <message>
        <source>Parks one entry per argument.</source>
        <translation>Legt einen Eintrag je Argument ab.</translation>
    </message>
    <message>
        <source>Parks TEXT.</source>
        <translation>Legt TEXT ab.</translation>
    </message>
    <message>
        <source>Prints the entries as JSON.</source>
        <translation>Gibt die Einträge als JSON aus.</translation>
    </message>
    <message>
        <source>Ends each path with a NUL byte instead.</source>
        <translation>Beendet jeden Pfad stattdessen mit einem NUL-Byte.</translation>
    </message>
    <message>
        <source>One of the commands below; none runs the shelf.</source>
        <translation>Einer der Befehle unten; ohne Befehl läuft die Ablage.</translation>
    </message>
    <message>
        <source>Unknown command &apos;%1&apos;.</source>
        <translation>Unbekannter Befehl „%1“.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>add needs paths, links, - or --text TEXT.</source>
        <translation>add braucht Pfade, Links, - oder --text TEXT.</translation>
    </message>
    <message>
        <source>remove needs the position of an entry.</source>
        <translation>remove braucht die Position eines Eintrags.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no entry position.</source>
        <translation>„%1“ ist keine Eintragsposition.</translation>
    </message>
</context>
<context>
    <name>EntryCaption</name>
    <message>
        <source>link to %1</source>
        <translation>Link zu %1</translation>
    </message>
    <message numerus="yes">
        <source>text, %n line(s)</source>
        <translation>
            <numerusform>Text, %n Zeile</numerusform>
            <numerusform>Text, %n Zeilen</numerusform>
        </translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s)</source>
        <translation>
            <numerusform>%n Objekt</numerusform>
            <numerusform>%n Objekte</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n folder(s)</source>
        <translation>
            <numerusform>%n Ordner</numerusform>
            <numerusform>%n Ordner</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, locked</source>
        <translation>%1, gesperrt</translation>
    </message>
</context>
<context>
    <name>FirstLaunchNotice</name>
    <message>
        <source>Holdfin is ready</source>
        <translation>Holdfin ist bereit</translation>
    </message>
    <message>
        <source>Drag anything (files, text, pictures, links) to see the shelf at the left edge of the screen, and drop it there to keep it for later.</source>
        <translation>Ziehen Sie etwas (Dateien, Text, Bilder, Links), um die Ablage am linken Bildschirmrand zu sehen, und legen Sie es dort ab, um es für später aufzuheben.</translation>
    </message>
</context>
<context>
    <name>ShelfClient</name>
    <message>
        <source>no session bus to reach Holdfin on</source>
        <translation>kein Sitzungsbus, über den Holdfin zu erreichen wäre</translation>
    </message>
    <message>
        <source>Holdfin did not start (run holdfin to see why)</source>
        <translation>Holdfin ist nicht gestartet (holdfin aufrufen, um den Grund zu sehen)</translation>
    </message>
    <message>
        <source>no entry %1: the shelf holds %2</source>
        <translation>kein Eintrag %1: die Ablage enthält %2</translation>
    </message>
    <message>
        <source>entry %1 holds no files</source>
        <translation>Eintrag %1 enthält keine Dateien</translation>
    </message>
    <message>
        <source>standard input cannot be read or holds more than a drop may (256 MiB)</source>
        <translation>die Standardeingabe ist nicht lesbar oder größer als 256 MiB</translation>
    </message>
    <message>
        <source>standard input is not UTF-8 text</source>
        <translation>die Standardeingabe ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>no such file: %1</source>
        <translation>keine solche Datei: %1</translation>
    </message>
    <message>
        <source>Holdfin answered List with something else</source>
        <translation>Holdfin hat auf List etwas anderes geantwortet</translation>
    </message>
</context>
<context>
    <name>app::HoldfinApp</name>
    <message>
        <source>Holdfin</source>
        <translation>Holdfin</translation>
    </message>
    <message>
        <source>Holdfin v%1</source>
        <translation>Holdfin v%1</translation>
    </message>
    <message>
        <source>Show Shelf</source>
        <translation>Ablage zeigen</translation>
    </message>
    <message>
        <source>Paste to Shelf</source>
        <translation>In die Ablage einfügen</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Hide Shelf</source>
        <translation>Ablage ausblenden</translation>
    </message>
</context>
<context>
    <name>panel::NonActivatingPanel</name>
    <message>
        <source>Holdfin</source>
        <translation>Holdfin</translation>
    </message>
</context>
<context>
    <name>panel::ShelfKeeper</name>
    <message numerus="yes">
        <source>The saved shelf was damaged. %n entry(s) could be recovered.</source>
        <translation>
            <numerusform>Die gespeicherte Ablage war beschädigt. %n Eintrag konnte wiederhergestellt werden.</numerusform>
            <numerusform>Die gespeicherte Ablage war beschädigt. %n Einträge konnten wiederhergestellt werden.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The saved shelf was damaged. %n entry(s) could be recovered; the damaged file is kept as %1.</source>
        <translation>
            <numerusform>Die gespeicherte Ablage war beschädigt. %n Eintrag konnte wiederhergestellt werden; die beschädigte Datei liegt unter %1.</numerusform>
            <numerusform>Die gespeicherte Ablage war beschädigt. %n Einträge konnten wiederhergestellt werden; die beschädigte Datei liegt unter %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>preferences::GeneralPreferencesView</name>
    <message>
        <source>Launch Application at login</source>
        <translation>Programm bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Show menu bar icon</source>
        <translation>Symbol in der Menüleiste zeigen</translation>
    </message>
    <message>
        <source>Keep the shelf between sessions</source>
        <translation>Ablage zwischen Sitzungen behalten</translation>
    </message>
    <message>
        <source>Shows or hides the shelf from any program</source>
        <translation>Zeigt oder verbirgt die Ablage aus jedem Programm</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Show the shelf with</source>
        <translation>Ablage zeigen mit</translation>
    </message>
    <message>
        <source>Appearance:</source>
        <translation>Erscheinungsbild:</translation>
    </message>
    <message>
        <source>Show the shelf with:</source>
        <translation>Ablage zeigen mit:</translation>
    </message>
</context>
<context>
    <name>preferences::PreferencesView</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
</context>
<context>
    <name>views::BucketItemView</name>
    <message>
        <source>Unlock: leave the shelf once dragged out</source>
        <translation>Entsperren: verlässt die Ablage, sobald herausgezogen</translation>
    </message>
    <message>
        <source>Lock: stay on the shelf once dragged out</source>
        <translation>Sperren: bleibt in der Ablage, auch wenn herausgezogen</translation>
    </message>
    <message>
        <source>Unlock</source>
        <translation>Entsperren</translation>
    </message>
    <message>
        <source>Lock</source>
        <translation>Sperren</translation>
    </message>
    <message>
        <source>Split into one entry per item</source>
        <translation>In einen Eintrag pro Objekt aufteilen</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Aufteilen</translation>
    </message>
    <message>
        <source>Remove from the shelf</source>
        <translation>Aus der Ablage entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>This file is missing: it was moved or deleted.</source>
        <translation>Diese Datei fehlt: Sie wurde verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>These files are missing: they were moved or deleted.</source>
        <translation>Diese Dateien fehlen: Sie wurden verschoben oder gelöscht.</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Show in Folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
</context>
<context>
    <name>views::ContentView</name>
    <message>
        <source>Shelf</source>
        <translation>Ablage</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Clear the shelf</source>
        <translation>Ablage leeren</translation>
    </message>
    <message>
        <source>Clear shelf</source>
        <translation>Ablage leeren</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Bring back what was just removed (Ctrl+Z)</source>
        <translation>Gerade Entferntes zurückholen (Strg+Z)</translation>
    </message>
    <message>
        <source>About Holdfin</source>
        <translation>Über Holdfin</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit Holdfin</source>
        <translation>Holdfin beenden</translation>
    </message>
</context>
</TS>
