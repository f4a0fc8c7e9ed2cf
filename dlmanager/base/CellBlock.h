#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A block of cells as spreadsheets and text editors put it on the clipboard: one row a line,
// cells separated by tabs or, in text without a tab, by semicolons. A cell that starts with a
// double quote runs to its closing quote and may hold separators and line breaks ("" is a
// quote). Line ends may be \n, \r\n or \r; the line breaks at the very end are no rows.
using CellBlock = QList<QStringList>;

CellBlock parseCellBlock(const QString& text);

// Tab-separated, one row a line, each line ended; cells holding a tab, a line break or a
// leading quote are quoted so that parseCellBlock reads them back.
QString cellBlockText(const CellBlock& block);
