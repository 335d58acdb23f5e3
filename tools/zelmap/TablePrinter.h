#ifndef ZELMAP_TABLEPRINTER_H
#define ZELMAP_TABLEPRINTER_H

#include <QList>
#include <QStringList>

// Lays rows out as columns aligned to their widest cell. Cells hold names and values from
// devices, so each is shown as TerminalText::escaped gives it.
class TablePrinter
{
public:
    explicit TablePrinter(const QStringList &header);

    void addRow(const QStringList &row);
    // The rows, a line each.
    QString text() const;

private:
    QList<QStringList> m_rows;
};

#endif // ZELMAP_TABLEPRINTER_H
