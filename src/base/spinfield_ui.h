#pragma once
// Small pieces the output-parameter dialogs share: the numeric spin field with
// one decimal and the placement of a dialog beside the button that opened it.
#include <QDoubleSpinBox>

class QWidget;

namespace korvane {

// A spin field with one decimal, step 0.1 (page step 1) and "." as decimal
// separator whatever the locale.
QDoubleSpinBox* MakeSpinField(QWidget* parent, const char* objectName, double min, double max);

// Set a spin field's value without announcing it as a user edit.
void SetSpinQuietly(QDoubleSpinBox* spin, double value);

// Left edge 15 pixels right of the button's right edge, top at the button's
// top, in screen coordinates.
void PlaceBeside(QWidget* dialog, const QWidget* button);

}  // namespace korvane
