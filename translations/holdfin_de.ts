<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
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
