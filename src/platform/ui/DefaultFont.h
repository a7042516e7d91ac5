#pragma once

#include <QFont>

class QWidget;

enum class TFontKind { fkAuto, fkInterface, fkText };

// The font rule every window applies when it is created: the desktop's general font for the
// interface, its fixed font for text (memo and rich-text controls when no kind is given).
void SetDefaultFont(QWidget *control, TFontKind kind = TFontKind::fkAuto);

// The font the rule gives for a kind (fkAuto: the interface font), for components that keep
// a font of their own.
QFont defaultFont(TFontKind kind);
