#include "TablePrinter.h"

#include <QVector>

TablePrinter::TablePrinter(const QStringList &header)
{
    m_rows.append(header);
}

void TablePrinter::addRow(const QStringList &row)
{
    m_rows.append(row);
}

void TablePrinter::print(QTextStream &out) const
{
    QVector<int> widths(m_rows.first().size(), 0);
    for (const QStringList &row : m_rows) {
        for (int column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = qMax(widths.at(column), row.at(column).size());
    }
    for (const QStringList &row : m_rows) {
        QString line;
        for (int column = 0; column < row.size() && column < widths.size(); ++column) {
            const bool last = column + 1 == widths.size();
            line += last ? row.at(column) : row.at(column).leftJustified(widths.at(column) + 2);
        }
        out << line << '\n';
    }
    out.flush();
}
