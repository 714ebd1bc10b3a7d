#ifndef VIREO_UNDOHISTORY_H
#define VIREO_UNDOHISTORY_H

#include "geometry.h"

#include <QObject>

#include <map>

class QUndoGroup;
class QUndoStack;

namespace vireo {

class Scene;

// One undo history per record (image or folder), kept while the program
// runs. A step holds the record as it was before and after a change, never
// items or rows; undo and redo bring back the points, the calibration, the
// selected point and the mode of the step. Numbers are never given back.
class UndoHistory : public QObject
{
    Q_OBJECT

public:
    explicit UndoHistory(Scene *scene, QObject *parent = nullptr);
    ~UndoHistory() override;

    QUndoGroup *group() const;
    QUndoStack *stack(const QString &key) const;

    // Shows the history of the record under key; the scene shows that record.
    void setRecord(const QString &key);
    // The scene's state now is where the next step starts (an image loaded,
    // a new record initialised for it).
    void takeBaseline();
    // Makes the change since the last step one step, named text (kept
    // untranslated, marked with QT_TRANSLATE_NOOP("vireo::UndoHistory", ...),
    // translated when shown); steps with the same non-zero merge key in a
    // row become one.
    void commit(const QString &text, bool calibrating, int mergeKey = 0);
    // Steps are not merged across a save.
    void markSaved();

signals:
    // A step was undone or redone: the mode it was made in.
    void restored(bool calibrating);

private:
    friend class RecordStep;
    void restore(const Geometry &state, bool calibrating, int selectedId);

    Scene *m_scene;
    QUndoGroup *m_group;
    std::map<QString, QUndoStack *> m_stacks;
    QString m_key;
    Geometry m_baseline;
    int m_baselineSelection = -1;
};

} // namespace vireo

#endif
