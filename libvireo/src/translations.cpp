#include "translations.h"

#include "qtcompat.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QList>
#include <QTranslator>

static void registerLibraryCatalogues()
{
      Q_INIT_RESOURCE(libvireo_translations);
}

namespace kit {

class Translations::Private
{
public:
    void addTranslator(const QString &fileName, const QString &folder);
    void removeAll();

    QList<QTranslator *> translators;
};

void Translations::Private::addTranslator(const QString &fileName, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(fileName, folder)) {
        qWarning().nospace() << "Cannot load translation file " << folder << "/" << fileName;
        return;
    }
    QCoreApplication::installTranslator(translator.get());
    translators.append(translator.release());
    qDebug().nospace() << "Translator for file " << fileName << " installed.";
}

void Translations::Private::removeAll()
{
    for (QTranslator *translator : qAsConst(translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    translators.clear();
}

Translations::Translations()
    : d(new Private)
{
    registerLibraryCatalogues();
}

// Catalogues stay installed until the process ends: the application object
// they are installed on is gone by the time this runs.
Translations::~Translations()
{
    qDeleteAll(d->translators);
}

Translations &Translations::instance()
{
    static Translations translations;
    return translations;
}

void Translations::setLocale(const QLocale &locale)
{
    d->removeAll();
    const QString name = locale.name();
    d->addTranslator(QStringLiteral("qt_") + name, toolkitTranslationsPath());
    d->addTranslator(QStringLiteral("libvireo_") + name, QStringLiteral(":/translations/"));
    d->addTranslator(name, QStringLiteral(":/translations/"));
}

int Translations::installedCount() const
{
    return d->translators.size();
}

namespace {
// Creates the instance before main, as the catalogues must be registered by then.
const Translations &staticInstance = Translations::instance();
} // namespace

} // namespace kit
