#pragma once

#include <QString>

class QLabel;
class QVBoxLayout;
class QWidget;

// The frame the three sections share, so that their titles stay in place when switching.
namespace SectionLayout {

// The section's top-to-bottom layout, with the shared margins and spacing.
QVBoxLayout* columnOf(QWidget* section);
// The section's title, bold and larger than the program's font.
QLabel* title(const QString& text, QWidget* section);

}  // namespace SectionLayout
