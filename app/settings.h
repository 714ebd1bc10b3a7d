#ifndef VIREO_SETTINGS_H
#define VIREO_SETTINGS_H

#include "geometry.h"

// Both the library and the application have a settings header.
#include "../libvireo/src/settings.h"

#include <map>

namespace vireo {

// The application's settings: the current folder, the decimal places and
// one record per image file or folder ever opened.
class Settings : public kit::Settings
{
    Q_OBJECT

public:
    static const char *const currentDirKey;
    static const char *const decimalPlacesKey;
    static const char *const geometriesKey;
    static const char *const geometryKey;

    explicit Settings(QObject *parent = nullptr);
    ~Settings() override;

    using kit::Settings::load;
    using kit::Settings::save;

    QString currentDir() const;
    int decimalPlaces() const;
    int geometryCount() const;
    // The record of a path, created on first use. The reference stays valid
    // while further records are added; only loading the file replaces them.
    Geometry &geometryFor(const QString &path);

public slots:
    void setCurrentDir(const QString &currentDir);
    void setDecimalPlaces(int decimalPlaces);

signals:
    void currentDirChanged(const QString &currentDir);
    void decimalPlacesChanged(int decimalPlaces);

protected:
    void afterLoad() override;
    void load(kit::DataReader &reader) override;
    void save(kit::DataWriter &writer) const override;
    ValuesWriter valuesWriter() const override;

private:
    static void writeValues(kit::DataWriter &writer, const QString &currentDir, int decimalPlaces,
                            const std::map<QString, Geometry> &geometries);

    QString m_currentDir;
    int m_decimalPlaces = 3;
    // Node-based and never implicitly shared, so references into it last.
    std::map<QString, Geometry> m_geometries;
};

} // namespace vireo

#endif
