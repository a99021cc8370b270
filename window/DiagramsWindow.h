#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QPainter;
class QRectF;

namespace latcap {

// Draws a calculation's diagrams into a rectangle of a painter.
using DiagramDrawing = std::function<void(QPainter&, const QRectF&)>;

// A resizable window beside the main one with the diagrams of the last
// calculation; empty while the inputs have changed since.
class DiagramsWindow final : public QWidget {
    Q_OBJECT

public:
    explicit DiagramsWindow(QWidget* owner);

    // Shows the drawing, or an empty window when there is none.
    void setDrawing(DiagramDrawing drawing);
    bool isEmpty() const { return !drawing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kMargin = 12;
    DiagramDrawing drawing_;
};

} // namespace latcap
