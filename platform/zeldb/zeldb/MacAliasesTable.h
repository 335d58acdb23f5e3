#ifndef ZELDB_MACALIASESTABLE_H
#define ZELDB_MACALIASESTABLE_H

#include <zeldb/MacAliasesRecord.h>
#include <zeldb/MacAliasesSelectionCriteria.h>
#include <zeldb/TableBase.h>
#include <zeldb/zeldb_export.h>

namespace zeldb {

/// The table of MacAliasesRecord. Threads, failures and copies as for TableBase.
class ZELDB_EXPORT MacAliasesTable : public Table<MacAliasesRecord, MacAliasesSelectionCriteria>
{
public:
    /// The table of DATABASE, which must outlive it.
    using Table::Table;
};

} // namespace zeldb

#endif // ZELDB_MACALIASESTABLE_H
