#include "translations.h"

#include "qtcompat.h"
#include "testutils.h"

#include <QLibraryInfo>

using kit::Translations;

namespace {

QString translated(const char *context, const char *source)
{
    return QCoreApplication::translate(context, source);
}

bool hasToolkitCatalogue(const char *language)
{
    return QFile::exists(kit::toolkitTranslationsPath()
                         + QStringLiteral("/qt_%1.qm").arg(QLatin1String(language)));
}

const char *const boolMessage = "The value of %1 is not a valid bool.";
const char *const doubleMessage = "The value of %1 is not a valid double.";
const char *const xmlMessage = "XML parsing error at line %1, column %2: %3";

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SilentMessages silence;
        Translations::instance().setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void catalogueTexts_data();
    void catalogueTexts();
    void switchingKeepsOneCatalogueOfEachKind();
    void englishInstallsNothing();
    void logsInstalledAndMissingCatalogues();
};

void TranslationsTest::catalogueTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("text");

    const QLocale ch(QLocale::German, QLocale::Switzerland);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("ch bool") << ch << "kit::TextDataReader" << boolMessage << "%1 ist kein gültiger Wahrheitswert.";
    QTest::newRow("ch double") << ch << "kit::TextDataReader" << doubleMessage << "%1 ist keine gültige Fliesskommazahl.";
    QTest::newRow("de double") << de << "kit::TextDataReader" << doubleMessage << "%1 ist keine gültige Fließkommazahl.";
    QTest::newRow("ch unit") << ch << "kit::TextDataReader" << "The value of %1 is not a valid unit."
                             << "%1 ist keine gültige Einheit.";
    QTest::newRow("ch xml, no trailing blanks") << ch << "ns::XmlDataReader::Private" << xmlMessage
                                               << "XML-Lesefehler auf Zeile %1, Spalte %2: %3";
    QTest::newRow("de closing tag") << de << "ns::XmlDataReader::Private" << "Closing tag </%1> expected."
                                    << "Schließendes Tag </%1> erwartet.";
    QTest::newRow("ch closing tag instead") << ch << "ns::XmlDataReader::Private"
                                            << "Closing tag </%1> expected instead of <%2>."
                                            << "Schliessendes Tag </%1> anstelle von <%2> erwartet.";
    QTest::newRow("ch locale") << ch << "kit::LocaleModel" << "Locale" << "Gebietsschema";
    QTest::newRow("de column title") << de << "kit::TableViewColumnList" << "Title" << "Spalte";
    QTest::newRow("de unit model") << de << "kit::UnitModel" << "Unit" << "Einheit";
}

void TranslationsTest::catalogueTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, text);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(locale);
    QCOMPARE(translated(context.toLatin1(), source.toLatin1()), text);
}

void TranslationsTest::switchingKeepsOneCatalogueOfEachKind()
{
    const int toolkit = hasToolkitCatalogue("de") ? 1 : 0;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(QLocale(QLocale::German, QLocale::Switzerland));
    QCOMPARE(Translations::instance().installedCount(), 1 + toolkit);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Translations::instance().installedCount(), 1 + toolkit);
    QCOMPARE(translated("kit::TextDataReader", doubleMessage), QStringLiteral("%1 ist keine gültige Fließkommazahl."));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(QLocale(QLocale::German, QLocale::Switzerland));
    QCOMPARE(Translations::instance().installedCount(), 1 + toolkit);
    QCOMPARE(translated("kit::TextDataReader", doubleMessage), QStringLiteral("%1 ist keine gültige Fliesskommazahl."));
}

void TranslationsTest::englishInstallsNothing()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(QLocale(QLocale::German, QLocale::Switzerland));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Cannot load translation file")));
    Translations::instance().setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(Translations::instance().installedCount(), hasToolkitCatalogue("en") ? 1 : 0);
    QCOMPARE(translated("kit::TextDataReader", boolMessage), QLatin1String(boolMessage));
}

void TranslationsTest::logsInstalledAndMissingCatalogues()
{
    if (hasToolkitCatalogue("de"))
        QTest::ignoreMessage(QtDebugMsg, "Translator for file \"qt_de_CH\" installed.");
    QTest::ignoreMessage(QtDebugMsg, "Translator for file \"libvireo_de_CH\" installed.");
    QTest::ignoreMessage(QtWarningMsg, "Cannot load translation file \":/translations/\"/\"de_CH\"");
    Translations::instance().setLocale(QLocale(QLocale::German, QLocale::Switzerland));
}

MENSOR_GUITEST_MAIN(TranslationsTest)
#include "translationstest.moc"
