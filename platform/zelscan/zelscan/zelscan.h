#ifndef ZELSCAN_ZELSCAN_H
#define ZELSCAN_ZELSCAN_H

/// @file
/// Every exported class of the scanner library.

#include <zelscan/Scanner.h>
#include <zelscan/names/NameScanner.h>

#endif // ZELSCAN_ZELSCAN_H
