#ifndef ZELDB_WARRANTYREGISTRATIONSTABLE_H
#define ZELDB_WARRANTYREGISTRATIONSTABLE_H

#include <zeldb/TableBase.h>
#include <zeldb/WarrantyRegistrationsRecord.h>
#include <zeldb/WarrantyRegistrationsSelectionCriteria.h>

namespace zeldb {

using WarrantyRegistrationsTable
    = AddOrUpdateTable<WarrantyRegistrationsRecord, WarrantyRegistrationsSelectionCriteria>;

} // namespace zeldb

#endif // ZELDB_WARRANTYREGISTRATIONSTABLE_H
