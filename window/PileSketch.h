#pragma once

#include <QWidget>

namespace latcap {

// The schematic of the pile with its loads and dimensions; the form puts the
// captions (H, M, Zr, L, D, Z) beside its strokes. It never changes and lets
// every mouse event through to the window behind it.
class PileSketch final : public QWidget {
public:
    explicit PileSketch(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace latcap
