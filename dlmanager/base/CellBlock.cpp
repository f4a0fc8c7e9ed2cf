#include "base/CellBlock.h"

namespace {

QChar separatorOf(const QString& text) {
    if (text.contains(u'\t')) {
        return u'\t';
    }
    return text.contains(u';') ? QChar(u';') : QChar();
}

bool endsCell(const QString& text, qsizetype at, QChar separator) {
    return at >= text.size() || text[at] == u'\n' || (!separator.isNull() && text[at] == separator);
}

// The quoted cell starting at `at`, when its closing quote ends the cell; `at` then stands
// after it.
bool readQuoted(const QString& text, qsizetype& at, QChar separator, QString& cell) {
    QString inside;
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        if (text[i] != u'"') {
            inside += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'"') {
            inside += u'"';
            ++i;
        } else if (endsCell(text, i + 1, separator)) {
            cell = inside;
            at = i + 1;
            return true;
        } else {
            return false;
        }
    }
    return false;
}

}  // namespace

CellBlock parseCellBlock(const QString& clipboard) {
    QString text = clipboard;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    while (text.endsWith(u'\n')) {
        text.chop(1);
    }
    CellBlock block;
    if (text.isEmpty()) {
        return block;
    }
    const QChar separator = separatorOf(text);
    QStringList row;
    qsizetype at = 0;
    for (;;) {
        QString cell;
        if (at >= text.size() || text[at] != u'"' || !readQuoted(text, at, separator, cell)) {
            const qsizetype start = at;
            while (!endsCell(text, at, separator)) {
                ++at;
            }
            cell = text.mid(start, at - start);
        }
        row << cell;
        if (at >= text.size()) {
            break;
        }
        if (text[at] == u'\n') {
            block << row;
            row.clear();
        }
        ++at;
    }
    block << row;
    return block;
}

QString cellBlockText(const CellBlock& block) {
    QString text;
    for (const QStringList& row : block) {
        QStringList cells;
        for (const QString& cell : row) {
            const bool quoted = cell.startsWith(u'"') || cell.contains(u'\t') ||
                                cell.contains(u'\n') || cell.contains(u'\r');
            cells << (quoted ? u'"' +
                                   QString(cell).replace(QStringLiteral("\""),
                                                         QStringLiteral("\"\"")) +
                                   u'"'
                             : cell);
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}
