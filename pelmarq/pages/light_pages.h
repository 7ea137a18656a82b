#pragma once
// The light category: illuminance transmitters of the 0-65535 Lux and 0-200000 Lux ranges,
// each with or without temperature and humidity. Read-only pages, each only its table
// (page_tables.h).
#include "device_page.h"
#include "page_tables.h"
