#include "icons.h"

#include <QDialogButtonBox>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>

namespace kit {

namespace {
QIcon iconFromResource(const QString &path)
{
    const QPixmap pixmap(path);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
} // namespace

QIcon loadIcon(const QString &name)
{
    return iconFromResource(QStringLiteral(":/icon/%1.png").arg(name));
}

QIcon loadIcon(const QString &group, const QString &name)
{
    return iconFromResource(QStringLiteral(":/icon/%1/%2.png").arg(group, name));
}

void setStandardButtonIcons(QDialogButtonBox *box)
{
    const struct
    {
        QDialogButtonBox::StandardButton button;
        const char *name;
    } icons[] = {
        {QDialogButtonBox::Ok, "ok"},
        {QDialogButtonBox::Cancel, "cancel"},
        {QDialogButtonBox::Close, "close"},
        {QDialogButtonBox::RestoreDefaults, "restore-defaults"},
    };
    for (const auto &icon : icons) {
        if (QPushButton *button = box->button(icon.button))
            button->setIcon(loadIcon(QStringLiteral("dialog"), QLatin1String(icon.name)));
    }
}

QString documentsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace kit
