<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_CH">
<context>
    <name>kit::LocaleModel</name>
    <message>
        <source>Locale</source>
        <translation>Gebietsschema</translation>
    </message>
</context>
<context>
    <name>kit::TableViewColumnList</name>
    <message>
        <source>Decimals</source>
        <translation>Dezimalstellen</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Spalte</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Visible</source>
        <translation>Sichtbar</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
</context>
<context>
    <name>kit::TextDataReader</name>
    <message>
        <source>The value of %1 is not a valid bool.</source>
        <translation>%1 ist kein gültiger Wahrheitswert.</translation>
    </message>
    <message>
        <source>The value of %1 is not a valid date.</source>
        <translation>%1 ist kein gültiges Datum.</translation>
    </message>
    <message>
        <source>The value of %1 is not a valid double.</source>
        <translation>%1 ist keine gültige Fliesskommazahl.</translation>
    </message>
    <message>
        <source>The value of %1 is not a valid int.</source>
        <translation>%1 ist keine gültige ganze Zahl.</translation>
    </message>
    <message>
        <source>The value of %1 is not a valid locale.</source>
        <translation>%1 ist kein gültiges Gebietsschema.</translation>
    </message>
    <message>
        <source>The value of %1 is not a valid unit.</source>
        <translation>%1 ist keine gültige Einheit.</translation>
    </message>
</context>
<context>
    <name>kit::UnitModel</name>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
</context>
<context>
    <name>ns::XmlDataReader::Private</name>
    <message>
        <source>Closing tag &lt;/%1&gt; expected instead of &lt;%2&gt;.</source>
        <translation>Schliessendes Tag &lt;/%1&gt; anstelle von &lt;%2&gt; erwartet.</translation>
    </message>
    <message>
        <source>Closing tag &lt;/%1&gt; expected.</source>
        <translation>Schliessendes Tag &lt;/%1&gt; erwartet.</translation>
    </message>
    <message>
        <source>Element &lt;%1&gt; expected.</source>
        <translation>Element &lt;%1&gt; erwartet.</translation>
    </message>
    <message>
        <source>XML parsing error at line %1, column %2: %3</source>
        <translation>XML-Lesefehler auf Zeile %1, Spalte %2: %3</translation>
    </message>
</context>
<context>
    <name>kit::Settings</name>
    <message>
        <source>Cannot keep a copy of the unreadable file %1 as %2.</source>
        <translation>Von der unlesbaren Datei %1 kann keine Kopie als %2 angelegt werden.</translation>
    </message>
    <message>
        <source>The file is in use by another program.</source>
        <translation>Die Datei wird von einem anderen Programm verwendet.</translation>
    </message>
    <message>
        <source>The file is not a regular file.</source>
        <translation>Die Datei ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The lock file %1 cannot be written; the disk may be full.</source>
        <translation>Die Sperrdatei %1 kann nicht geschrieben werden; der Datenträger ist vielleicht voll.</translation>
    </message>
    <message>
        <source>The lock file %1 cannot be made: the folder is read-only.</source>
        <translation>Die Sperrdatei %1 kann nicht angelegt werden: Der Ordner ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>The damaged lock file %1 cannot be replaced.</source>
        <translation>Die beschädigte Sperrdatei %1 kann nicht ersetzt werden.</translation>
    </message>
    <message>
        <source>process %1 on %2</source>
        <translation>Prozess %1 auf %2</translation>
    </message>
    <message>
        <source>process %1</source>
        <translation>Prozess %1</translation>
    </message>
</context>
</TS>
