#include "TablePrinter.h"
#include "TerminalText.h"

#include <QVector>

TablePrinter::TablePrinter(const QStringList &header)
{
    addRow(header);
}

void TablePrinter::addRow(const QStringList &row)
{
    QStringList shown;
    for (const QString &cell : row)
        shown.append(TerminalText::escaped(cell));
    m_rows.append(shown);
}

QString TablePrinter::text() const
{
    QVector<int> widths(m_rows.first().size(), 0);
    for (const QStringList &row : m_rows) {
        for (int column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = qMax(widths.at(column), row.at(column).size());
    }
    QString text;
    for (const QStringList &row : m_rows) {
        for (int column = 0; column < row.size() && column < widths.size(); ++column) {
            const bool last = column + 1 == widths.size();
            text += last ? row.at(column) : row.at(column).leftJustified(widths.at(column) + 2);
        }
        text += QLatin1Char('\n');
    }
    return text;
}
