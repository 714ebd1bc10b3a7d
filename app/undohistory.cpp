#include "undohistory.h"

#include "scene.h"

#include <QUndoGroup>
#include <QUndoStack>

namespace vireo {

namespace {

bool sameState(const Geometry &a, const Geometry &b)
{
    return a.origin() == b.origin() && a.rulerEnd1() == b.rulerEnd1() && a.rulerEnd2() == b.rulerEnd2()
        && a.rulerLength() == b.rulerLength() && a.points() == b.points() && a.plane() == b.plane();
}

} // namespace

// The change is made before the step is pushed: the first redo has nothing to do.
class RecordStep : public QUndoCommand
{
public:
    RecordStep(UndoHistory *history, const QString &text, const Geometry &before, const Geometry &after, bool calibrating,
               int selectedBefore, int selectedAfter, int mergeKey)
        : QUndoCommand(text)
        , m_history(history)
        , m_before(before)
        , m_after(after)
        , m_calibrating(calibrating)
        , m_selectedBefore(selectedBefore)
        , m_selectedAfter(selectedAfter)
        , m_mergeKey(mergeKey)
    {
    }

    int id() const override { return m_mergeKey != 0 ? 1 : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto next = static_cast<const RecordStep *>(other);
        if (next->m_mergeKey != m_mergeKey)
            return false;
        m_after = next->m_after;
        m_selectedAfter = next->m_selectedAfter;
        return true;
    }

    void undo() override { m_history->restore(m_before, m_calibrating, m_selectedBefore); }

    void redo() override
    {
        if (m_done) {
            m_done = false;
            return;
        }
        m_history->restore(m_after, m_calibrating, m_selectedAfter);
    }

private:
    UndoHistory *m_history;
    Geometry m_before;
    Geometry m_after;
    bool m_calibrating;
    int m_selectedBefore;
    int m_selectedAfter;
    int m_mergeKey;
    bool m_done = true;
};

UndoHistory::UndoHistory(Scene *scene, QObject *parent)
    : QObject(parent)
    , m_scene(scene)
    , m_group(new QUndoGroup(this))
{
}

UndoHistory::~UndoHistory() = default;

QUndoGroup *UndoHistory::group() const
{
    return m_group;
}

QUndoStack *UndoHistory::stack(const QString &key) const
{
    const auto found = m_stacks.find(key);
    return found == m_stacks.end() ? nullptr : found->second;
}

void UndoHistory::setRecord(const QString &key)
{
    m_key = key;
    QUndoStack *&stack = m_stacks[key];
    if (!stack) {
        stack = new QUndoStack(m_group);
    }
    m_group->setActiveStack(stack);
    takeBaseline();
}

void UndoHistory::takeBaseline()
{
    m_baseline = m_scene->currentState();
    m_baselineSelection = m_scene->selectedPointId();
}

void UndoHistory::commit(const QString &text, bool calibrating, int mergeKey)
{
    QUndoStack *active = m_group->activeStack();
    const Geometry after = m_scene->currentState();
    if (!active || sameState(after, m_baseline))
        return;
    const int selected = m_scene->selectedPointId();
    active->push(new RecordStep(this, text, m_baseline, after, calibrating, m_baselineSelection, selected, mergeKey));
    m_baseline = after;
    m_baselineSelection = selected;
}

void UndoHistory::markSaved()
{
    if (QUndoStack *active = m_group->activeStack())
        active->setClean();
}

void UndoHistory::restore(const Geometry &state, bool calibrating, int selectedId)
{
    m_scene->restoreState(state);
    emit restored(calibrating);
    m_scene->selectPointById(selectedId);
    m_baseline = m_scene->currentState();
    m_baselineSelection = selectedId;
}

} // namespace vireo
