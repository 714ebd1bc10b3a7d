#include "xmldatastore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStack>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace kit {

namespace {
QString translate(const char *text)
{
    return QCoreApplication::translate("ns::XmlDataReader::Private", text);
}

// A value holding characters that XML 1.0 cannot carry (most control
// characters, U+FFFE, U+FFFF, unpaired surrogates) is written with the
// attribute escaped="1"; in it a backslash stands as \\ and each such UTF-16
// unit as \uXXXX. Every other value is written as it is.
const QString escapedAttribute = QStringLiteral("escaped");

bool isXmlUnit(const QString &text, int i)
{
    const ushort c = text.at(i).unicode();
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    if (QChar::isHighSurrogate(c))
        return i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i > 0 && text.at(i - 1).isHighSurrogate();
    return c != 0xfffe && c != 0xffff;
}

bool needsEscape(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (!isXmlUnit(text, i))
            return true;
    }
    return false;
}

QString escapeValue(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 16);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else if (isXmlUnit(text, i))
            escaped += text.at(i);
        else
            escaped += QStringLiteral("\\u%1").arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'));
    }
    return escaped;
}

// Anything that is not a well-formed escape is kept as it stands.
QString unescapeValue(const QString &text)
{
    QString value;
    value.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\\') || i + 1 >= text.size()) {
            value += text.at(i);
        } else if (text.at(i + 1) == QLatin1Char('\\')) {
            value += QLatin1Char('\\');
            ++i;
        } else {
            bool ok;
            const ushort unit = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (text.at(i + 1) == QLatin1Char('u') && ok && i + 6 <= text.size()) {
                value += QChar(unit);
                i += 5;
            } else {
                value += text.at(i);
            }
        }
    }
    return value;
}

} // namespace

class XmlDataReader::Private
{
public:
    bool hasError() const { return !reader || reader->hasError(); }

    bool isStartOf(const QString &name) const
    {
        return !hasError() && reader->isStartElement() && reader->name() == name;
    }

    void nextToken()
    {
        if (!reader)
            return;
        do {
            reader->readNext();
        } while (reader->isCharacters() && !reader->hasError());
    }

    void expectStart(const QString &name)
    {
        if (!reader->isStartElement() || reader->name() != name)
            setError(translate(QT_TRANSLATE_NOOP("ns::XmlDataReader::Private", "Element <%1> expected.")).arg(name));
    }

    void expectEnd(const QString &name)
    {
        if (!reader->isEndElement() || reader->name() != name)
            setError(translate(QT_TRANSLATE_NOOP("ns::XmlDataReader::Private", "Closing tag </%1> expected.")).arg(name));
    }

    // Passes over what the object did not read, up to the first end tag.
    void closeElement(const QString &name)
    {
        while (!reader->hasError() && !reader->atEnd() && reader->name() != name && !reader->isEndElement())
            nextToken();
        if (!reader->hasError() && reader->isEndElement() && reader->name() == name) {
            nextToken();
            return;
        }
        setError(translate(QT_TRANSLATE_NOOP("ns::XmlDataReader::Private", "Closing tag </%1> expected instead of <%2>."))
                     .arg(name, reader->name().toString()));
        nextToken();
    }

    QString located(const QString &message) const { return locatedAt(reader->lineNumber(), reader->columnNumber(), message); }

    QString locatedAt(qint64 line, qint64 column, const QString &message) const
    {
        return translate(QT_TRANSLATE_NOOP("ns::XmlDataReader::Private", "XML parsing error at line %1, column %2: %3"))
            .arg(QString::number(line), QString::number(column), message);
    }

    void setError(const QString &message)
    {
        if (!reader)
            return;
        const QString text = located(message);
        qDebug() << text;
        reader->raiseError(text);
    }

    QStack<QString> elementStack;
    std::unique_ptr<QXmlStreamReader> reader;
    QString valueError;
    // Where the value read last starts.
    qint64 valueLine = 0;
    qint64 valueColumn = 0;
    int version = 0;
};

XmlDataReader::XmlDataReader(const DataFormat &format)
    : TextDataReader(format)
    , d(new Private)
{
}

