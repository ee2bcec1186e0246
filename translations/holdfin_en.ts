<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
    <context>
        <name>panel::ShelfKeeper</name>
        <message numerus="yes">
            <source>The saved shelf was damaged. %n entry(s) could be recovered.</source>
            <translation>
                <numerusform>The saved shelf was damaged. %n entry could be recovered.</numerusform>
                <numerusform>The saved shelf was damaged. %n entries could be recovered.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>The saved shelf was damaged. %n entry(s) could be recovered; the damaged file is kept as %1.</source>
            <translation>
                <numerusform>The saved shelf was damaged. %n entry could be recovered; the damaged file is kept as %1.</numerusform>
                <numerusform>The saved shelf was damaged. %n entries could be recovered; the damaged file is kept as %1.</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>EntryCaption</name>
        <message numerus="yes">
            <source>text, %n line(s)</source>
            <translation>
                <numerusform>text, %n line</numerusform>
                <numerusform>text, %n lines</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n item(s)</source>
            <translation>
                <numerusform>%n item</numerusform>
                <numerusform>%n items</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n file(s)</source>
            <translation>
                <numerusform>%n file</numerusform>
                <numerusform>%n files</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n folder(s)</source>
            <translation>
                <numerusform>%n folder</numerusform>
                <numerusform>%n folders</numerusform>
            </translation>
        </message>
    </context>
</TS>
