#pragma once
// Small builders for controls with their objectName, shared by the windows.
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace korvane {

// A push button with its objectName and an optional glyph from :/icons/.
QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                    const char* icon = nullptr);
// A 30 x 30 glyph button of a tool bar with its hint.
QPushButton* ToolButton(QWidget* parent, const char* name, const QString& hint, const char* icon);
QLineEdit* ReadOnlyField(QWidget* parent, const char* name, const QString& text);
QLabel* Label(QWidget* parent, const char* name, const QString& text);
QWidget* Panel(QWidget* parent, const char* name);

}  // namespace korvane
