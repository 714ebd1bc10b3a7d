#ifndef KIT_TRANSLATIONS_H
#define KIT_TRANSLATIONS_H

#include <QLocale>

#include <memory>

namespace kit {

// Installs the toolkit's, the library's and the application's catalogues of
// one locale, replacing those of the previous one.
class Translations
{
public:
    Translations();
    virtual ~Translations();

    static Translations &instance();

    void setLocale(const QLocale &locale);
    // Number of catalogues currently installed.
    int installedCount() const;

private:
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
