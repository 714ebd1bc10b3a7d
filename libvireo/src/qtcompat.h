#ifndef KIT_QTCOMPAT_H
#define KIT_QTCOMPAT_H

// The few places where Qt 5.15 and Qt 6 need different calls.

#include <QImageReader>
#include <QLibraryInfo>
#include <QMouseEvent>

// QComboBox::setModel became virtual in Qt 6.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#define KIT_OVERRIDE_SINCE_QT6 override
#else
#define KIT_OVERRIDE_SINCE_QT6
#endif

namespace kit {

// Where the toolkit keeps its own translation catalogues.
inline QString toolkitTranslationsPath()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

// The event a graphics view sends its scene when the mouse leaves the view.
inline bool isSceneLeaveEvent(const QEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->type() == QEvent::GraphicsSceneLeave;
#else
    return event->type() == QEvent::Leave;
#endif
}

// A mouse event's position in the receiving widget.
inline QPointF eventPosition(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position();
#else
    return event->localPos();
#endif
}

// Qt 6 refuses to decode images over 256 MB; Qt 5 has no such limit. Both
// get the same one, in megabytes, so a photo that opens in one opens in the
// other.
inline void setImageAllocationLimit(int megabytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QImageReader::setAllocationLimit(megabytes);
#else
    Q_UNUSED(megabytes);
#endif
}

} // namespace kit

#endif
