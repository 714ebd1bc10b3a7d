// Feeds arbitrary bytes through the XML reader into a settings-like tree.
#include "xmldatastore.h"

#include "storetree.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

namespace {

class BufferReader final : public kit::XmlDataReader
{
public:
    explicit BufferReader(const QByteArray &xml)
        : XmlDataReader(kit::DataFormat(QStringLiteral("mensor"), 1))
    {
        setReader(new QXmlStreamReader(xml));
    }
};

void silence(QtMsgType, const QMessageLogContext &, const QString &)
{
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = (qInstallMessageHandler(silence), true);
    Q_UNUSED(quiet);

    Root root;
    BufferReader reader(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    reader.readRoot(root);
    // Reading on after an error must stay harmless.
    if (reader.hasError()) {
        QString text;
        reader.readString(QStringLiteral("text"), text);
        reader.endGroup();
    }
    return 0;
}
