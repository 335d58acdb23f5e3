#ifndef ZELDB_ZELDB_H
#define ZELDB_ZELDB_H

/// @file
/// The whole record store: the database, its tables, records and selection criteria.

#include <zeldb/ZelDbDatabase.h>

#endif // ZELDB_ZELDB_H