XmlDataReader::~XmlDataReader() = default;

void XmlDataReader::setReader(QXmlStreamReader *reader)
{
    d->reader.reset(reader);
    d->elementStack.clear();
    d->valueError.clear();
    d->version = 0;
    while (!reader->atEnd() && !reader->isStartElement())
        reader->readNext();
    if (!reader->isStartElement())
        return;
    d->expectStart(format().name());
    if (d->hasError())
        return;
    const auto version = reader->attributes().value(QStringLiteral("version"));
    bool ok;
    const int number = version.toInt(&ok, 10);
    d->version = ok ? number : 0;
    d->nextToken();
}

bool XmlDataReader::hasNextItem()
{
    return !d->hasError() && d->reader->isStartElement();
}

bool XmlDataReader::readString(const QString &name, QString &value)
{
    if (!d->isStartOf(name))
        return false;
    d->valueLine = d->reader->lineNumber();
    d->valueColumn = d->reader->columnNumber();
    const bool escaped = d->reader->attributes().value(escapedAttribute) == QLatin1String("1");
    QString text = d->reader->readElementText();
    if (escaped)
        text = unescapeValue(text);
    if (d->reader->hasError())
        return false;
    d->nextToken();
    value = text;
    return true;
}

bool XmlDataReader::readObject(const QString &name, Storable &value)
{
    if (name.isEmpty()) {
        if (!d->hasError())
            loadObject(value);
        return true;
    }
    if (!d->hasError()) {
        d->expectStart(name);
        d->nextToken();
    }
    if (!d->hasError())
        loadObject(value);
    if (!d->hasError())
        d->closeElement(name);
    return true;
}

void XmlDataReader::beginGroup(const QString &name)
{
    if (d->hasError())
        return;
    d->expectStart(name);
    d->nextToken();
    d->elementStack.push(name);
}

void XmlDataReader::endGroup()
{
    if (d->hasError() || d->elementStack.isEmpty())
        return;
    const QString name = d->elementStack.pop();
    d->expectEnd(name);
    d->nextToken();
}

int XmlDataReader::formatVersion()
{
    return d->version;
}

void XmlDataReader::setError(const QString &message)
{
    d->setError(message);
}

// The value's element has been read: its end is where it stands.
void XmlDataReader::setValueError(const QString &message)
{
    if (!d->reader || !d->valueError.isEmpty())
        return;
    d->valueError = d->locatedAt(d->valueLine, d->valueColumn, message);
    qDebug() << d->valueError;
}

QString XmlDataReader::valueErrorDescription() const
{
    return d->valueError;
}

bool XmlDataReader::hasError() const
{
    return d->hasError();
}

QString XmlDataReader::errorString() const
{
    return d->reader ? d->reader->errorString() : QString();
}

QString XmlDataReader::errorDescription() const
{
    if (!d->reader || d->reader->error() == QXmlStreamReader::CustomError)
        return errorString();
    return d->located(d->reader->errorString());
}

void XmlDataReader::readRoot(Storable &root)
{
    if (!d->hasError())
        loadObject(root);
}

namespace {

// Writes what QXmlStreamWriter writes with automatic formatting and an indent
// of 2, straight into a byte array: the same bytes, several times faster.
// Texts with characters that need more than the four entities go through a
// stream writer, so their escaping and encoding stay the toolkit's.
class FormattedXml
{
public:
    explicit FormattedXml(QByteArray *document)
        : m_out(document)
    {
    }

