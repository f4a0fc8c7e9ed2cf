#pragma once

#include <QFont>
#include <QString>

class QApplication;

// The look every window shares: the program's font and the widget set's style (coloured panels
// with borders, buttons that light up under the mouse, flat check boxes).
namespace WidgetStyle {

// Verdana 8 pt, or the installed face nearest to it.
QFont programFont();
QString styleSheet();
// Set before the first window is made, so that every layout measures with the program's font.
void apply(QApplication& application);

// Dynamic property of the panels drawn as a bordered, coloured area.
inline constexpr char PanelProperty[] = "panel";
// Dynamic property of the section buttons of the left column.
inline constexpr char SectionButtonProperty[] = "sectionButton";
// Dynamic property of the section button of the section shown.
inline constexpr char CurrentProperty[] = "current";

}  // namespace WidgetStyle
