// One bar row: a label, a track with a centre mark, a signed fill and optionally the value as a
// percentage. A DrawBar belongs to one panel call and sees that call's metrics by reference.
#pragma once

#include "host/canvas_wrapper.h"
#include "host/value_types.h"
#include "plugin/overlay_settings.h"

class DrawBar {
 public:
  DrawBar(CanvasWrapper& canvas, const int& left, const int& margin, int& rowTop,
          const OverlaySettings& settings, const int& labelWidth, const int& barWidth,
          const int& barHeight, const int& rowGap)
      : canvas_(canvas),
        left_(left),
        margin_(margin),
        rowTop_(rowTop),
        settings_(settings),
        labelWidth_(labelWidth),
        barWidth_(barWidth),
        barHeight_(barHeight),
        rowGap_(rowGap) {}

  // Draws the row at the current row top, then moves the row top down by bar height + row gap.
  void operator()(const char* label, float value, LinearColor positiveColour,
                  LinearColor negativeColour);

 private:
  CanvasWrapper& canvas_;
  const int& left_;
  const int& margin_;
  int& rowTop_;
  const OverlaySettings& settings_;
  const int& labelWidth_;
  const int& barWidth_;
  const int& barHeight_;
  const int& rowGap_;
};