    void startDocument() { m_out->append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"); }

    void startElement(const QString &name)
    {
        if (!finishStartTag(false))
            indent(m_names.size());
        m_out->append('<');
        const QByteArray utf8 = name.toUtf8();
        m_out->append(utf8);
        m_names.append(utf8);
        m_inStartTag = m_lastWasStart = true;
    }

    // Attributes are the format's own: a version and a flag, never escaped.
    void attribute(const QString &name, const QString &value)
    {
        m_out->append(' ');
        m_out->append(name.toUtf8());
        m_out->append("=\"");
        m_out->append(value.toUtf8());
        m_out->append('"');
    }

    void characters(const QString &text)
    {
        finishStartTag(true);
        appendEscaped(text);
    }

    void endElement()
    {
        if (m_names.isEmpty())
            return;
        if (m_inStartTag) {
            m_out->append("/>");
            m_inStartTag = m_lastWasStart = false;
            m_names.removeLast();
            return;
        }
        if (!finishStartTag(false) && !m_lastWasStart)
            indent(m_names.size() - 1);
        m_lastWasStart = false;
        m_out->append("</");
        m_out->append(m_names.takeLast());
        m_out->append('>');
    }

    void endDocument()
    {
        while (!m_names.isEmpty())
            endElement();
        m_out->append('\n');
    }

private:
    bool finishStartTag(bool contents)
    {
        const bool hadSomethingWritten = m_wroteSomething;
        m_wroteSomething = contents;
        if (m_inStartTag) {
            m_out->append('>');
            m_inStartTag = false;
        }
        return hadSomethingWritten;
    }

    void indent(int level)
    {
        m_out->append('\n');
        m_out->append(QByteArray(2 * level, ' '));
    }

    static bool isPlain(const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x20 || c.unicode() >= 0xd800)
                return false;
        }
        return true;
    }

    void appendEscaped(const QString &text)
    {
        // A carriage return written as it is would come back as a line feed.
        const int cr = text.indexOf(QLatin1Char('\r'));
        if (cr >= 0) {
            appendEscaped(text.left(cr));
            m_out->append("&#13;");
            appendEscaped(text.mid(cr + 1));
            return;
        }
        if (!isPlain(text)) {
            appendThroughStreamWriter(text);
            return;
        }
        QString escaped;
        escaped.reserve(text.size());
        for (const QChar c : text) {
            switch (c.unicode()) {
            case '<':
                escaped += QLatin1String("&lt;");
                break;
            case '>':
                escaped += QLatin1String("&gt;");
                break;
            case '&':
                escaped += QLatin1String("&amp;");
                break;
            case '"':
                escaped += QLatin1String("&quot;");
                break;
            default:
                escaped += c;
            }
        }
        m_out->append(escaped.toUtf8());
    }

    void appendThroughStreamWriter(const QString &text)
    {
        QByteArray bytes;
        QXmlStreamWriter writer(&bytes);
        writer.writeCharacters(text);
        m_out->append(bytes);
    }

    QByteArray *m_out;
    QVector<QByteArray> m_names;
    bool m_inStartTag = false;
    bool m_lastWasStart = false;
    bool m_wroteSomething = false;
};

} // namespace

// Either the toolkit's stream writer (setWriter) or the direct formatter
// (setDocument) does the writing.
class XmlDataWriter::Private
{
public:
    void startElement(const QString &name)
    {
        if (formatted)
            formatted->startElement(name);
        else
            writer->writeStartElement(name);
    }

    void endElement()
    {
        if (formatted)
            formatted->endElement();
        else
            writer->writeEndElement();
    }

    void textElement(const QString &name, const QString &text)
    {
        const bool escaped = needsEscape(text);
        const QString content = escaped ? escapeValue(text) : text;
        if (formatted) {
            formatted->startElement(name);
            if (escaped)
                formatted->attribute(escapedAttribute, QStringLiteral("1"));
            formatted->characters(content);
            formatted->endElement();
            return;
        }
        writer->writeStartElement(name);
        if (escaped)
            writer->writeAttribute(escapedAttribute, QStringLiteral("1"));
        // A carriage return written as it is would come back as a line feed.
        const QStringList lines = content.split(QLatin1Char('\r'));
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                writer->writeEntityReference(QStringLiteral("#13"));
            if (!lines.at(i).isEmpty())
                writer->writeCharacters(lines.at(i));
        }
        writer->writeEndElement();
    }

    std::unique_ptr<QXmlStreamWriter> writer;
    std::unique_ptr<FormattedXml> formatted;
};

XmlDataWriter::XmlDataWriter(const DataFormat &format)
    : TextDataWriter(format)
    , d(new Private)
{
}

