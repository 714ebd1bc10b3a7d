#ifndef KIT_ICONS_H
#define KIT_ICONS_H

#include <QIcon>
#include <QString>

class QDialogButtonBox;

namespace kit {

// The icon at ":/icon/<name>.png"; a null icon when there is none.
QIcon loadIcon(const QString &name);
// The icon at ":/icon/<group>/<name>.png".
QIcon loadIcon(const QString &group, const QString &name);
// Gives OK, Cancel, Close and Restore Defaults their "dialog" icons.
void setStandardButtonIcons(QDialogButtonBox *box);
// The user's documents folder.
QString documentsPath();

} // namespace kit

#endif
