#pragma once

#include "managerdata_export.h"

#include <QtGlobal>

// Page arithmetic of the control panel's lists. Pages are numbered from 1.

// Pages needed for that many rows: whole pages plus one for a remainder; 0 rows make
// 0 pages.
MANAGERDATA_EXPORT int PageCountFor(qint64 rows, int pageSize);
// Rows to skip before the page; a page number below 1 reads as page 1.
MANAGERDATA_EXPORT qint64 PageOffset(int page, int pageSize);
