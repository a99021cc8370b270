#pragma once

#include <QWidget>

namespace latcap {

// Where the parts of the pile sketch lie, in the sketch's own pixels. The
// window places the sketch's captions (H, M, Zr, L, D, Z) from these.
namespace sketch {
    inline constexpr int kWidth = 170;
    inline constexpr int kHeight = 272;
    inline constexpr int kPileLeft = 90;
    inline constexpr int kPileRight = 120;
    inline constexpr int kPileAxis = (kPileLeft + kPileRight) / 2;
    inline constexpr int kGround = 62;
    inline constexpr int kToe = 232;
    inline constexpr int kRotation = 170; // level of the point of rotation
    inline constexpr int kLoadLevel = 52; // the lateral load's arrow
    inline constexpr int kArcTop = 15; // highest point of the moment arc
    inline constexpr int kDepthAxisX = 145; // the Z axis
    inline constexpr int kDepthAxisEnd = 150;
    inline constexpr int kLDimensionX = 40; // pile depth L
    inline constexpr int kZrDimensionX = 68; // depth of the point of rotation
    inline constexpr int kWidthLevel = 250; // pile width D under the toe
} // namespace sketch

// The schematic of the pile with its loads and dimensions. It never changes
// and lets every mouse event through to the window behind it.
class PileSketch final : public QWidget {
public:
    explicit PileSketch(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace latcap
