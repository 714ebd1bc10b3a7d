#include "resources.h"

#include <translations.h>

#include <QtGlobal>

static bool registerBundles()
{
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(translations);
    // The library's catalogues come with its translations instance.
    kit::Translations::instance();
    return true;
}

namespace {
const bool registered = registerBundles();
} // namespace

bool vireo::resourcesRegistered()
{
    return registered;
}
