#pragma once

// Readable failure output for Qt texts and the program's records in GoogleTest assertions.

#include "projects/Comandi.h"

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i ? ", " : "") << '"' << texts[i].toStdString() << '"';
    }
    *out << '}';
}

inline void PrintTo(const Comandi& c, std::ostream* out) {
    *out << '(' << c.DataAddress << ", " << int(c.PointCount) << ", " << int(c.Decimals) << ", \""
         << c.Unit.toStdString() << "\", \"" << c.Description.toStdString() << "\", "
         << int(c.Visible) << ')';
}
