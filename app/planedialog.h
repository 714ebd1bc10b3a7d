#ifndef VIREO_PLANEDIALOG_H
#define VIREO_PLANEDIALOG_H

#include <QDialog>
#include <QPointF>
#include <QVector>

class QDoubleSpinBox;
class QLabel;

namespace vireo {

// Asks for the plane coordinates of the four references, with a shortcut
// for the corners of a rectangle, and tells how exact the result is.
class PlaneDialog : public QDialog
{
    Q_OBJECT

public:
    PlaneDialog(const QVector<QPointF> &image, const QVector<QPointF> &world, int decimalPlaces, QWidget *parent = nullptr);
    ~PlaneDialog() override;

    QVector<QPointF> world() const;
    QString accuracyText() const;

public slots:
    // (0, 0), (W, 0), (W, H), (0, H) for the references in order.
    void fillRectangle();

private:
    QDoubleSpinBox *numberBox(double value, int decimalPlaces);
    void updateAccuracy();

    QVector<QPointF> m_image;
    QList<QDoubleSpinBox *> m_x;
    QList<QDoubleSpinBox *> m_y;
    QDoubleSpinBox *m_width = nullptr;
    QDoubleSpinBox *m_height = nullptr;
    QLabel *m_accuracy = nullptr;
};

} // namespace vireo

#endif
