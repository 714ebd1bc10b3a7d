#ifndef KIT_LOCALEMODEL_H
#define KIT_LOCALEMODEL_H

#include <QAbstractListModel>
#include <QLocale>

#include <memory>

namespace kit {

// Locales named in their own language, with flags, carrying the QLocale as
// the user role.
class LocaleModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit LocaleModel(QObject *parent = nullptr);
    ~LocaleModel() override;

    // Add every locale before the model is shown: no notification is sent.
    void addLocale(const QLocale &locale);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace kit

#endif
