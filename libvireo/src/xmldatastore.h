#ifndef KIT_XMLDATASTORE_H
#define KIT_XMLDATASTORE_H

#include "textdatastore.h"

#include <memory>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace kit {

// Reads values from an XML stream strictly in document order: a value that is
// not the current element reads as absent; objects and groups are mandatory.
class XmlDataReader : public TextDataReader
{
public:
    explicit XmlDataReader(const DataFormat &format);
    ~XmlDataReader() override;

    bool hasNextItem() override;
    bool readString(const QString &name, QString &value) override;
    bool readObject(const QString &name, Storable &value) override;
    void beginGroup(const QString &name) override;
    void endGroup() override;
    int formatVersion() override;
    void setError(const QString &message) override;

    bool hasError() const;
    QString errorString() const;
    // The error with the line and column where reading stopped.
    QString errorDescription() const;
    // The first value that did not convert, with its line and column. Such
    // a value keeps its default and reading goes on.
    QString valueErrorDescription() const;

    // Reads the whole root object; the convenience entry point for owners.
    void readRoot(Storable &root);

protected:
    void setValueError(const QString &message) override;
    // Takes ownership; moves into the root element and reads its version.
    void setReader(QXmlStreamReader *reader);

private:
    class Private;
    std::unique_ptr<Private> d;
};

// Writes values as XML elements, one per line, indented by two spaces.
class XmlDataWriter : public TextDataWriter
{
public:
    explicit XmlDataWriter(const DataFormat &format);
    ~XmlDataWriter() override;

    void writeString(const QString &name, const QString &value) override;
    void writeObject(const QString &name, const Storable &value) override;
    void beginGroup(const QString &name) override;
    void endGroup() override;

    // Writes the values of the root object.
    void writeRoot(const Storable &root);
    bool hasError() const;

protected:
    // Takes ownership; writes the document start and opens the root element.
    void setWriter(QXmlStreamWriter *writer);
    // The same bytes as setWriter's stream writer would give, written
    // directly into document.
    void setDocument(QByteArray *document);
    // Closes the root element and ends the document.
    void finish();

private:
    class Private;
    std::unique_ptr<Private> d;
};

class XmlFileReader : public XmlDataReader
{
public:
    XmlFileReader(const QString &fileName, const DataFormat &format);
    ~XmlFileReader() override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

// Writes through a temporary file that replaces the old one only when the
// whole document was written, so a failed save never destroys the old file.
class XmlFileWriter : public XmlDataWriter
{
public:
    XmlFileWriter(const QString &fileName, const DataFormat &format);
    ~XmlFileWriter() override;

    // Ends the document and replaces the file; false when anything failed.
    // Called by the destructor unless called before.
    bool commit();
    QString errorString() const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
