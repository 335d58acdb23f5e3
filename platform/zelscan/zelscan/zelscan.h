#ifndef ZELSCAN_ZELSCAN_H
#define ZELSCAN_ZELSCAN_H

/// @file
/// Every exported class of the scanner library.

#include <zelscan/HomeScanner.h>
#include <zelscan/Scanner.h>
#include <zelscan/host/HostTables.h>
#include <zelscan/host/LocalPcRecord.h>
#include <zelscan/names/NameScanner.h>
#include <zelscan/probe/ConnectionProbe.h>
#include <zelscan/upnp/UpnpScanner.h>

#endif // ZELSCAN_ZELSCAN_H