XmlDataWriter::~XmlDataWriter() = default;

void XmlDataWriter::setWriter(QXmlStreamWriter *writer)
{
    d->writer.reset(writer);
    writer->setAutoFormatting(true);
    writer->setAutoFormattingIndent(2);
    writer->writeStartDocument();
    writer->writeStartElement(format().name());
    writer->writeAttribute(QStringLiteral("version"), QString::number(format().version(), 10));
}

void XmlDataWriter::setDocument(QByteArray *document)
{
    d->formatted.reset(new FormattedXml(document));
    d->formatted->startDocument();
    d->formatted->startElement(format().name());
    d->formatted->attribute(QStringLiteral("version"), QString::number(format().version(), 10));
}

void XmlDataWriter::finish()
{
    if (d->formatted) {
        d->formatted->endDocument();
        return;
    }
    if (!d->writer)
        return;
    d->writer->writeEndElement();
    d->writer->writeEndDocument();
}

void XmlDataWriter::writeString(const QString &name, const QString &value)
{
    if (!value.isEmpty())
        d->textElement(name, value);
}

void XmlDataWriter::writeObject(const QString &name, const Storable &value)
{
    if (!name.isEmpty())
        d->startElement(name);
    saveObject(value);
    if (!name.isEmpty())
        d->endElement();
}

void XmlDataWriter::beginGroup(const QString &name)
{
    d->startElement(name);
}

void XmlDataWriter::endGroup()
{
    d->endElement();
}

void XmlDataWriter::writeRoot(const Storable &root)
{
    saveObject(root);
}

bool XmlDataWriter::hasError() const
{
    return d->writer && d->writer->hasError();
}

class XmlFileReader::Private
{
public:
    QFile file;
};

XmlFileReader::XmlFileReader(const QString &fileName, const DataFormat &format)
    : XmlDataReader(format)
    , d(new Private)
{
    d->file.setFileName(fileName);
    d->file.open(QIODevice::ReadOnly | QIODevice::Text);
    setReader(new QXmlStreamReader(&d->file));
}

XmlFileReader::~XmlFileReader()
{
    d->file.close();
}

// The document is built in memory and written with one call: the stream
// writer's many small writes are far cheaper into a byte array than through
// a file device.
class XmlFileWriter::Private
{
public:
    QString fileName;
    QByteArray document;
    bool committed = false;
    bool result = false;
    QString error;
};

XmlFileWriter::XmlFileWriter(const QString &fileName, const DataFormat &format)
    : XmlDataWriter(format)
    , d(new Private)
{
    d->fileName = fileName;
    // The new document is usually about as long as the old one: growing the
    // array step by step would copy it many times.
    d->document.reserve(int(qMin<qint64>(QFileInfo(fileName).size() + 4096, 1 << 30)));
    setDocument(&d->document);
}

XmlFileWriter::~XmlFileWriter()
{
    commit();
}

namespace {

// Writes all of data or says why not: a short write (a disk filling up) is
// retried, so the error of the write that failed is the one reported.
bool writeAll(QSaveFile &file, const QByteArray &data)
{
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 chunk = file.write(data.constData() + written, data.size() - written);
        if (chunk <= 0)
            return false;
        written += chunk;
    }
    // The toolkit's commit ignores a failing final flush, which would put a
    // short file in place of the old one.
    if (file.flush())
        return true;
    // A short write leaves the reason unsaid; writing the rest gives it.
    file.flush();
    return false;
}

} // namespace

bool XmlFileWriter::commit()
{
    if (d->committed)
        return d->result;
    d->committed = true;
    finish();
    QDir().mkpath(QFileInfo(d->fileName).absoluteDir().absolutePath());
    QSaveFile file(d->fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || !writeAll(file, d->document)) {
        // The unfinished file goes with the save file, the old one stays.
        d->error = file.errorString();
        return d->result = false;
    }
    d->result = file.commit();
    if (!d->result)
        d->error = file.errorString();
    return d->result;
}

QString XmlFileWriter::errorString() const
{
    return d->error;
}

} // namespace kit
