#ifndef ZELSCAN_ZELSCAN_H
#define ZELSCAN_ZELSCAN_H

/// @file
/// Every exported class of the scanner library.

#include <zelscan/Scanner.h>
#include <zelscan/upnp/UpnpScanner.h>

#endif // ZELSCAN_ZELSCAN_H
