#pragma once
// Two pages that are only their tables: the dust tester (TSP, PM2.5, PM10 and their
// correction coefficients A and B) and the current collector (fan and purifier),
// in page_tables.h.
#include "device_page.h"
#include "page_tables.h"
