#include "localemodel.h"

#include "icons.h"

#include <QMap>

namespace kit {

class LocaleModel::Private
{
public:
    QList<QLocale> locales;
    QMap<QString, QString> names;
};

LocaleModel::LocaleModel(QObject *parent)
    : QAbstractListModel(parent)
    , d(new Private)
{
    d->names.insert(QStringLiteral("de_CH"), QStringLiteral("Deutsch (Schweiz)"));
    d->names.insert(QStringLiteral("de_DE"), QStringLiteral("Deutsch (Deutschland)"));
    d->names.insert(QStringLiteral("en_US"), QStringLiteral("English (USA)"));
}

LocaleModel::~LocaleModel() = default;

void LocaleModel::addLocale(const QLocale &locale)
{
    d->locales.append(locale);
}

int LocaleModel::rowCount(const QModelIndex &) const
{
    return d->locales.size();
}

Qt::ItemFlags LocaleModel::flags(const QModelIndex &) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QVariant LocaleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return tr("Locale");
    return QVariant();
}

QVariant LocaleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= d->locales.size())
        return QVariant();
    const QLocale &locale = d->locales.at(index.row());
    const QString name = locale.name();
    switch (role) {
    case Qt::DisplayRole:
        return d->names.value(name);
    case Qt::DecorationRole:
        return loadIcon(QStringLiteral("locale"), name);
    case Qt::UserRole:
        return locale;
    default:
        return QVariant();
    }
}

} // namespace kit
