<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
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
