#include "widgets/WidgetStyle.h"

#include <QApplication>
#include <QFontDatabase>

namespace WidgetStyle {

QFont programFont() {
    QFont font;
    // Where Verdana is missing, DejaVu Sans is its closest relative (same wide, open shapes).
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

QString styleSheet() {
    return QStringLiteral(
        "QMainWindow, QDialog { background: #F8F7ED; }"
        "QWidget { color: #333333; }"
        // The colour above would otherwise hide that a control is disabled.
        "QWidget:disabled { color: #A9A796; }"
        "QWidget#LeftColumn { background: #EEECD5; border-right: 1px solid #C8C4A0; }"
        "QScrollArea#LeftColumnArea { background: #EEECD5; }"
        "QStackedWidget#Content { background: #F8F7ED; }"
        "QWidget[panel=\"true\"] { background: #F8F7ED; border: 1px solid #D6D2B0; }"
        "QPushButton { background: #F4F2E2; border: 1px solid #B8B48A; border-radius: 3px;"
        " padding: 4px 12px; min-height: 16px; }"
        "QPushButton:hover { background: #FFF3A8; border-color: #8F8A55; }"
        "QPushButton:pressed { background: #EDE18A; }"
        "QPushButton:disabled { color: #A9A796; background: #F2F1E8; border-color: #D8D5C2; }"
        "QPushButton[sectionButton=\"true\"] { background: #FFFF9F; min-height: 22px; }"
        "QPushButton[sectionButton=\"true\"]:hover { background: #FFF36B; }"
        "QPushButton[sectionButton=\"true\"][current=\"true\"] { font-weight: bold;"
        " border: 2px solid #5C582F; padding: 3px 11px; }"
        "QCheckBox { spacing: 6px; }"
        "QCheckBox::indicator { width: 11px; height: 11px; border: 1px solid #8F8A55;"
        " background: #FFFFFF; }"
        "QCheckBox::indicator:hover { border-color: #5C582F; }"
        "QCheckBox::indicator:checked { background: #5C7A2A; border: 1px solid #5C582F; }"
        "QCheckBox::indicator:disabled { border-color: #CFCCB8; background: #F2F1E8; }"
        "QCheckBox::indicator:checked:disabled { background: #B9C3A4; }"
        "QLineEdit, QComboBox { background: #FFFFFF; border: 1px solid #B8B48A;"
        " padding: 2px 4px; }"
        "QLineEdit:read-only { background: #F2F1E8; }"
        "QLabel[boxed=\"true\"] { background: #F2F1E8; border: 1px solid #B8B48A;"
        " padding: 2px 4px; }"
        "QProgressBar { border: 1px solid #B8B48A; background: #FFFFFF; height: 14px; }"
        "QProgressBar::chunk { background: #8FAE4A; }"
        "QHeaderView::section { background: #EEECD5; border: none;"
        " border-right: 1px solid #D6D2B0; border-bottom: 1px solid #D6D2B0; padding: 3px; }"
        "QTableView { background: #FFFFFF; gridline-color: #E2DFC6;"
        " border: 1px solid #D6D2B0; }"
        "QToolTip { color: #333333; background: #FFFFE1; border: 1px solid #8F8A55; }");
}

void apply(QApplication& application) {
    QApplication::setFont(programFont());
    application.setStyleSheet(styleSheet());
}

}  // namespace WidgetStyle
