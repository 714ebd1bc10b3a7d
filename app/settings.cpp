#include "settings.h"

#include <icons.h>

#include <memory>

namespace vireo {

const char *const Settings::currentDirKey = "currentdir";
const char *const Settings::decimalPlacesKey = "decimalplaces";
const char *const Settings::geometriesKey = "geometries";
const char *const Settings::geometryKey = "geometry";

Settings::Settings(QObject *parent)
    : kit::Settings(1, parent)
    , m_currentDir(kit::documentsPath())
{
}

Settings::~Settings()
{
    if (!isReadOnly())
        save();
}

QString Settings::currentDir() const
{
    return m_currentDir;
}

int Settings::decimalPlaces() const
{
    return m_decimalPlaces;
}

int Settings::geometryCount() const
{
    return int(m_geometries.size());
}

Geometry &Settings::geometryFor(const QString &path)
{
    if (path.isEmpty())
        qFatal("Geometry for emppy path requested.");
    return m_geometries[path];
}

void Settings::setCurrentDir(const QString &currentDir)
{
    if (currentDir == m_currentDir)
        return;
    m_currentDir = currentDir;
    emit currentDirChanged(m_currentDir);
}

void Settings::setDecimalPlaces(int decimalPlaces)
{
    if (decimalPlaces == m_decimalPlaces)
        return;
    m_decimalPlaces = decimalPlaces;
    emit decimalPlacesChanged(m_decimalPlaces);
}

void Settings::afterLoad()
{
    emit currentDirChanged(m_currentDir);
    emit decimalPlacesChanged(m_decimalPlaces);
}

void Settings::load(kit::DataReader &reader)
{
    kit::Settings::load(reader);
    // An empty folder is never written, so it must not be read either: it keeps the default.
    QString currentDir;
    if (reader.readString(QLatin1String(currentDirKey), currentDir) && !currentDir.isEmpty())
        m_currentDir = currentDir;
    reader.readInt(QLatin1String(decimalPlacesKey), m_decimalPlaces);
    reader.readMap(QLatin1String(geometriesKey), QLatin1String(geometryKey), m_geometries);
}

void Settings::save(kit::DataWriter &writer) const
{
    kit::Settings::save(writer);
    writeValues(writer, m_currentDir, m_decimalPlaces, m_geometries);
}

// The records are copied once here; a copy shares the points' lists.
Settings::ValuesWriter Settings::valuesWriter() const
{
    auto geometries = std::make_shared<const std::map<QString, Geometry>>(m_geometries);
    return [base = baseValuesWriter(), currentDir = m_currentDir, decimalPlaces = m_decimalPlaces,
            geometries](kit::DataWriter &writer) {
        base(writer);
        writeValues(writer, currentDir, decimalPlaces, *geometries);
    };
}

void Settings::writeValues(kit::DataWriter &writer, const QString &currentDir, int decimalPlaces,
                           const std::map<QString, Geometry> &geometries)
{
    writer.writeString(QLatin1String(currentDirKey), currentDir);
    writer.writeInt(QLatin1String(decimalPlacesKey), decimalPlaces);
    writer.writeMap(QLatin1String(geometriesKey), QLatin1String(geometryKey), geometries);
}

} // namespace vireo
